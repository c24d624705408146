# The post detail window: GUI-free texts and media lines, and the dialog.
quillery_library(quillery_posts_model
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_detail_model.cpp
  LINK wx::base)
quillery_library(quillery_post_detail
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_detail_dialog.cpp
          ${CMAKE_CURRENT_LIST_DIR}/post_detail_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/post_detail_reply.cpp
          ${CMAKE_CURRENT_LIST_DIR}/post_commands_dialog.cpp
  LINK quillery_posts_model quillery_post_drafts quillery_call_guard quillery_post_commands quillery_request_forms quillery_audio_player quillery_api quillery_look quillery_a11y
       quillery_window_focus quillery_ui_messages quillery_cue wx::core)

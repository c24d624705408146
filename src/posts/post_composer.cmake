# The post composer: its GUI-free rules, and the dialog.
quillery_library(quillery_post_composer_model
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_composer_model.cpp
          ${CMAKE_CURRENT_LIST_DIR}/composer_inserts.cpp
  LINK wx::base)
quillery_library(quillery_post_composer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_composer_dialog.cpp
          ${CMAKE_CURRENT_LIST_DIR}/post_composer_keys.cpp
          ${CMAKE_CURRENT_LIST_DIR}/post_composer_inserts.cpp
          ${CMAKE_CURRENT_LIST_DIR}/post_composer_upload.cpp
          ${CMAKE_CURRENT_LIST_DIR}/upload_status_line.cpp
  LINK quillery_post_composer_model quillery_post_drafts quillery_call_guard quillery_file_wildcard quillery_posts_model quillery_api quillery_request_forms quillery_look quillery_a11y quillery_window_focus
       quillery_ui_messages quillery_cue wx::core)
# Drafts of the composer and the reply box: the files (GUI-free) and the
# windows' side of them.
quillery_library(quillery_post_drafts_store
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_drafts.cpp
  LINK quillery_settings wx::base)
quillery_library(quillery_post_drafts
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/draft_keeper.cpp
  LINK quillery_post_drafts_store quillery_settings quillery_ui_messages quillery_window_closer quillery_focus_return quillery_a11y wx::core)

# The personal centre: its pages and state without a window, then the dialog.
quillery_library(quillery_personal_center_model
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/personal_center_pages.cpp
          ${CMAKE_CURRENT_LIST_DIR}/personal_center_state.cpp
  LINK quillery_api wx::base)
quillery_library(quillery_personal_center
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/personal_center_dialog.cpp
          ${CMAKE_CURRENT_LIST_DIR}/personal_center_keys.cpp
  LINK quillery_personal_center_model quillery_post_detail quillery_request_forms quillery_look quillery_a11y quillery_window_focus quillery_ui_messages quillery_cue wx::core)

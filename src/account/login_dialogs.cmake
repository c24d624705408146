# The login and credential windows: what they decide (GUI-free, tested
# directly) and the two dialogs with their check-box accessibility.
quillery_library(quillery_login_model
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/login_form.cpp
  LINK quillery_settings wx::base)
quillery_library(quillery_login_dialogs
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/check_box_accessible.cpp
          ${CMAKE_CURRENT_LIST_DIR}/credential_flow_dialog.cpp
          ${CMAKE_CURRENT_LIST_DIR}/dialog_parts.cpp
          ${CMAKE_CURRENT_LIST_DIR}/login_dialog.cpp
  LINK quillery_login_model quillery_login_credentials quillery_call_guard quillery_api quillery_request_forms quillery_look quillery_a11y quillery_ui_messages wx::core)

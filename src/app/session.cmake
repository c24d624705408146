# The main window's session without the window: automatic login, the login
# check with expiry, logout and the saved login settings they touch.
quillery_library(quillery_session
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/session_controller.cpp
  LINK quillery_api quillery_settings quillery_login_credentials wx::base)

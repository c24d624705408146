# How windows call the server: the responsive wait (busy cursor, Esc to
# cancel) and the request forms built on it.
quillery_library(quillery_request_forms
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/request_wait.cpp
  LINK quillery_ui_messages quillery_window_closer quillery_escape_key_watch quillery_a11y quillery_http wx::core)

# How windows call the server: busy-cursor requests, overlapping pairs, the
# search worker and its keyword dialog.
quillery_library(quillery_request_forms
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/search_worker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/request_wait.cpp
  LINK quillery_forum_views quillery_ui_messages quillery_a11y quillery_http wx::core)

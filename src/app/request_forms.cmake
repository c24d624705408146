# How windows call the server: busy-cursor requests, overlapping pairs, the
# search worker and its keyword dialog.
quillery_library(qrequest_forms
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/search_worker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/request_wait.cpp
  LINK qforum_views qui_messages qa11y quillery_http wx::core)

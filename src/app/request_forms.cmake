# How windows call the server: busy-cursor requests, overlapping pairs, the
# search worker and its keyword dialog.
quillery_library(qrequest_forms
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/search_worker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search_dialog.cpp
  LINK qforum_views qui_messages qa11y wx::core)

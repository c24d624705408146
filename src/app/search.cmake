# The search worker and its keyword dialog.
quillery_library(quillery_search
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/search_worker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search_dialog.cpp
  LINK quillery_request_forms quillery_forum_views quillery_ui_messages quillery_a11y wx::core)

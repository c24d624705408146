# The forum view model: back stack, rows and their texts, what keys mean.
# GUI-free so its tests drive it directly.
quillery_library(qforum_views
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/forum_lines.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_views.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_browser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_browser_search.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search_keyword.cpp
  LINK wx::base)

# The forum view model: back stack, rows and their texts, what keys mean.
# GUI-free so its tests drive it directly. wx::base stays private: its
# wxUSE_GUI=0 must not reach the windows that use this library (they bring
# wx::core; GUI-free users link wx::base themselves).
quillery_library(quillery_forum_views
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/forum_lines.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_views.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_browser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forum_browser_search.cpp
    ${CMAKE_CURRENT_LIST_DIR}/search_keyword.cpp
    ${CMAKE_CURRENT_LIST_DIR}/post_list_menu.cpp)
target_link_libraries(quillery_forum_views PRIVATE wx::base)

quillery_test(forum_views_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/forum_views/forum_lines_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/forum_views/forum_browser_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/forum_views/forum_paging_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/forum_views/search_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/forum_views/post_list_menu_test.cpp
  LINK quillery_forum_views)

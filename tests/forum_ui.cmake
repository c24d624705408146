# The main window's forum side built for real under Xvfb against the local
# forum server: home view, lists, paging, floors, search and failures.
quillery_test(forum_ui_window_test GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/forum_ui/main_frame_forum_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
  LINK qapp PkgConfig::GTK3)

# Request forms, message boxes and the search worker with real windows.
quillery_test(request_forms_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/message_box_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/search_dialog_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/blocking_request_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/search_worker_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/request_wait_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
  LINK quillery_search quillery_request_forms quillery_forum_views quillery_ui_messages quillery_api quillery_window_focus PkgConfig::GTK3)
# quillery_test_support brings wx::base, whose wxUSE_GUI=0 would hide every window
# class; options come after definitions on the command line, so this wins.
target_compile_options(request_forms_tests PRIVATE -UwxUSE_GUI)

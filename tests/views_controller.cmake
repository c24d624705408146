# The forum controller: real client, loopback server, real boxes and window.
quillery_test(forum_controller_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp
          ${CMAKE_CURRENT_LIST_DIR}/request_forms/forum_controller_test.cpp
  LINK quillery_forum_controller quillery_api PkgConfig::GTK3)
# quillery_test_support and quillery_api bring wx::base with wxUSE_GUI=0, which would
# hide every window class; options follow definitions, so this wins.
target_compile_options(forum_controller_tests PRIVATE -UwxUSE_GUI)

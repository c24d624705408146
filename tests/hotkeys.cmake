# Real key grabs: presses come from xdotool (XTEST), a rival holder is a
# second X connection made by the test. The binary runs as one test on a
# display of its own, so its grabs and presses never meet other tests'.
if(NOT TARGET PkgConfig::X11)
  pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
endif()
add_executable(hotkeys_tests ${CMAKE_CURRENT_LIST_DIR}/hotkeys/hotkeys_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hotkeys/x_rival.cpp)
target_link_libraries(hotkeys_tests PRIVATE quillery_test_support quillery_test_gui_main
  quillery_hotkeys quillery_music_hotkeys PkgConfig::GTK3 PkgConfig::X11)
quillery_script_test(hotkeys_tests
  bash ${CMAKE_CURRENT_LIST_DIR}/hotkeys/private_display.sh $<TARGET_FILE:hotkeys_tests>)

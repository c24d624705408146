# The music side of the main window, built for real under Xvfb with real
# audio files on the real player. The forum side talks to the local forum
# server, so the window starts without an error box.
set(_music_ui_support
  ${CMAKE_CURRENT_LIST_DIR}/music_ui/music_window_fixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app/gtk_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/request_forms/gui_pump.cpp)

quillery_test(music_ui_window_test GUI
  SOURCES ${_music_ui_support}
          ${CMAKE_CURRENT_LIST_DIR}/music_ui/music_window_test.cpp
  LINK qapp PkgConfig::GTK3)

# Global hotkeys grab keys on the whole X server and the presses come from
# xdotool, so this binary runs on a display of its own. The device switch
# uses a private PulseAudio server with two null sinks.
if(NOT TARGET PkgConfig::X11)
  pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
endif()
add_executable(music_ui_hotkeys_test ${_music_ui_support}
  ${CMAKE_CURRENT_LIST_DIR}/music_ui/music_hotkeys_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/audio/pulse_sinks.cpp)
target_link_libraries(music_ui_hotkeys_test PRIVATE qtest_support qtest_gui_main qapp
  PkgConfig::GTK3 PkgConfig::ATK PkgConfig::X11)
quillery_script_test(music_ui_hotkeys_test
  bash ${CMAKE_CURRENT_LIST_DIR}/hotkeys/private_display.sh $<TARGET_FILE:music_ui_hotkeys_test>)

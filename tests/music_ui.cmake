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
  LINK quillery_app PkgConfig::GTK3)

# Global hotkeys grab keys on the whole X server and the presses come from
# xdotool, so this binary runs on a display of its own. The device switch
# uses a private PulseAudio server with two null sinks.
if(NOT TARGET PkgConfig::X11)
  pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
endif()
add_executable(music_ui_hotkeys_test ${_music_ui_support}
  ${CMAKE_CURRENT_LIST_DIR}/music_ui/music_hotkeys_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hotkeys/x_rival.cpp
  ${CMAKE_CURRENT_LIST_DIR}/audio/pulse_sinks.cpp)
target_link_libraries(music_ui_hotkeys_test PRIVATE quillery_test_support quillery_test_gui_main quillery_app
  PkgConfig::GTK3 PkgConfig::ATK PkgConfig::X11)
quillery_script_test(music_ui_hotkeys_test
  bash ${CMAKE_CURRENT_LIST_DIR}/hotkeys/private_display.sh $<TARGET_FILE:music_ui_hotkeys_test>)

# The device switch of the real program heard through AT-SPI; keys go
# through the X keyboard focus, hence the shared "x_keyboard" lock. Exit
# code 77: no PulseAudio here to make two devices, shown as skipped.
quillery_script_test(music_ui_atspi_devices
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_music_devices.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(music_ui_atspi_devices PROPERTIES RESOURCE_LOCK x_keyboard SKIP_RETURN_CODE 77)

# The player on the desktop's media controls (MPRIS), driven by playerctl
# on the private session bus; the status bar is read through AT-SPI.
quillery_script_test(music_ui_atspi_media_controls
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/atspi/test_media_controls.py
          $<TARGET_FILE:quillery> $<TARGET_FILE:local-forum>)
set_tests_properties(music_ui_atspi_media_controls PROPERTIES RESOURCE_LOCK x_keyboard)

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

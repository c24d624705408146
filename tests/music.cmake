quillery_test(music_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/music/music_fakes.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music/music_fixture.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music/audio_files_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music/music_settings_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music/play_modes_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music/delete_rules_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music/music_view_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music/music_commands_test.cpp
  LINK quillery_music_library)

# The same controller on the real audio engine with decoded files.
quillery_test(music_player_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/music/music_fakes.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music/real_player_test.cpp
  LINK quillery_music_playback)

# The audio engine's player behind the music library's playback interface.
quillery_library(quillery_music_playback
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio_player_playback.cpp
  LINK quillery_music_library quillery_audio_player)

# AudioPlayer: one medium at a time over the audio layer; GUI-free.
quillery_library(quillery_audio_player
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio_player.cpp
  LINK quillery_audio_engine wx::base)

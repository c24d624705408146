# The audio layer and AudioPlayer with real files on the real engine.
quillery_test(audio_local_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/audio_local_test.cpp
  LINK quillery_audio_player)

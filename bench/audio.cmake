# Enter-to-playing of AudioPlayer against a bare mpv handle.
quillery_bench(audio_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio_bench.cpp
  LINK quillery_audio_player quillery_test_support PkgConfig::HTTPLIB)

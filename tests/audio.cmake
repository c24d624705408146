# The audio layer and AudioPlayer with real files on the real engine.
quillery_test(audio_local_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/audio_local_test.cpp
  LINK quillery_audio_player)
quillery_test(audio_url_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/audio_url_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio/media_server.cpp
  LINK quillery_audio_player PkgConfig::HTTPLIB)
quillery_test(audio_device_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/audio_device_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio/pulse_sinks.cpp
  LINK quillery_audio_player)
quillery_test(audio_loudness_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/audio_loudness_test.cpp
  LINK quillery_audio_player)
# The audio libraries opened on first use, and a failed open.
quillery_test(audio_engine_load_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/audio_engine_load_test.cpp
  LINK quillery_audio_player)

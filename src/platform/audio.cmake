# The audio layer: libmpv for playback, libavformat for exact lengths.
# Only mpv_handle.cpp includes the mpv headers; libpulse answers which
# sink is the default.
quillery_library(quillery_audio_engine
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mpv_handle.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_engine_mpv.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_engine_events.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_probe_avformat.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_default_output_pulse.cpp
  LINK PkgConfig::MPV PkgConfig::AVFORMAT PkgConfig::PULSE Threads::Threads)

# The audio layer: libmpv for playback, libavformat for exact lengths,
# libpulse for the default sink. None of them is linked: they are opened
# with dlopen when the first sound is asked for (audio_library_dl.cpp), so
# start-up never loads them. Only their headers are used here.
quillery_library(quillery_audio_engine
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio_library_dl.cpp
          ${CMAKE_CURRENT_LIST_DIR}/mpv_handle.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_engine_mpv.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_engine_events.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_probe_avformat.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_default_output_pulse.cpp
  LINK ${CMAKE_DL_LIBS} Threads::Threads)
target_include_directories(quillery_audio_engine PRIVATE
  ${MPV_INCLUDE_DIRS} ${AVFORMAT_INCLUDE_DIRS} ${PULSE_INCLUDE_DIRS})
target_compile_options(quillery_audio_engine PRIVATE
  ${MPV_CFLAGS_OTHER} ${AVFORMAT_CFLAGS_OTHER} ${PULSE_CFLAGS_OTHER})

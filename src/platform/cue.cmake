# Sound cue output over libcanberra (pulse backend).
quillery_library(quillery_sound_cue
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_cue_linux.cpp
  LINK PkgConfig::CANBERRA Threads::Threads)

# Sound cue output over libcanberra (pulse backend).
quillery_library(qsoundcue
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_cue_linux.cpp
  LINK PkgConfig::CANBERRA Threads::Threads)

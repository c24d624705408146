# The music player on the desktop's media controls (MPRIS).
quillery_library(quillery_music_mpris
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/music_mpris.cpp
  LINK quillery_music_library quillery_mpris)

# PlayCue: finds the cue files and hands them to the platform sound output.
quillery_library(quillery_cue
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cue.cpp
  LINK quillery_sound_cue wx::base)
target_compile_definitions(quillery_cue PRIVATE
  QUILLERY_CUE_DIR="${CMAKE_INSTALL_FULL_DATADIR}/quillery/sous")

# PlayCue: finds the cue files and hands them to the platform sound output.
quillery_library(qcue
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cue.cpp
  LINK qsoundcue wx::base)
target_compile_definitions(qcue PRIVATE
  QUILLERY_CUE_DIR="${CMAKE_INSTALL_FULL_DATADIR}/quillery/sous")

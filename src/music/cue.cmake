# PlayCue: finds the cue files and hands them to the platform sound output.
# wx::base stays private: its wxUSE_GUI=0 must not reach the windows that
# play cues.
quillery_library(qcue
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/cue.cpp
  LINK qsoundcue)
target_link_libraries(qcue PRIVATE wx::base)
target_compile_definitions(qcue PRIVATE
  QUILLERY_CUE_DIR="${CMAKE_INSTALL_FULL_DATADIR}/quillery/sous")

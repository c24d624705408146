# Shared colours, fonts and button sizes of every window.
quillery_library(quillery_look
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/look.cpp
  LINK wx::core)

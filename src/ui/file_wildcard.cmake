# The wildcard every file chooser passes to the toolkit.
quillery_library(quillery_file_wildcard
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_wildcard.cpp
  LINK wx::base)

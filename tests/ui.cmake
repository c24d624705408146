# Helpers every window shares, tested on the toolkit's own widgets.
quillery_test(ui_file_wildcard_test GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui/file_wildcard_test.cpp
  LINK quillery_file_wildcard wx::core PkgConfig::GTK3)

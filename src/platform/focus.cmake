# The focused control of a window, asked of the window itself.
quillery_library(quillery_window_focus
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_focus_gtk.cpp
  LINK wx::core PkgConfig::GTK3)

# The focused control of a window, asked of the window itself.
quillery_library(quillery_window_focus
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_focus_gtk.cpp
  LINK wx::core PkgConfig::GTK3)

# Escape seen before the toolkit, for a window without a focused control.
quillery_library(quillery_escape_key_watch
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/escape_key_watch_gdk.cpp
  LINK PkgConfig::GTK3)

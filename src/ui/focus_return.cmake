# The focus back where the user was when a dialog or box closes.
quillery_library(quillery_focus_return
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/focus_return.cpp
  LINK quillery_window_focus wx::core)

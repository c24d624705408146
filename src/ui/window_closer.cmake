# Closing windows where it is safe: after a call waited for has returned,
# from the loop the window lives in.
quillery_library(quillery_window_closer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_closer.cpp
  LINK quillery_window_focus wx::core)

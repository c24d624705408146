# The guard every dialog holds around a server call made from its buttons.
quillery_library(quillery_call_guard
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/call_guard.cpp
  LINK quillery_window_focus wx::core)

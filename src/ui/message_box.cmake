# Message boxes and standard-dialog button labels shared by every window.
quillery_library(quillery_ui_messages
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  LINK quillery_a11y quillery_window_closer quillery_focus_return wx::core)

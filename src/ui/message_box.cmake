# Message boxes and standard-dialog button labels shared by every window.
quillery_library(qui_messages
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  LINK qa11y wx::core)

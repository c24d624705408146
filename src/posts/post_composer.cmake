# The post composer: its GUI-free rules, and the dialog.
quillery_library(quillery_post_composer_model
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_composer_model.cpp
  LINK wx::base)

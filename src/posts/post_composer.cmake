# The post composer: its GUI-free rules, and the dialog.
quillery_library(quillery_post_composer_model
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_composer_model.cpp
  LINK wx::base)
quillery_library(quillery_post_composer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_composer_dialog.cpp
          ${CMAKE_CURRENT_LIST_DIR}/post_composer_keys.cpp
  LINK quillery_post_composer_model quillery_posts_model quillery_api qrequest_forms qlook qa11y qwindow_focus
       qui_messages qcue wx::core)

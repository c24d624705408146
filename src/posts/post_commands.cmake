# The "帖子操作" menu: what it offers and what each command sends (GUI-free),
# then the menu, questions and boxes, and the way to the composer.
quillery_library(quillery_post_commands_model
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_commands_model.cpp
  LINK quillery_api wx::base)
quillery_library(quillery_post_commands
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/post_commands.cpp
          ${CMAKE_CURRENT_LIST_DIR}/post_editor.cpp
  LINK quillery_post_commands_model quillery_post_composer quillery_posts_model quillery_api quillery_a11y quillery_ui_messages
       wx::core)

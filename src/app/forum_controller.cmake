# Runs the forum view model's actions with the forum client: busy-cursor
# requests, the search worker, error boxes. The client library stays
# private (its header is not part of ours), and so does its wx::base.
quillery_library(quillery_forum_controller
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/forum_controller.cpp ${CMAKE_CURRENT_LIST_DIR}/sections_prefetch.cpp
  LINK quillery_search quillery_request_forms quillery_forum_views quillery_ui_messages wx::core)
target_link_libraries(quillery_forum_controller PRIVATE quillery_api)
# quillery_api's wx::base carries wxUSE_GUI=0, which would hide the window
# classes this file needs; options follow definitions, so this wins.
target_compile_options(quillery_forum_controller PRIVATE -UwxUSE_GUI)

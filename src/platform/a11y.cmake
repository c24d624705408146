# Names, descriptions, status bar and announcements for screen readers, set
# through ATK because wxGTK passes none of them on; dialog roles, message-box
# names, refilled lists, read-only choices and text boxes.
quillery_library(quillery_a11y
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_gtk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_controls_gtk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_windows_gtk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_text_runs_gtk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/accessibility_prompts.cpp
  LINK wx::core PkgConfig::GTK3 PkgConfig::ATK)

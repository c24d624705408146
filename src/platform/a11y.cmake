# Names, descriptions, status bar and announcements for screen readers, set
# through ATK because wxGTK passes none of them on.
quillery_library(qa11y
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/accessibility_gtk.cpp
          ${CMAKE_CURRENT_LIST_DIR}/accessibility_prompts.cpp
  LINK wx::core PkgConfig::GTK3 PkgConfig::ATK)

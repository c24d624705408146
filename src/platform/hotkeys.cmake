# System-wide hotkeys through keybinder (X11 key grabs).
quillery_library(quillery_hotkeys
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/hotkeys_keybinder.cpp
  LINK PkgConfig::KEYBINDER PkgConfig::GTK3)

# The music hotkey table bound to the system-wide hotkey layer.
quillery_library(quillery_music_hotkeys
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/music_hotkey_binding.cpp
  LINK quillery_music_library quillery_hotkeys)

# The local music library: files and albums, play modes, the view's rows
# and status line, and the commands behind the music keys. GUI-free.
quillery_library(quillery_music_library
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/music_types.cpp
          ${CMAKE_CURRENT_LIST_DIR}/audio_files.cpp
          ${CMAKE_CURRENT_LIST_DIR}/folder_listing.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music_settings.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music_library.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music_view.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music_commands.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music_controller.cpp
          ${CMAKE_CURRENT_LIST_DIR}/music_controller_commands.cpp
  LINK wx::base quillery_settings)

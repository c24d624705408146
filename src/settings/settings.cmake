# settings.ini: location, atomic owner-only writes, the "/login" and
# "/server" groups (the music library keeps its own group through it).
quillery_library(quillery_settings
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_disk.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings_merge.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings_store.cpp
  LINK wx::base quillery_api_endpoint)

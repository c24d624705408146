# The music library's start-up and list rendering at a large size, next to
# merely listing the same folders; and the player's 500 ms status tick.
if(TARGET quillery_test_support)
  quillery_bench(music_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/music_bench.cpp
            ${CMAKE_SOURCE_DIR}/tests/music/music_fakes.cpp
    LINK quillery_music_playback quillery_test_support)
endif()

# A song change in a 10,000-song playlist view on a real list box (needs a display).
if(TARGET quillery_test_support)
  quillery_bench(music_view_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/music_view_bench.cpp
    LINK quillery_music_library wx::core)
endif()

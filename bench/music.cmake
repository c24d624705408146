# The music library's start-up and list rendering at a large size, next to
# merely listing the same folders.
if(TARGET qtest_support)
  quillery_bench(music_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/music_bench.cpp
    LINK quillery_music_library qtest_support)
endif()

# Sound cue output over libcanberra (pulse backend), opened with the first
# cue rather than linked: only its header is used here.
quillery_library(quillery_sound_cue
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_cue_linux.cpp
  LINK ${CMAKE_DL_LIBS} Threads::Threads)
target_include_directories(quillery_sound_cue PRIVATE ${CANBERRA_INCLUDE_DIRS})
target_compile_options(quillery_sound_cue PRIVATE ${CANBERRA_CFLAGS_OTHER})

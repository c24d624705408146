# Sound cues: path resolution, the generated files, playing with and
# without a sound server.
quillery_test(cue_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/cue/cue_test.cpp
  LINK quillery_cue quillery_sound_cue)
add_dependencies(cue_test quillery_cues)

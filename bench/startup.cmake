# Whole-process start-up until the home view shows, against the local forum
# server, next to a bare toolkit frame measured the same way.
pkg_check_modules(X11 QUIET IMPORTED_TARGET x11)
if(TARGET quillery_test_support AND TARGET quillery AND TARGET local-forum AND TARGET PkgConfig::X11)
  add_executable(startup_bare_frame ${CMAKE_CURRENT_LIST_DIR}/startup_bare_frame.cpp)
  target_link_libraries(startup_bare_frame PRIVATE wx::core)
  quillery_bench(startup_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp
    LINK quillery_test_support PkgConfig::X11)
  target_compile_definitions(startup_bench PRIVATE
    QUILLERY_EXE="$<TARGET_FILE:quillery>" BARE_FRAME_EXE="$<TARGET_FILE:startup_bare_frame>")
  add_dependencies(startup_bench quillery startup_bare_frame local-forum)
endif()

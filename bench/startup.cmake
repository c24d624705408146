# Whole-process start-up until the home view shows, against the local forum
# server, next to a bare toolkit frame and a plain frame with the main
# window's own controls, measured the same way.
pkg_check_modules(X11 QUIET IMPORTED_TARGET x11)
if(TARGET quillery_test_support AND TARGET quillery AND TARGET local-forum AND TARGET PkgConfig::X11)
  add_executable(startup_bare_frame ${CMAKE_CURRENT_LIST_DIR}/startup_bare_frame.cpp)
  target_link_libraries(startup_bare_frame PRIVATE wx::core)
  add_executable(startup_same_window ${CMAKE_CURRENT_LIST_DIR}/startup_same_window.cpp)
  target_link_libraries(startup_same_window PRIVATE quillery_look wx::core)
  quillery_bench(startup_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp
    LINK quillery_test_support quillery_api quillery_forum_views PkgConfig::X11)
  target_compile_definitions(startup_bench PRIVATE
    QUILLERY_EXE="$<TARGET_FILE:quillery>" BARE_FRAME_EXE="$<TARGET_FILE:startup_bare_frame>"
    SAME_WINDOW_EXE="$<TARGET_FILE:startup_same_window>")
  add_dependencies(startup_bench quillery startup_bare_frame startup_same_window local-forum)
endif()

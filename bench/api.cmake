# The forum client's costs next to the bare libraries they sit on.
if(TARGET quillery_test_support)
  quillery_bench(bench_api_core
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/api/core_bench.cpp
    LINK quillery_api quillery_test_support PkgConfig::CURL)
  target_include_directories(bench_api_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/api)
endif()

quillery_bench(bench_api_forum
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/api/forum_bench.cpp
  LINK quillery_api)
target_include_directories(bench_api_forum PRIVATE ${CMAKE_CURRENT_LIST_DIR}/api)

# One HTTPS round trip through the client next to bare libcurl.
if(TARGET quillery_test_support)
  quillery_bench(bench_api_tls
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/api/tls_bench.cpp
    LINK quillery_api quillery_test_support PkgConfig::CURL)
  target_include_directories(bench_api_tls PRIVATE ${CMAKE_CURRENT_LIST_DIR}/api)
endif()

# The responsive wait's cost per request (needs a display).
if(TARGET quillery_test_support)
  quillery_bench(request_wait_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/request_wait_bench.cpp
    LINK quillery_request_forms quillery_api quillery_test_support wx::core)
  target_compile_options(request_wait_bench PRIVATE -UwxUSE_GUI)
endif()

# A 64 MiB upload to the local forum next to curl -F, and its peak memory.
if(TARGET quillery_test_support AND TARGET local-forum)
  quillery_bench(upload_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/api/upload_bench.cpp
    LINK quillery_api quillery_test_support)
  add_dependencies(upload_bench local-forum)
endif()

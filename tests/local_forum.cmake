# The project's local forum server, exercised over real HTTP.

# The process helper in support/ starts the server binary, so every test
# build brings the binary along.
add_dependencies(quillery_test_support local-forum)

quillery_test(local_forum_test
  SOURCES
    local_forum/forum_http.cpp
    local_forum/lifetime_test.cpp
    local_forum/reading_test.cpp
    local_forum/session_test.cpp
    local_forum/strict_fault_test.cpp
    local_forum/writing_test.cpp
  LINK PkgConfig::RAPIDJSON)

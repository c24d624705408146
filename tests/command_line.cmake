# The program's command line, parsed before the toolkit starts.
quillery_test(command_line_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/app/command_line_test.cpp
  LINK quillery_command_line)
target_compile_definitions(command_line_test PRIVATE QUILLERY_PROJECT_VERSION="${PROJECT_VERSION}")

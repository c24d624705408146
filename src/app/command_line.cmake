# The program's command line (GUI-free, read before the toolkit starts).
quillery_library(quillery_command_line
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp)
# The one place the version comes from: project(VERSION) in CMakeLists.txt.
target_compile_definitions(quillery_command_line PRIVATE QUILLERY_VERSION="${PROJECT_VERSION}")
target_link_libraries(quillery PRIVATE quillery_command_line)

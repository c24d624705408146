# Local files read whole (uploads).
quillery_library(quillery_files
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/input_file_posix.cpp)

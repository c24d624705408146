# Where the forum server is: the compiled-in host on port 80.
quillery_library(quillery_api_endpoint
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/server_endpoint.cpp
  LINK wx::base)
target_compile_definitions(quillery_api_endpoint PRIVATE
  QUILLERY_SERVER_HOST="${QUILLERY_SERVER_HOST}")

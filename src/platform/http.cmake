# The HTTP door: one blocking exchange per call, libcurl hidden behind it.
quillery_library(quillery_http
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_transport_curl.cpp
  LINK PkgConfig::CURL Threads::Threads)

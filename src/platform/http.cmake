# The HTTP door: one blocking exchange per call, libcurl hidden behind it.
quillery_library(quillery_http
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/http_transport_curl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/http_proxy_env.cpp
  LINK PkgConfig::CURL Threads::Threads)

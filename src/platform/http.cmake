# The HTTP door: one blocking exchange per call, libcurl hidden behind it.
# libcurl is not linked but opened on the first exchange
# (http_library_dl.cpp): only its header is used here.
quillery_library(quillery_http
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/http_transport_curl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/http_library_dl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/http_proxy_env.cpp
  LINK ${CMAKE_DL_LIBS} Threads::Threads)
target_include_directories(quillery_http PRIVATE ${CURL_INCLUDE_DIRS})
target_compile_options(quillery_http PRIVATE ${CURL_CFLAGS_OTHER})

// libcurl, opened on first use rather than linked: with its two dozen
// dependencies it would otherwise load before the program's first line.
// Only the transport includes this (and through it libcurl's header).
#pragma once

#include <curl/curl.h>

namespace platform {

struct CurlApi {
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_perform) easy_perform;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_easy_strerror) easy_strerror;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;
};

// The library, opened and initialised once for the process (any thread;
// callers meanwhile wait for the first); null when it cannot be opened or
// initialised.
const CurlApi* LoadCurl();

}  // namespace platform

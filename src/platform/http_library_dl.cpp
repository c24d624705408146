#include "platform/http_library.h"

#include "platform/library_symbols.h"

namespace platform {

const CurlApi* LoadCurl() {
    // The ABI version the header describes.
    return LoadLibraryOnce<CurlApi>("libcurl.so.4", [](SymbolResolver& r, CurlApi& api) {
        decltype(&curl_global_init) globalInit = nullptr;
        r(globalInit, "curl_global_init");
        r(api.easy_init, "curl_easy_init");
        r(api.easy_setopt, "curl_easy_setopt");
        r(api.easy_perform, "curl_easy_perform");
        r(api.easy_getinfo, "curl_easy_getinfo");
        r(api.easy_cleanup, "curl_easy_cleanup");
        r(api.easy_strerror, "curl_easy_strerror");
        r(api.slist_append, "curl_slist_append");
        r(api.slist_free_all, "curl_slist_free_all");
        return r.Complete() && globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    });
}

}  // namespace platform

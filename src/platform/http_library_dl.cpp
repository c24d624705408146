#include "platform/http_library.h"

#include "platform/library_symbols.h"

#include <mutex>

namespace platform {

const CurlApi* LoadCurl() {
    static std::once_flag once;
    static const CurlApi* loaded = nullptr;
    std::call_once(once, [] {
        // The ABI version the header describes.
        void* lib = OpenLibrary("libcurl.so.4");
        if (!lib) return;
        static CurlApi api;
        decltype(&curl_global_init) globalInit = nullptr;
        SymbolResolver r({lib});
        r(globalInit, "curl_global_init");
        r(api.easy_init, "curl_easy_init");
        r(api.easy_setopt, "curl_easy_setopt");
        r(api.easy_perform, "curl_easy_perform");
        r(api.easy_getinfo, "curl_easy_getinfo");
        r(api.easy_cleanup, "curl_easy_cleanup");
        r(api.easy_strerror, "curl_easy_strerror");
        r(api.slist_append, "curl_slist_append");
        r(api.slist_free_all, "curl_slist_free_all");
        // Kept open for the life of the process once it works.
        if (r.Complete() && globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK) loaded = &api;
    });
    return loaded;
}

}  // namespace platform

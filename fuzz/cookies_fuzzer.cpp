// Cookies out of a raw response head, decoded as the transport decodes it.
#include "fuzz_check.h"
#include "api/cookies.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string raw(reinterpret_cast<const char*>(data), size);
    const wxString head = DecodeHeaderText(raw);
    const wxString cookies = ExtractCookies(head);
    fuzz::Use(cookies);
    // The result goes back out as one header value: no line may break it,
    // and nothing comes from nowhere.
    FUZZ_CHECK(cookies.find(wxS("\r\n")) == wxString::npos);
    FUZZ_CHECK(cookies.length() <= head.length());
    FUZZ_CHECK(raw.empty() || !head.empty());
    return 0;
}

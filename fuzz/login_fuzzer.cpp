// What a login, a registration and a password reset make of the server's
// answer: the token, the refusal, the "already registered" case, and the
// display name fetched right after (the same body answers that too).
#include "fuzz_server.h"
#include "fuzz_support.h"

namespace {

void Check(const LoginResult& r)
{
    for (const wxString* t : {&r.token, &r.cookies, &r.displayName, &r.mobile, &r.message}) fuzz::Use(*t);
    FUZZ_CHECK(r.mobile == wxS("13800000000"));
    if (r.ok) {
        FUZZ_CHECK(r.message.empty() && !r.refused && !r.token.empty() && !r.displayName.empty());
        // Every later call sends the token in a header line.
        for (wxUniChar c : r.token) FUZZ_CHECK(c.GetValue() > 0x20 && c.GetValue() != 0x7F);
    } else {
        FUZZ_CHECK(!r.message.empty() && r.token.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ApiClient client = fuzz::ClientAnswering(data, size);
    Check(client.Login(wxS("13800000000"), wxS("secret")));
    Check(client.Register(wxS("13800000000"), wxS("secret"), wxS("123456")));
    return 0;
}

// The profile answer (GET /api/user): the profile itself, the display name
// a login takes from it, and whether a failure means the session expired.
#include "api/user_profile.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rapidjson::Document doc;
    wxString message;
    const bool ok = EvaluateResponse(fuzz::AnswerOf(data, size), doc, message, wxS("获取用户资料失败"));
    fuzz::Use(message);
    if (!ok) {
        FUZZ_CHECK(!message.empty());
        const bool expired = IsSessionExpiredText(message);
        // The server's own words decide when it sent some; otherwise the
        // code alone does, and only -100 means the session is gone.
        if (!doc.HasParseError() && doc.IsObject() && JsonText(&doc, "errMsg").empty()) {
            FUZZ_CHECK(expired == (JsonInt(&doc, "code", -1) == -100));
        }
        return 0;
    }
    const UserInfo info = ReadUserProfile(JsonData(&doc));
    FUZZ_CHECK(info.ok == info.error.empty());
    FUZZ_CHECK(!info.ok || info.id != 0 || !info.name.empty());
    for (const wxString* t : {&info.name, &info.avatar, &info.mobile, &info.level, &info.birth, &info.error}) {
        fuzz::Use(*t);
    }
    fuzz::Use(JsonText(JsonData(&doc), "name"));
    return 0;
}

#include "support/forum_login.h"

#include <string>

#include <rapidjson/document.h>

namespace qtest {

ForumSession LoginRaw(const ApiClient& client, const char* mobile, const char* password)
{
    const std::string body = std::string(R"({"mobile":")") + mobile + R"(","password":")" + password + "\"}";
    const HttpResponse response = client.SendRequest(
        wxS("POST"), wxS("/api/user/login"),
        {{wxS("Accept"), wxS("application/json")}, {wxS("Content-Type"), wxS("application/json")}}, body);
    rapidjson::Document doc;
    doc.Parse(response.body.c_str());
    ForumSession session;
    if (doc.IsObject() && doc.HasMember("code") && doc["code"].IsInt() && doc["code"].GetInt() == 0 && doc.HasMember("data") &&
        doc["data"].IsString()) {
        session.token = wxString::FromUTF8(doc["data"].GetString());
        session.cookies = response.cookies;
    }
    return session;
}

int32_t SeededMediaPostId(const ApiClient& client)
{
    for (const PostSummary& p : client.GetSectionPosts(2, 1, 20).items) {
        if (p.title.StartsWith(wxS("【试听】"))) return p.id;
    }
    return 0;
}

}  // namespace qtest

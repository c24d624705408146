#include "local_forum/forum_http.h"

namespace qtest {
namespace {

void Fill(Answer& a, const httplib::Result& r) {
    if (!r) return;
    a.status = r->status;
    a.body = r->body;
    a.headers = r->headers;
    a.doc.Parse(a.body.c_str(), a.body.size());
    if (a.doc.HasParseError()) a.doc.SetNull();
}

}  // namespace

int Answer::code() const {
    if (!parsed() || !doc.HasMember("code") || !doc["code"].IsInt()) return -999;
    return doc["code"].GetInt();
}

bool Answer::hasErrMsg() const { return parsed() && doc.HasMember("errMsg"); }

std::string Answer::errMsg() const {
    return hasErrMsg() && doc["errMsg"].IsString() ? doc["errMsg"].GetString() : "";
}

const rapidjson::Value& Answer::data() const {
    static const rapidjson::Value null;
    return parsed() && doc.HasMember("data") ? doc["data"] : null;
}

ForumHttp::ForumHttp(const LocalForumProcess& forum) : client_(forum.host(), forum.port()) {
    client_.set_read_timeout(10, 0);
}

Answer ForumHttp::Get(const std::string& path, const httplib::Headers& headers) {
    Answer a;
    Fill(a, client_.Get(path, headers));
    return a;
}

Answer ForumHttp::Send(const std::string& method, const std::string& path, const std::string& body,
                       const httplib::Headers& headers, const std::string& contentType) {
    Answer a;
    if (method == "POST")
        Fill(a, client_.Post(path, headers, body, contentType));
    else if (method == "PUT")
        Fill(a, client_.Put(path, headers, body, contentType));
    else if (method == "PATCH")
        Fill(a, client_.Patch(path, headers, body, contentType));
    else if (method == "DELETE")
        Fill(a, client_.Delete(path, headers, body, contentType));
    return a;
}

Answer ForumHttp::Upload(const std::string& path, const std::string& fileName, const std::string& bytes,
                         const httplib::Headers& headers) {
    httplib::MultipartFormDataItems items = {{"file", bytes, fileName, "application/octet-stream"}};
    Answer a;
    Fill(a, client_.Post(path, headers, items));
    return a;
}

std::string ForumHttp::Login(const std::string& mobile, const std::string& password) {
    Answer a = Send("POST", "/api/user/login",
                    "{\"mobile\":\"" + mobile + "\",\"password\":\"" + password + "\"}");
    return a.code() == 0 && a.data().IsString() ? a.data().GetString() : "";
}

httplib::Headers TokenHeader(const std::string& token) { return {{"token", token}}; }

std::string UrlEncode(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::size_t CharCount(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace qtest

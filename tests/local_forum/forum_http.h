// Talking to a running local forum in tests: requests with optional
// headers, answers parsed into the envelope's parts.
#pragma once

#include "support/local_forum_process.h"

#include <httplib.h>
#include <rapidjson/document.h>

#include <string>

namespace qtest {

struct Answer {
    int status = 0;           // HTTP status; 0 when the exchange failed
    std::string body;
    httplib::Headers headers;
    rapidjson::Document doc;  // parsed body (IsObject() false when not JSON)

    bool parsed() const { return doc.IsObject(); }
    int code() const;         // "code", or -999 when missing
    bool hasErrMsg() const;
    std::string errMsg() const;
    const rapidjson::Value& data() const;  // "data", or a null value
};

class ForumHttp {
public:
    explicit ForumHttp(const LocalForumProcess& forum);

    Answer Get(const std::string& path, const httplib::Headers& headers = {});
    Answer Send(const std::string& method, const std::string& path, const std::string& body,
                const httplib::Headers& headers = {},
                const std::string& contentType = "application/json; charset=utf-8");
    Answer Upload(const std::string& path, const std::string& fileName, const std::string& bytes,
                  const httplib::Headers& headers = {});

    // Logs in and returns the token ("" on failure).
    std::string Login(const std::string& mobile, const std::string& password);

private:
    httplib::Client client_;
};

// The header set {"token": token}.
httplib::Headers TokenHeader(const std::string& token);
// Percent-encodes a query value (letters, digits and -._~ stay).
std::string UrlEncode(const std::string& text);
// Number of characters of a UTF-8 text.
std::size_t CharCount(const std::string& text);

}  // namespace qtest

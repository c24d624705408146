// A client aimed at a loopback test server, with short time-outs so that
// failure cases finish quickly.
#pragma once

#include "api/api_client.h"
#include "support/http_test_server.h"

namespace apitest {

inline ApiClient ClientFor(const qtest::HttpTestServer& server)
{
    ApiClient client(ServerEndpoint{wxString::FromUTF8(server.Host()), server.Port()});
    client.SetTimeouts(platform::HttpTimeouts{2000, 1000});
    return client;
}

inline std::string U8(const wxString& s)
{
    return std::string(s.utf8_str());
}

}  // namespace apitest

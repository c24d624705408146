// For harnesses whose reader is part of a whole call: the loopback test
// server, started once for the process, answers every request with the
// input as its JSON body, so the input reaches the call exactly as a
// server's answer would, through the real transport.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "api/api_client.h"
#include "support/http_test_server.h"

namespace fuzz {

inline qtest::HttpTestServer& Server()
{
    // Never destroyed: its threads must outlive every harness call, and
    // libFuzzer may leave through exit() while static objects go away.
    static qtest::HttpTestServer* server = new qtest::HttpTestServer;
    return *server;
}

// A client of Server() that now answers every request with `data`.
inline ApiClient ClientAnswering(const uint8_t* data, size_t size)
{
    qtest::HttpTestServer& server = Server();
    server.ClearRequests();
    server.SetDefault(qtest::JsonAnswer(std::string(reinterpret_cast<const char*>(data), size)));
    ApiClient client(ServerEndpoint{wxString::FromUTF8(server.Host()), server.Port()});
    return client;
}

}  // namespace fuzz

// Where the forum server lives. The host is compiled in; settings.ini may
// override host, port and scheme (the settings store reads that group), and
// tests point a client at a loopback server.
#pragma once

#include <wx/string.h>

#include <utility>

struct ServerEndpoint {
    ServerEndpoint() = default;
    ServerEndpoint(wxString h, int p) : host(std::move(h)), port(p) {}

    wxString host;
    int port = 80;
    // HTTPS: the server's certificate and host name are verified against
    // the system's CA store and `caFile`; a failure is never retried in
    // plain HTTP.
    bool https = false;
    // An extra PEM file of trusted certificates (a self-hosted server);
    // empty for the system store alone.
    wxString caFile;
};

// The compiled-in host on port 80.
ServerEndpoint DefaultServerEndpoint();

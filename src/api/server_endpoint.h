// Where the forum server lives. The host is compiled in; settings.ini may
// override host and port (the settings store reads that group), and tests
// point a client at a loopback server.
#pragma once

#include <wx/string.h>

struct ServerEndpoint {
    wxString host;
    int port = 80;
};

// The compiled-in host on port 80.
ServerEndpoint DefaultServerEndpoint();

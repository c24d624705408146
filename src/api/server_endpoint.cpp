#include "api/server_endpoint.h"

#ifndef QUILLERY_SERVER_HOST
#error "QUILLERY_SERVER_HOST must be defined by the build"
#endif

ServerEndpoint DefaultServerEndpoint()
{
    return ServerEndpoint{wxString::FromUTF8(QUILLERY_SERVER_HOST), 80};
}

// The whole server: database, routes, static files, one listening socket.
#pragma once

#include "options.h"
#include "router.h"

#include <httplib.h>

#include <memory>
#include <string>

namespace forum {

class ForumServer {
public:
    explicit ForumServer(Options options);

    // Opens (and seeds) the database and binds the port. After success,
    // port() is the bound port.
    bool Start(std::string& error);
    int port() const { return forum_.port; }
    // Serves until Stop(); returns false when the socket failed.
    bool Run();
    void Stop() { http_->stop(); }

private:
    Forum forum_;
    // An SSLServer with --tls-cert and --tls-key, else a plain one.
    std::unique_ptr<httplib::Server> http_;
};

}  // namespace forum

#include "server.h"

#include "routes.h"
#include "seed.h"

#include <filesystem>

namespace forum {

ForumServer::ForumServer(Options options) {
    forum_.options = std::move(options);
    if (forum_.options.tlsCert.empty()) {
        http_ = std::make_unique<httplib::Server>();
    } else {
        http_ = std::make_unique<httplib::SSLServer>(forum_.options.tlsCert.c_str(),
                                                     forum_.options.tlsKey.c_str());
    }
}

bool ForumServer::Start(std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(forum_.options.filesDir, ec);
    if (ec) {
        error = "cannot create files folder " + forum_.options.filesDir + ": " + ec.message();
        return false;
    }
    if (!http_->is_valid()) {
        error = "cannot load the TLS certificate " + forum_.options.tlsCert + " or key " +
                forum_.options.tlsKey;
        return false;
    }
    if (!forum_.db.Open(forum_.options.dbPath, error)) return false;
    if (!PrepareDatabase(forum_.db, forum_.options, error)) {
        error = "cannot prepare database: " + error;
        return false;
    }
    Router router(*http_, forum_);
    RegisterAccountRoutes(router);
    RegisterReadingRoutes(router);
    RegisterDetailRoutes(router);
    RegisterWritingRoutes(router);
    RegisterModerationRoutes(router);
    RegisterPersonalRoutes(router);
    RegisterFileRoutes(router);
    InstallErrorAnswers(*http_, forum_);
    if (!http_->set_mount_point("/files", forum_.options.filesDir)) {
        error = "cannot serve files from " + forum_.options.filesDir;
        return false;
    }
    // Players seek only when the server says it can.
    http_->set_file_request_handler([](const httplib::Request&, httplib::Response& res) {
        res.set_header("Accept-Ranges", "bytes");
    });
    // Room for the multipart framing around the largest accepted file; the
    // upload handler answers the exact limit itself.
    http_->set_payload_max_length(forum_.options.maxUpload + 1024 * 1024);
    // Delayed answers must not hold up everyone else.
    http_->new_task_queue = [] { return new httplib::ThreadPool(8); };

    const std::string& host = forum_.options.host;
    if (forum_.options.port == 0) {
        forum_.port = http_->bind_to_any_port(host);
        if (forum_.port <= 0) {
            error = "cannot bind a free port on " + host;
            return false;
        }
    } else {
        if (!http_->bind_to_port(host, forum_.options.port)) {
            error = "cannot listen on " + host + ":" + std::to_string(forum_.options.port) +
                    " (port in use?)";
            return false;
        }
        forum_.port = forum_.options.port;
    }
    return true;
}

bool ForumServer::Run() { return http_->listen_after_bind(); }

}  // namespace forum

// Routing with the forum's envelope: every handler returns a Reply, which
// becomes {"code","errMsg","data"}; faults, logging and the shared lock are
// applied here so endpoint files only speak the forum's language.
#pragma once

#include "database.h"
#include "options.h"

#include <httplib.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace forum {

// Codes besides 0 that the server answers.
enum Code : int {
    kNeedLogin = -100,      // no valid session; answered without errMsg
    kBadRequest = 400,
    kForbidden = 403,
    kNotFound = 404,
    kConflict = 409,
    kTooLarge = 413,
    kWrongForm = 415,       // a strict mode refused this request form
    kServerError = 500,
};

struct Reply {
    int code = 0;
    std::optional<std::string> errMsg;
    std::string data;                 // raw JSON; empty means no "data" member
    std::vector<std::string> setCookies;

    static Reply Ok(std::string dataJson = "null");
    static Reply Fail(int code, std::string message);
    static Reply NeedLogin();
};

std::string EnvelopeJson(const Reply& reply);

// Shared state of the running server.
struct Forum {
    Options options;
    Database db;
    int port = 0;

    // One line to stdout, flushed, never interleaved.
    void Log(const std::string& line);

private:
    std::mutex logMutex_;
};

// What a handler sees of one request.
struct Call {
    const httplib::Request& req;
    Forum& forum;

    Database& db() { return forum.db; }
    // The number captured by the route pattern's first group.
    int PathId() const;
    // "http://host:port" (https with TLS) as the client addressed us, for file addresses.
    std::string BaseUrl() const;
};

using Handler = std::function<Reply(Call&)>;

class Router {
public:
    Router(httplib::Server& server, Forum& forum);

    void Get(const std::string& pattern, Handler handler);
    void Post(const std::string& pattern, Handler handler);
    void Put(const std::string& pattern, Handler handler);
    void Patch(const std::string& pattern, Handler handler);
    void Delete(const std::string& pattern, Handler handler);

private:
    httplib::Server::Handler Wrap(Handler handler);

    httplib::Server& server_;
    Forum& forum_;
};

// Envelope answers for httplib's own errors (unknown path, oversized body)
// and the request log.
void InstallErrorAnswers(httplib::Server& server, Forum& forum);

}  // namespace forum

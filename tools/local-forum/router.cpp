#include "router.h"

#include "json_io.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace forum {
namespace {

const char* kJsonType = "application/json; charset=utf-8";

const char* kHtmlPage =
    "<!DOCTYPE html>\n<html><head><title>502 Bad Gateway</title></head>\n"
    "<body><h1>502 Bad Gateway</h1><p>nginx</p></body></html>\n";

void ApplyFault(const FaultRule& fault, httplib::Response& res, const std::string& envelope) {
    res.set_header("X-Local-Forum-Fault", fault.kind);
    if (fault.kind == "html") {
        res.status = 502;
        res.set_content(kHtmlPage, "text/html; charset=utf-8");
    } else if (fault.kind == "truncated") {
        res.set_content(envelope.substr(0, envelope.size() / 2), kJsonType);
    } else if (fault.kind == "drop") {
        // Promise the whole envelope, deliver half, then give up: the client
        // sees the connection end before the body does.
        auto half = envelope.substr(0, envelope.size() / 2);
        res.body.clear();  // a stored body would be sent instead of the provider's
        res.set_content_provider(
            envelope.size(), kJsonType,
            [half](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset == 0) sink.write(half.data(), half.size());
                return offset == 0;
            });
    }
}

std::string Clock() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%H:%M:%S", &tm);
    return buf;
}

}  // namespace

Reply Reply::Ok(std::string dataJson) {
    Reply r;
    r.data = std::move(dataJson);
    return r;
}

Reply Reply::Fail(int code, std::string message) {
    Reply r;
    r.code = code;
    r.errMsg = std::move(message);
    return r;
}

Reply Reply::NeedLogin() {
    Reply r;
    r.code = kNeedLogin;
    return r;
}

std::string EnvelopeJson(const Reply& reply) {
    rapidjson::StringBuffer sb;
    JsonWriter w(sb);
    w.StartObject();
    Put(w, "code", reply.code);
    if (reply.errMsg) Put(w, "errMsg", *reply.errMsg);
    std::string head(sb.GetString(), sb.GetSize());
    if (reply.data.empty()) return head + "}";
    return head + ",\"data\":" + reply.data + "}";
}

void Forum::Log(const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex_);
    std::fprintf(stdout, "%s %s\n", Clock().c_str(), line.c_str());
    std::fflush(stdout);
}

int Call::PathId() const {
    int id = 0;
    if (req.matches.size() < 2 || !ParseInt(req.matches[1].str(), id)) return 0;
    return id;
}

std::string Call::BaseUrl() const {
    std::string host = req.get_header_value("Host");
    if (host.empty() || host.find_first_of(" /\\\"<>") != std::string::npos)
        host = forum.options.host + ":" + std::to_string(forum.port);
    return (forum.options.tlsCert.empty() ? "http://" : "https://") + host;
}

Router::Router(httplib::Server& server, Forum& forum) : server_(server), forum_(forum) {}

httplib::Server::Handler Router::Wrap(Handler handler) {
    // The router itself lives only while routes are registered.
    Forum& forum = forum_;
    return [&forum, handler](const httplib::Request& req, httplib::Response& res) {
        const FaultRule* fault = forum.options.FaultFor(req.path);
        if (fault && fault->kind == "delay")
            std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));
        Reply reply;
        {
            std::lock_guard<std::mutex> lock(forum.db.mutex());
            Call call{req, forum};
            try {
                reply = handler(call);
            } catch (const std::exception& e) {
                forum.Log(std::string("handler failed: ") + e.what());
                reply = Reply::Fail(kServerError, "服务器内部错误。");
            }
        }
        // Ranges are for files: a cut envelope is not JSON any more.
        const_cast<httplib::Request&>(req).ranges.clear();
        std::string envelope = EnvelopeJson(reply);
        for (const auto& c : reply.setCookies) res.set_header("Set-Cookie", c);
        res.set_content(envelope, kJsonType);
        if (fault && fault->kind != "delay") ApplyFault(*fault, res, envelope);
    };
}

void Router::Get(const std::string& p, Handler h) { server_.Get(p, Wrap(std::move(h))); }
void Router::Post(const std::string& p, Handler h) { server_.Post(p, Wrap(std::move(h))); }
void Router::Put(const std::string& p, Handler h) { server_.Put(p, Wrap(std::move(h))); }
void Router::Patch(const std::string& p, Handler h) { server_.Patch(p, Wrap(std::move(h))); }
void Router::Delete(const std::string& p, Handler h) { server_.Delete(p, Wrap(std::move(h))); }

void InstallErrorAnswers(httplib::Server& server, Forum& forum) {
    // A request without Content-Length or chunked coding has no body, but
    // httplib 0.11 waits for the connection to close instead, so a bodiless
    // PATCH or POST would stall for the read timeout and then fail. Saying
    // "length 0" before the body is read gives it the meaning HTTP intends.
    server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
        if (!req.has_header("Content-Length") && !req.has_header("Transfer-Encoding"))
            const_cast<httplib::Request&>(req).headers.emplace("Content-Length", "0");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty()) return;
        std::string message;
        if (res.status == 404 && req.path.rfind("/files/", 0) == 0)
            message = "文件不存在：" + req.path;
        else if (res.status == 404)
            message = "接口不存在：" + req.method + " " + req.path;
        else if (res.status == 413)
            message = "请求体过大。";
        else if (res.status == 416)
            message = "请求的范围无效。";
        else
            message = "请求无效（HTTP " + std::to_string(res.status) + "）。";
        res.set_content(EnvelopeJson(Reply::Fail(res.status, message)), kJsonType);
    });
    server.set_logger([&forum](const httplib::Request& req, const httplib::Response& res) {
        std::string line = req.method + " " + req.target + " -> " + std::to_string(res.status);
        const std::string& b = res.body;
        if (b.rfind("{\"code\":", 0) == 0) {
            auto end = b.find_first_of(",}", 8);
            line += " code=" + b.substr(8, end == std::string::npos ? std::string::npos : end - 8);
        }
        if (res.has_header("X-Local-Forum-Fault"))
            line += " fault=" + res.get_header_value("X-Local-Forum-Fault");
        forum.Log(line);
    });
}

}  // namespace forum

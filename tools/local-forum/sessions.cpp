#include "sessions.h"

#include "json_io.h"

#include <ctime>
#include <random>
#include <utility>

namespace forum {
namespace {

using Candidate = std::pair<std::string, std::string>;  // form, value

// Every form of credential the request carries, named as the strict option
// names them. Header names are compared exactly so that "token" and
// "Token" stay two forms.
std::vector<Candidate> Candidates(const httplib::Request& req) {
    std::vector<Candidate> out;
    static const char* kTokenHeaders[] = {"token", "Token", "authentication", "X-Token", "accessToken"};
    for (const auto& [name, value] : req.headers) {
        if (name == "Authorization") {
            if (value.rfind("Bearer ", 0) == 0)
                out.emplace_back("Bearer", Trim(value.substr(7)));
            else
                out.emplace_back("Authorization", Trim(value));
        }
        for (const char* h : kTokenHeaders)
            if (name == h) out.emplace_back(h, Trim(value));
        if (name == "Cookie" || name == "cookie") {
            std::size_t pos = 0;
            while (pos <= value.size()) {
                auto semi = value.find(';', pos);
                std::string part = Trim(value.substr(pos, semi == std::string::npos ? semi : semi - pos));
                auto eq = part.find('=');
                if (eq != std::string::npos) {
                    std::string key = part.substr(0, eq), v = part.substr(eq + 1);
                    if (key == "token" || key == "accessToken" || key == "Authorization")
                        out.emplace_back("cookie:" + key, v);
                    else if (key == kSessionCookie)
                        out.emplace_back("cookie:session", v);
                }
                if (semi == std::string::npos) break;
                pos = semi + 1;
            }
        }
    }
    for (const char* q : {"token", "accessToken"})
        if (req.has_param(q)) out.emplace_back(std::string("query:") + q, req.get_param_value(q));
    return out;
}

int LookUp(Database& db, const Candidate& c) {
    if (c.second.empty()) return 0;
    const char* sql = c.first == "cookie:session"
        ? "SELECT s.user_id FROM sessions s JOIN users u ON u.id = s.user_id "
          "WHERE s.cookie = ? AND u.banned = 0"
        : "SELECT s.user_id FROM sessions s JOIN users u ON u.id = s.user_id "
          "WHERE s.token = ? AND u.banned = 0";
    return static_cast<int>(db.Scalar(0, sql, c.second));
}

std::string RandomHex(std::size_t bytes) {
    static std::mt19937_64 rng{std::random_device{}()};
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < bytes; ++i) {
        auto b = static_cast<unsigned>(rng() & 0xFF);
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

}  // namespace

Issued IssueSession(Database& db, int userId) {
    Issued s{RandomHex(16), RandomHex(16), {}};
    db.Prepare("INSERT INTO sessions(token, cookie, user_id, created) VALUES(?,?,?,?)")
        .Bind(1, s.token).Bind(2, s.cookie).Bind(3, userId)
        .Bind(4, static_cast<std::int64_t>(std::time(nullptr))).Run();
    s.setCookies.push_back(std::string(kSessionCookie) + "=" + s.cookie + "; Path=/; HttpOnly");
    s.setCookies.push_back("forum_lang=zh-CN; Path=/");
    return s;
}

void EndSessionsOf(Database& db, int userId) {
    db.Prepare("DELETE FROM sessions WHERE user_id = ?").Bind(1, userId).Run();
}

int SessionUser(const Call& call) {
    const auto& only = call.forum.options.only;
    auto pinned = only.find(Family::Session);
    for (const auto& c : Candidates(call.req)) {
        if (pinned != only.end() && c.first != pinned->second) continue;
        if (int id = LookUp(call.forum.db, c)) return id;
    }
    return 0;
}

}  // namespace forum

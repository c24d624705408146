#include "options.h"

#include "json_io.h"

#include <set>

namespace forum {
namespace {

struct FamilyInfo {
    Family family;
    const char* option;
    std::set<std::string> forms;
};

// Aliases let scripts name the Chinese-labelled forms in ASCII, and name a
// toggle form by the client's own label ("id+essence" is "id+field").
const std::map<std::string, std::string>& FormAliases() {
    static const std::map<std::string, std::string> aliases = [] {
        std::map<std::string, std::string> a = {
            {"compat", "JSON兼容版"},      {"fallback", "JSON回退版"},
            {"json-string", "JSON字符串"}, {"plain-text", "纯文本"},
            {"raw-json", "JSON原始文本"},
        };
        for (const char* field : {"essence", "lock", "sink", "top"}) {
            a[std::string("id+") + field] = "id+field";
            a[std::string("postId+") + field] = "postId+field";
        }
        return a;
    }();
    return aliases;
}

const std::vector<FamilyInfo>& Families() {
    static const std::vector<FamilyInfo> families = {
        {Family::Session, "--only-session",
         {"Authorization", "Bearer", "token", "Token", "authentication", "X-Token", "accessToken",
          "cookie:token", "cookie:accessToken", "cookie:Authorization", "cookie:session",
          "query:token", "query:accessToken"}},
        {Family::Toggle, "--only-toggle-body",
         {"id", "id+value", "id+status", "id+enabled", "id+field", "postId+value", "postId+status",
          "postId+field"}},
        {Family::Post, "--only-post-body", {"JSON兼容版", "JSON回退版"}},
        {Family::Report, "--only-report-body",
         {"type=1,objectId", "type=1,id", "type=0,objectId", "type=0,id"}},
        {Family::Move, "--only-move-body",
         {"id+sectionId", "id+targetSectionId", "postId+sectionId", "postId+targetSectionId"}},
        {Family::Message, "--only-message-body",
         {"rUserId+content", "rUserId+body", "userId+content", "userId+body", "toUserId+content",
          "toUserId+body", "receiverId+content", "receiverId+body"}},
        {Family::Verify, "--only-verify-body", {"JSON字符串", "纯文本", "JSON原始文本"}},
    };
    return families;
}

bool ParseFault(const std::string& spec, FaultRule& rule, std::string& error) {
    auto eq = spec.rfind('=');
    if (eq == std::string::npos || eq == 0) {
        error = "--fault expects PATH=KIND, got: " + spec;
        return false;
    }
    rule.path = spec.substr(0, eq);
    std::string kind = spec.substr(eq + 1);
    if (kind.rfind("delay:", 0) == 0) {
        long long ms = 0;
        if (!ParseInteger(kind.substr(6), 0, 600000, ms)) {
            error = "--fault delay needs milliseconds (0-600000): " + spec;
            return false;
        }
        rule.kind = "delay";
        rule.delayMs = static_cast<int>(ms);
        return true;
    }
    if (kind != "html" && kind != "truncated" && kind != "drop") {
        error = "--fault kind must be html, truncated, drop or delay:MS: " + spec;
        return false;
    }
    rule.kind = kind;
    return true;
}

std::string HelpText();

}  // namespace

bool FaultRule::Matches(const std::string& requestPath) const {
    if (!path.empty() && path.back() == '*')
        return requestPath.compare(0, path.size() - 1, path, 0, path.size() - 1) == 0;
    return requestPath == path;
}

bool Options::Allows(Family family, const std::string& form) const {
    auto it = only.find(family);
    return it == only.end() || it->second == form;
}

const FaultRule* Options::FaultFor(const std::string& requestPath) const {
    for (const auto& f : faults)
        if (f.Matches(requestPath)) return &f;
    return nullptr;
}

std::string FamilyOption(Family family) {
    for (const auto& f : Families())
        if (f.family == family) return f.option;
    return "";
}

bool ParseOptions(int argc, char** argv, Options& out, std::string& error, bool& helpShown) {
    helpShown = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            helpShown = true;
            error = HelpText();
            return false;
        } else if (arg == "--db") {
            if (!value(out.dbPath)) return false;
        } else if (arg == "--files") {
            if (!value(out.filesDir)) return false;
        } else if (arg == "--media-cache") {
            if (!value(out.mediaCache)) return false;
        } else if (arg == "--no-media") {
            out.noMedia = true;
        } else if (arg == "--exit-with-parent") {
            out.exitWithParent = true;
        } else if (arg == "--port") {
            long long p = 0;
            if (!value(v)) return false;
            if (!ParseInteger(v, 0, 65535, p)) {
                error = "--port must be a number from 0 to 65535: " + v;
                return false;
            }
            out.port = static_cast<int>(p);
        } else if (arg == "--fixed-code") {
            if (!value(out.fixedVerifyCode)) return false;
            if (out.fixedVerifyCode.empty()) {
                error = "--fixed-code must not be empty";
                return false;
            }
        } else if (arg == "--max-upload") {
            long long n = 0;
            if (!value(v)) return false;
            if (!ParseInteger(v, 0, 1LL << 32, n)) {
                error = "--max-upload must be a byte count: " + v;
                return false;
            }
            out.maxUpload = static_cast<std::size_t>(n);
        } else if (arg == "--tls-cert") {
            if (!value(out.tlsCert)) return false;
        } else if (arg == "--tls-key") {
            if (!value(out.tlsKey)) return false;
        } else if (arg == "--fault") {
            FaultRule rule;
            if (!value(v) || !ParseFault(v, rule, error)) return false;
            out.faults.push_back(rule);
        } else {
            bool known = false;
            for (const auto& f : Families()) {
                if (arg != f.option) continue;
                known = true;
                if (!value(v)) return false;
                auto alias = FormAliases().find(v);
                if (alias != FormAliases().end()) v = alias->second;
                if (!f.forms.count(v)) {
                    error = arg + ": unknown form '" + v + "' (see --help)";
                    return false;
                }
                out.only[f.family] = v;
            }
            if (!known) {
                error = "unknown option: " + arg + " (see --help)";
                return false;
            }
        }
    }
    if (out.tlsCert.empty() != out.tlsKey.empty()) {
        error = "--tls-cert and --tls-key go together";
        return false;
    }
    if (out.dbPath.empty() || out.filesDir.empty() || out.port < 0) {
        error = "usage: local-forum --db FILE --files DIR --port N [options] (see --help)";
        return false;
    }
    return true;
}

namespace {

std::string HelpText() {
    return R"(local-forum — the project's local 澄川论坛 server (loopback only)

usage: local-forum --db FILE --files DIR --port N [options]

  --db FILE            SQLite database; created and seeded with demo data when new
  --files DIR          folder for uploaded and seeded media, served at /files/
  --port N             port on 127.0.0.1; 0 picks a free one. The first line on
                       stdout is "listening on 127.0.0.1:PORT"
  --media-cache DIR    reuse the generated seed audio/video from DIR (made there
                       on first use)
  --no-media           seed without generating audio and video
  --exit-with-parent   stop when the process that started the server ends
  --fixed-code CODE    every verification code is CODE (default: random 6 digits;
                       codes are always printed to the log)
  --max-upload BYTES   largest accepted upload (default 67108864)
  --tls-cert FILE      serve HTTPS only, with this certificate (PEM, the
  --tls-key FILE       server's certificate first, then any intermediates)
                       and key; file addresses then begin with https://

Strict modes: accept only one request form of a family; every other form of
that family gets a non-zero code.
  --only-session FORM       Authorization | Bearer | token | Token | authentication |
                            X-Token | accessToken (header names, case-sensitive) |
                            cookie:token | cookie:accessToken | cookie:Authorization |
                            cookie:session (the login cookie) |
                            query:token | query:accessToken
  --only-toggle-body FORM   id | id+value | id+status | id+enabled | id+field |
                            postId+value | postId+status | postId+field
                            (field = essence, lock, sink or top by endpoint;
                            id+essence and the like name the same form)
  --only-post-body FORM     JSON兼容版 (alias compat) | JSON回退版 (alias fallback)
  --only-report-body FORM   type=1,objectId | type=1,id | type=0,objectId | type=0,id
  --only-move-body FORM     id+sectionId | id+targetSectionId | postId+sectionId |
                            postId+targetSectionId
  --only-message-body FORM  (rUserId|userId|toUserId|receiverId)+(content|body)
  --only-verify-body FORM   JSON字符串 (json-string) | 纯文本 (plain-text) |
                            JSON原始文本 (raw-json)

Faults (repeatable): --fault PATH=KIND, PATH exact or a prefix ending in '*'.
  html        answer an HTML error page instead of JSON
  truncated   answer the first half of the JSON envelope (consistent length)
  drop        announce the full length, send half, close the connection
  delay:MS    wait MS milliseconds, then answer normally
The request is still carried out; only its answer is broken.

  --help               this text
)";
}

}  // namespace

}  // namespace forum

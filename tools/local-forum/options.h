// Command line of local-forum: where the database and files live, the
// port, and the strict and fault switches that tests use to pin the client
// to one request form or to break one answer on purpose.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace forum {

// A broken answer for one path: "html", "truncated", "drop" or "delay".
struct FaultRule {
    std::string path;     // exact request path, or a prefix when it ends in '*'
    std::string kind;
    int delayMs = 0;      // for "delay"

    bool Matches(const std::string& requestPath) const;
};

// Request-form families that can be pinned to one form each.
enum class Family { Session, Toggle, Post, Report, Move, Message, Verify };

struct Options {
    std::string dbPath;
    std::string filesDir;
    std::string mediaCache;             // optional: generated seed media reused from here
    std::string host = "127.0.0.1";
    int port = -1;
    bool noMedia = false;
    // Stop when the process that started us ends (tests that are killed).
    bool exitWithParent = false;
    std::string fixedVerifyCode;        // empty: random six digits
    std::size_t maxUpload = 64u * 1024u * 1024u;
    // HTTPS with this certificate chain and key (PEM); both or neither.
    std::string tlsCert;
    std::string tlsKey;
    std::map<Family, std::string> only; // family -> the one accepted form
    std::vector<FaultRule> faults;

    // True when the family is not pinned or `form` is the pinned form.
    bool Allows(Family family, const std::string& form) const;
    const FaultRule* FaultFor(const std::string& requestPath) const;
};

// Parses argv. Returns false with a message in `error` (or `helpShown` set
// when --help was asked for, with the help text in `error`).
bool ParseOptions(int argc, char** argv, Options& out, std::string& error, bool& helpShown);

// The option name of a family, for messages ("--only-toggle-body").
std::string FamilyOption(Family family);

}  // namespace forum

// The system's proxy settings as Unix programs share them: environment
// variables. curl reads them too, but the transport must know whether a
// proxy is in use (a forward proxy needs the absolute request target), so
// the choice is made once here and handed to curl as final.
#include "platform/http_transport.h"

#include <strings.h>

#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// "no_proxy" entries: "*" for every host, else names that match the host
// itself or any host below them ("example.org" and ".example.org" both
// cover "forum.example.org"), and literal addresses.
bool Bypassed(std::string_view host, std::string_view list)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    if (!host.empty() && host.back() == '.') host.remove_suffix(1);
    size_t pos = 0;
    while (pos <= list.size()) {
        size_t end = list.find_first_of(", ", pos);
        if (end == std::string_view::npos) end = list.size();
        std::string_view entry = Trim(list.substr(pos, end - pos));
        pos = end + 1;
        if (entry.empty()) continue;
        if (entry == "*") return true;
        while (!entry.empty() && entry.front() == '.') entry.remove_prefix(1);
        if (!entry.empty() && entry.back() == '.') entry.remove_suffix(1);
        if (entry.size() >= 2 && entry.front() == '[' && entry.back() == ']') {
            entry = entry.substr(1, entry.size() - 2);
        }
        if (entry.empty()) continue;
        if (EqualNoCase(host, entry)) return true;
        if (host.size() > entry.size() && host[host.size() - entry.size() - 1] == '.' &&
            EqualNoCase(host.substr(host.size() - entry.size()), entry)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string ProxyForHost(const std::string& host)
{
    std::string noProxy = Env("no_proxy");
    if (noProxy.empty()) noProxy = Env("NO_PROXY");
    if (Bypassed(host, noProxy)) return {};
    // Upper-case HTTP_PROXY is left out on purpose, as curl does: a web
    // server hands request headers to programs in HTTP_* variables.
    std::string proxy = Env("http_proxy");
    if (proxy.empty()) proxy = Env("all_proxy");
    if (proxy.empty()) proxy = Env("ALL_PROXY");
    return std::string(Trim(proxy));
}

}  // namespace platform

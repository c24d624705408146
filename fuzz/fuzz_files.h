// A private folder in memory (/dev/shm, so the settings writer's flush to
// disk costs nothing) for harnesses that read files, removed at exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cctype>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "fuzz_check.h"

namespace fuzz {

inline std::string Folder()
{
    // A plain array outlives every static object, so the clean-up at exit
    // can still read it.
    static char name[] = "/dev/shm/quillery-fuzz-XXXXXX";
    static const bool made = [] {
        FUZZ_CHECK(::mkdtemp(name));
        std::atexit([] { std::filesystem::remove_all(name); });
        return true;
    }();
    (void)made;
    return name;
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Whether an ini text names one key twice in one group, read the way
// wxFileConfig reads it (escapes, "a/../b" paths, letter case ignored, a
// line without "=" or "]" skipped). wxFileConfig keeps both lines, and
// deleting the entry or its group leaves one of them behind, so such a
// file does not load the same after a save. That is issue 18's item 13,
// mended on its own branch; until it lands here, the harnesses that check
// load, save, load skip these inputs. Delete this function and its two
// callers once it has.
inline bool RepeatsAKey(const std::string& text)
{
    auto unescape = [](const std::string& t) {
        std::string out;
        for (size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '\\' && i + 1 < t.size()) ++i;
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(t[i])));
        }
        return out;
    };
    // The end of the part that starts at `from`, or npos: `stop` ends it
    // unless escaped.
    auto until = [](const std::string& t, size_t from, char stop) {
        for (size_t i = from; i < t.size(); ++i) {
            if (t[i] == '\\') {
                ++i;
            } else if (t[i] == stop) {
                return i;
            }
        }
        return std::string::npos;
    };
    std::set<std::pair<std::string, std::string>> seen;
    std::string group;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        line.erase(0, line.find_first_not_of(" \t\v\f"));
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            const size_t close = until(line, 1, ']');
            if (close == std::string::npos) continue;
            std::vector<std::string> parts;
            const std::string path = unescape(line.substr(1, close - 1));
            size_t p = 0;
            while (p <= path.size()) {
                size_t slash = path.find('/', p);
                if (slash == std::string::npos) slash = path.size();
                const std::string part = path.substr(p, slash - p);
                p = slash + 1;
                if (part.empty() || part == ".") continue;
                if (part == "..") {
                    if (!parts.empty()) parts.pop_back();
                } else {
                    parts.push_back(part);
                }
            }
            group.clear();
            for (const std::string& part : parts) group += "/" + part;
            continue;
        }
        const size_t eq = until(line, 0, '=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        key.erase(key.find_last_not_of(" \t\v\f") + 1);
        if (!seen.emplace(group, unescape(key)).second) return true;
    }
    return false;
}

}  // namespace fuzz

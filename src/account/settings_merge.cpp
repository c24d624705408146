#include "account/settings_merge.h"

#include <wx/arrstr.h>

#include <map>
#include <vector>

namespace {

struct Line {
    wxString text;
    bool dropped = false;  // a later line sets the same key
};

struct Group {
    std::vector<Line> lines;  // the header first, except for the root
    std::map<wxString, size_t> keyLine;  // key → its last line so far
};

bool IsSpace(wxUniChar c) { return c == ' ' || c == '\t' || c == '\r'; }

// Where an unescaped `stop` ends the name starting at `from`, or npos.
size_t NameEnd(const wxString& line, size_t from, wxUniChar stop)
{
    for (size_t i = from; i < line.length(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == stop) {
            return i;
        }
    }
    return wxString::npos;
}

// "/a//b/" and "a/b" name the same group, as the toolkit reads them.
wxString GroupPath(const wxString& name)
{
    wxString path;
    for (const wxString& part : wxSplit(name, '/', '\0')) {
        if (part.empty()) continue;
        path += "/" + part;
    }
    return path;
}

}  // namespace

wxString MergeRepeatedSettings(const wxString& text)
{
    std::vector<Group> groups(1);
    std::map<wxString, size_t> groupIndex{{wxString(), 0}};
    size_t current = 0;
    bool repeated = false;

    const std::vector<wxString> lines = [&] {
        std::vector<wxString> out;
        size_t start = 0;
        for (size_t newline; (newline = text.find('\n', start)) != wxString::npos; start = newline + 1) {
            out.push_back(text.Mid(start, newline - start));
        }
        if (start < text.length()) out.push_back(text.Mid(start));
        return out;
    }();

    for (const wxString& line : lines) {
        size_t start = 0;
        while (start < line.length() && IsSpace(line[start])) ++start;
        const wxUniChar first = start < line.length() ? line[start] : wxUniChar('\0');
        if (first == '[') {
            size_t end = NameEnd(line, start + 1, ']');
            if (end != wxString::npos) {
                wxString path = GroupPath(line.Mid(start + 1, end - start - 1));
                auto [it, added] = groupIndex.emplace(path, groups.size());
                if (added) {
                    groups.push_back(Group{{Line{line}}, {}});
                } else {
                    repeated = true;  // its header line is dropped
                }
                current = it->second;
                continue;
            }
        }
        wxString key;  // empty: no key line (comment, blank, damaged)
        if (first != '\0' && first != ';' && first != '#' && first != '[') {
            size_t equals = NameEnd(line, start, '=');
            if (equals != wxString::npos) key = line.Mid(start, equals - start).Strip(wxString::trailing);
        }
        Group& group = groups[current];
        if (!key.empty()) {
            auto [it, added] = group.keyLine.emplace(key, group.lines.size());
            if (!added) {
                group.lines[it->second].dropped = true;
                it->second = group.lines.size();
                repeated = true;
            }
        }
        group.lines.push_back(Line{line});
    }
    if (!repeated) return text;

    wxString merged;
    for (const Group& group : groups) {
        for (const Line& line : group.lines) {
            if (!line.dropped) merged << line.text << '\n';
        }
    }
    return merged;
}

#include "account/settings_merge.h"

#include <wx/fileconf.h>
#include <wx/mstream.h>

#include <map>
#include <vector>

namespace {

struct Line {
    wxString text;
    wxString key;  // empty: no key line (comment, blank, damaged)
};

struct Group {
    std::vector<Line> lines;  // the header first, except for the root
};

// Leading blanks as the toolkit's reader skips them (\v and \f too).
bool IsSpace(wxUniChar c) { return wxIsspace(c); }

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

// A name as the toolkit stores it: each backslash only escapes the next
// character.
wxString Unescaped(const wxString& name)
{
    wxString out;
    for (size_t i = 0; i < name.length(); ++i) {
        if (name[i] == '\\' && ++i == name.length()) break;
        out += name[i];
    }
    return out;
}

// The group a header names, as the toolkit finds it: "/a//b/", "a/./b",
// "x/../a/b", "A\/B" and "a/b" are one group, and names ignore case.
// The toolkit's own path walk decides, so no rule of it is copied here.
wxString GroupPath(const wxString& name)
{
    wxMemoryInputStream nothing("", 0);
    wxFileConfig scratch(nothing);
    scratch.SetPath("/" + Unescaped(name));
    return scratch.GetPath().Lower();
}

// The entry a key line sets, from its unescaped name: without the "!" that
// only marks it read-only, letter case ignored.
wxString KeyOf(wxString key)
{
    if (key.StartsWith("!")) key.erase(0, 1);
    return key.Lower();
}

}  // namespace

wxString MergeRepeatedSettings(const wxString& text)
{
    std::vector<Group> groups(1);
    std::map<wxString, size_t> groupIndex{{wxString(), 0}};
    size_t current = 0;
    bool repeated = false;

    // Lines end where the toolkit's reader ends them: at "\r\n", "\n" or a
    // lone "\r".
    const std::vector<wxString> lines = [&] {
        std::vector<wxString> out;
        wxString line;
        for (size_t i = 0; i < text.length(); ++i) {
            const wxUniChar c = text[i];
            if (c != '\n' && c != '\r') {
                line += c;
                continue;
            }
            if (c == '\r' && i + 1 < text.length() && text[i + 1] == '\n') ++i;
            out.push_back(line);
            line.clear();
        }
        if (!line.empty()) out.push_back(line);
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
                    groups.push_back(Group{{Line{line, wxString()}}});
                } else {
                    repeated = true;  // its header line is dropped
                }
                current = it->second;
                continue;
            }
        }
        Line entry{line, wxString()};
        if (first != '\0' && first != ';' && first != '#' && first != '[') {
            size_t equals = NameEnd(line, start, '=');
            if (equals != wxString::npos) {
                const wxString name = Unescaped(line.Mid(start, equals - start).Strip(wxString::trailing));
                // "=x" sets nothing, and the toolkit's reader fails an
                // assertion on it, which the GUI shows as a debug box.
                if (name.empty()) {
                    repeated = true;
                    continue;
                }
                entry.key = KeyOf(name);
            }
        }
        std::vector<Line>& groupLines = groups[current].lines;
        if (!entry.key.empty()) {
            for (auto it = groupLines.begin(); it != groupLines.end(); ++it) {
                if (it->key == entry.key) {
                    groupLines.erase(it);
                    repeated = true;
                    break;
                }
            }
        }
        groupLines.push_back(entry);
    }
    if (!repeated) return text;

    wxString merged;
    for (const Group& group : groups) {
        for (const Line& line : group.lines) merged << line.text << '\n';
    }
    return merged;
}

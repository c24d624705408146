#include "settings/settings_merge.h"

#include <wx/fileconf.h>
#include <wx/mstream.h>

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
        size_t start = 0;
        for (size_t end; (end = text.find_first_of("\r\n", start)) != wxString::npos;) {
            out.push_back(text.Mid(start, end - start));
            start = end + (text[end] == '\r' && end + 1 < text.length() && text[end + 1] == '\n' ? 2 : 1);
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
            if (equals != wxString::npos) {
                const wxString name = Unescaped(line.Mid(start, equals - start).Strip(wxString::trailing));
                // "=x" sets nothing, and the toolkit's reader fails an
                // assertion on it, which the GUI shows as a debug box.
                if (name.empty()) {
                    repeated = true;
                    continue;
                }
                key = KeyOf(name);
            }
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

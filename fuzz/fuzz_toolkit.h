// For harnesses that run the toolkit's own readers (wxFileConfig).
#pragma once

#include <cstdio>
#include <cstdlib>

#include <wx/debug.h>
#include <wx/string.h>

namespace fuzz {

// A toolkit assertion on a file's contents would reach the user as a debug
// box: each one counts as a finding.
inline void FailOnToolkitAssertion()
{
    wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond,
                          const wxString&) {
        std::fprintf(stderr, "toolkit assertion: %s (%s:%d)\n", static_cast<const char*>(cond.utf8_str()),
                     static_cast<const char*>(file.utf8_str()), line);
        std::abort();
    });
}

}  // namespace fuzz

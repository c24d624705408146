#include "ui/cue.h"

#include "platform/sound_cue.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>

wxString FindCueFile(const wxString& name, const wxString& executableDir,
                     const wxString& installedDir) {
    // Only plain file names are cues; anything with a path part would let a
    // caller reach outside the cue folders.
    if (name.empty() || name.find_first_of(wxS("/\\")) != wxString::npos || name == wxS("..")) {
        return wxString();
    }
    wxFileName beside(executableDir, name);
    beside.AppendDir(wxS("sous"));
    if (!executableDir.empty() && beside.FileExists()) return beside.GetFullPath();
    wxFileName installed(installedDir, name);
    if (!installedDir.empty() && installed.FileExists()) return installed.GetFullPath();
    return wxString();
}

wxString InstalledCueDir() { return wxString::FromUTF8(QUILLERY_CUE_DIR); }

void PlayCue(const wxString& name, bool wait) {
    wxString executableDir = wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath();
    wxString path = FindCueFile(name, executableDir, InstalledCueDir());
    if (path.empty()) return;
    const std::string file(path.utf8_str());
    if (wait) {
        platform::PlaySoundFile(file, true);
    } else {
        platform::StartSoundFile(file);
    }
}

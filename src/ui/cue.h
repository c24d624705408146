// The sound cues that mark moving through the program: "zr.wav" start,
// "jr.wav" entering, "fh.wav" going back or closing a dialog, "yj.wav" a
// context menu, "tc.wav" exit.
#pragma once

#include <wx/string.h>

// Plays the named cue file; silent and immediate when the file or the sound
// server is missing. With `wait` set it returns when the sound has finished.
void PlayCue(const wxString& name, bool wait);

// Where a cue file is looked up: the folder "sous" beside the executable
// first (a build tree or an unpacked copy), then the installed data folder.
// Returns the first existing file, or an empty text when there is none.
wxString FindCueFile(const wxString& name, const wxString& executableDir,
                     const wxString& installedDir);

// The installed cue folder this build was configured for.
wxString InstalledCueDir();

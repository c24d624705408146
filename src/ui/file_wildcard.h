// File choosers that find every file. GTK matches a chooser's patterns
// case-sensitively and "*.*" only matches names with a dot, so SONG.MP3
// would hide under "*.mp3" and a file without an extension under "所有文件".
// Every chooser passes its wildcard through here first; the descriptions
// the user sees stay as they are.
#pragma once

#include <wx/string.h>

// The wildcard ("description|patterns|description|patterns…") with every
// pattern made case-insensitive ("*.mp3" -> "*.[mM][pP]3") and "*.*" as "*".
wxString FileChooserWildcard(const wxString& wildcard);

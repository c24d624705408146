// A settings.ini edited by hand or merged from two copies may name a group
// or a key twice. The toolkit's reader takes a repeated key's value from its
// last line but keeps the earlier lines in the text it writes back, so
// deleting the key (a forgotten password) or its group would leave them in
// the file, and the next load would read them again.
#pragma once

#include <wx/string.h>

// The same settings text with each group named once (its later sections
// joined to the first, in file order) and each key of a group kept only at
// its last line, where its value comes from; a line with an empty key
// ("=x") is dropped. Text without either is returned unchanged.
wxString MergeRepeatedSettings(const wxString& text);

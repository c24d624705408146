// What a screen reader hears of a check box: its label without mnemonic
// markers as the name, its help text as the description. GTK reports the
// check-box role and the checked, disabled and focused states itself, so
// only the texts need to be handed on (wxGTK passes no window texts).
#pragma once

#include <wx/string.h>

class wxCheckBox;

class CheckBoxAccessible {
public:
    // Call after the box's label is set; `help` becomes its help text.
    static void Attach(wxCheckBox* box, const wxString& help);
};

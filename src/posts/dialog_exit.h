// The ways out of a post dialog that may hold unsaved text, shared by the
// post detail dialog and the composer: Backspace that edits text stays in
// the box, and every way out (Esc, Backspace, the cancel button, the close
// box) asks first, then ends with the "fh.wav" cue and wxID_CANCEL.
#pragma once

#include "ui/cue.h"
#include "platform/window_focus.h"

#include <wx/dialog.h>
#include <wx/event.h>
#include <wx/textctrl.h>

#include <initializer_list>

namespace post_dialogs {

// Backspace deletes text when one of `boxes` has the focus, can be edited
// and has a selection or text before the caret.
inline bool BackspaceEditsText(std::initializer_list<wxTextCtrl*> boxes) {
    for (wxTextCtrl* box : boxes) {
        if (!platform::HasFocusInItsWindow(box)) continue;
        if (!box->IsEditable()) return false;
        long from = 0, to = 0;
        box->GetSelection(&from, &to);
        return from != to || box->GetInsertionPoint() > 0;
    }
    return false;
}

// The cue and result of leaving; the dialog then ends itself (EndDialog).
inline void LeaveWithCue(wxDialog& dialog) {
    PlayCue(wxS("fh.wav"), false);
    dialog.SetReturnCode(wxID_CANCEL);
}

// The close box: false when the window stays (the user kept the text).
// Otherwise the dialog ends itself here: the toolkit's own close handling
// would press the cancel button, which asks the question a second time.
inline bool MayClose(wxCloseEvent& event, bool mayLeave) {
    if (!mayLeave && event.CanVeto()) {
        event.Veto();
        return false;
    }
    return true;
}

}  // namespace post_dialogs

// The personal centre's key hook. Enter is consumed here: a GTK list box
// would also activate its row on the same key press (reported as a double
// click), loading a function or opening a post a second time.
#include "account/personal_center_dialog.h"

#include "ui/cue.h"
#include "platform/window_focus.h"

#include <wx/listbox.h>

int PersonalCenterDialog::TabListWithFocus() const
{
    for (int i = 0; i < kTabCount; ++i)
        if (platform::HasFocusInItsWindow(tabPages_[static_cast<size_t>(i)].list)) return i;
    return -1;
}

void PersonalCenterDialog::OnCharHook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_BACK || key == WXK_ESCAPE) {
        PlayCue(wxS("fh.wav"), false);
        EndDialog(wxID_CANCEL);
        return;
    }
    if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
        if (platform::HasFocusInItsWindow(navList_)) {
            LoadSelectedFunction();
            return;
        }
        if (platform::HasFocusInItsWindow(resultList_)) {
            OpenSelectedResult();
            return;
        }
        if (const int tab = TabListWithFocus(); tab >= 0) {
            if (State().TabLoaded(tab))
                OpenSelectedTabLine(tab);
            else
                EnsureTabLoaded(tab);
            return;
        }
    }
    event.Skip();
}

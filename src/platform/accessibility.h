// What screen readers see of our windows. wxGTK does not pass window names
// to the accessibility tree, so every window calls these right after
// building its controls: names and help texts, a status bar that screen
// readers can find and read, spoken announcements, and no silent Tab stops.
#pragma once

#include <wx/statusbr.h>
#include <wx/string.h>

class wxFrame;
class wxWindow;

namespace a11y {

// The name a screen reader announces when the control gets the focus, and
// the description it reads on request (the control's help text).
void SetAccessibleName(wxWindow* control, const wxString& name);
void SetAccessibleDescription(wxWindow* control, const wxString& description);
// Both from the control's own window name and help text.
void ExposeNameAndHelp(wxWindow* control);

// Standard prompt dialogs (text entry, single choice) show their prompt as
// a plain label that screen readers do not tie to the field: names the
// dialog's entry field or list after `prompt`. Call before showing it.
void NamePromptField(wxWindow* dialog, const wxString& prompt);

// Takes the unnamed arrow button of a combo box out of the Tab order (the
// list still opens with Alt+Down). Does nothing for other controls.
void RemoveSilentTabStops(wxWindow* control);

// Has the screen reader speak `text` at once without moving the focus.
// `near` is any control or panel of the window that speaks.
void Announce(wxWindow* near, const wxString& text);

// A status bar with the status-bar role whose accessible name always equals
// field 0, whichever way the text changes (SetStatusText, Push/Pop).
class AccessibleStatusBar : public wxStatusBar {
public:
    explicit AccessibleStatusBar(wxWindow* parent);

protected:
    void DoUpdateStatusText(int field) override;
};

// Creates an AccessibleStatusBar with `fields` fields and installs it on the
// frame, so frame->SetStatusText keeps the accessible name in step.
AccessibleStatusBar* CreateAccessibleStatusBar(wxFrame* frame, int fields);

}  // namespace a11y

// What screen readers see of our windows. wxGTK does not pass window names
// to the accessibility tree, so every window calls these right after
// building its controls: names and help texts, a status bar that screen
// readers can find and read, spoken announcements, and no silent Tab stops.
#pragma once

#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/string.h>

class wxComboBox;
class wxFrame;
class wxListBox;
class wxTextCtrl;
class wxTopLevelWindow;
class wxWindow;

namespace a11y {

// The name a screen reader announces when the control gets the focus, and
// the description it reads on request (the control's help text).
void SetAccessibleName(wxWindow* control, const wxString& name);
void SetAccessibleDescription(wxWindow* control, const wxString& description);
// Both from the control's own window name and help text.
void ExposeNameAndHelp(wxWindow* control);

// Standard prompt dialogs (text entry, number entry, single choice) show their prompt as
// a plain label that screen readers do not tie to the field: names the
// dialog's entry field or list after `prompt`. Call before showing it.
void NamePromptField(wxWindow* dialog, const wxString& prompt);

// A static text or box that labels no other control. The toolkit ties
// each one to the next control the keyboard reaches, as that control's
// label: a heading or a value line standing before a box would be spoken
// as part of the box's name, and a box's title as part of the next
// control's. Use for texts that stand on their own.
template <class Base>
class Unattached : public Base {
public:
    using Base::Base;

protected:
#ifdef __WXGTK__
    bool GTKWidgetNeedsMnemonic() const override { return false; }
#endif
};
using UnattachedText = Unattached<wxStaticText>;
using UnattachedBox = Unattached<wxStaticBox>;

// Takes the unnamed arrow button of a combo box out of the Tab order (the
// list still opens with Alt+Down). Does nothing for other controls.
void RemoveSilentTabStops(wxWindow* control);

// Has the screen reader speak `text` at once without moving the focus.
// `near` is any control or panel of the window that speaks.
void Announce(wxWindow* near, const wxString& text);

// Lists: call after every refill of a list box (Set, Clear and Append, a
// new selection), in main windows and dialogs alike. The screen reader
// still holds the rows that were removed and says nothing; this makes the
// selected row the list's live focused row, so it is read as if the user
// had just arrived on it. Harmless while the list has no focus.
void ListRefilled(wxListBox* list);

// A read-only combo box (a choice among fixed texts): call once after
// creating it, instead of ExposeNameAndHelp. Its value is read whole and
// its name once (the text field inside no longer repeats it).
void ExposeReadOnlyChoice(wxComboBox* choice);
// Call from the choice's selection handler: speaks the new value while the
// choice has the focus (Up and Down change it silently otherwise).
void ChoiceChanged(wxComboBox* choice);

// A read-only text box whose text was just set: reading starts at the top,
// not at the last line where the caret was left.
void OpenAtStart(wxTextCtrl* box);

// Dialogs: call in the constructor of every wxDialog, so it is presented
// as a dialog rather than a frame. Standard dialogs get the role anyway.
void ExposeAsDialog(wxTopLevelWindow* dialog);

// Message boxes and questions (wxMessageDialog) are named by their caption
// instead of the toolkit's English type word ("Error", "Question"). The
// message-box helpers in ui/message_box.h call this; call it before showing
// a wxMessageDialog of your own.
void NameMessageBoxesByCaption();

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

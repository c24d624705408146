// The one shared look of every window: warm off-white backgrounds, dark
// grey text, teal headings and buttons. Windows never pick colours or fonts
// themselves; they call one of these on each control right after creating it.
#pragma once

class wxWindow;
class wxFrame;
class wxDialog;
class wxPanel;
class wxStaticText;
class wxControl;
class wxTextCtrl;
class wxButton;

void StyleFrame(wxFrame* frame);
void StyleDialog(wxDialog* dialog);
// White panels stand out as cards; the others blend into their dialog.
void StylePanel(wxPanel* panel, bool white);
// Notebooks, check boxes and similar containers.
void StylePage(wxWindow* control);
void StyleHeading(wxStaticText* text);
void StyleFieldLabel(wxStaticText* text);
void StyleHint(wxStaticText* text);
// List boxes and combo boxes.
void StyleList(wxWindow* control);
void StyleTextBox(wxTextCtrl* box, bool readOnly);
void StylePrimaryButton(wxButton* button);
void StyleSecondaryButton(wxButton* button);

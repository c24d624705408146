#include "ui/look.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

const wxColour kWindowBackground(246, 242, 234);
const wxColour kDialogBackground(252, 249, 244);
const wxColour kWhite(255, 255, 255);
const wxColour kReadOnlyBackground(248, 250, 249);
const wxColour kText(36, 39, 44);
const wxColour kTeal(32, 92, 84);
const wxColour kHintText(105, 111, 118);
const wxColour kSecondaryButton(225, 236, 232);
const wxSize kButtonMinSize(88, 34);

// The platform's default face at a fixed size; bold is weight 700.
wxFont SizedFont(int points, bool bold) {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    font.SetPointSize(points);
    font.SetNumericWeight(bold ? 700 : 400);
    return font;
}

void Paint(wxWindow* w, const wxColour& background, const wxColour& text) {
    w->SetBackgroundColour(background);
    w->SetForegroundColour(text);
}

}  // namespace

void StyleFrame(wxFrame* frame) { Paint(frame, kWindowBackground, kText); }

void StyleDialog(wxDialog* dialog) { Paint(dialog, kDialogBackground, kText); }

void StylePanel(wxPanel* panel, bool white) {
    Paint(panel, white ? kWhite : kDialogBackground, kText);
}

void StylePage(wxWindow* control) {
    Paint(control, kDialogBackground, kText);
    control->SetFont(SizedFont(10, false));
}

void StyleHeading(wxStaticText* text) {
    text->SetForegroundColour(kTeal);
    text->SetFont(SizedFont(14, true));
}

void StyleFieldLabel(wxStaticText* text) {
    text->SetForegroundColour(kText);
    text->SetFont(SizedFont(10, true));
}

void StyleHint(wxStaticText* text) {
    text->SetForegroundColour(kHintText);
    text->SetFont(SizedFont(9, false));
}

void StyleList(wxWindow* control) {
    Paint(control, kWhite, kText);
    control->SetFont(SizedFont(10, false));
}

void StyleTextBox(wxTextCtrl* box, bool readOnly) {
    Paint(box, readOnly ? kReadOnlyBackground : kWhite, kText);
    box->SetFont(SizedFont(10, false));
}

void StylePrimaryButton(wxButton* button) {
    Paint(button, kTeal, kWhite);
    button->SetFont(SizedFont(10, true));
    button->SetMinSize(kButtonMinSize);
}

void StyleSecondaryButton(wxButton* button) {
    Paint(button, kSecondaryButton, kTeal);
    button->SetFont(SizedFont(10, true));
    button->SetMinSize(kButtonMinSize);
}

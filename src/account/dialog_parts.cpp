#include "account/dialog_parts.h"

#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "platform/accessibility.h"
#include "ui/look.h"

namespace account_ui {

void AddHeading(wxWindow* parent, wxSizer* column, const wxString& heading, const wxString& keyHint)
{
    auto* title = new wxStaticText(parent, wxID_ANY, heading);
    StyleHeading(title);
    column->Add(title, 0, wxBOTTOM, 8);
    auto* hint = new wxStaticText(parent, wxID_ANY, keyHint);
    StyleHint(hint);
    column->Add(hint, 0, wxBOTTOM, 12);
}

wxFlexGridSizer* AddFieldGrid(wxSizer* column)
{
    auto* grid = new wxFlexGridSizer(2, 12, 12);
    grid->AddGrowableCol(1, 1);
    column->Add(grid, 0, wxEXPAND | wxBOTTOM, 12);
    return grid;
}

void AddFieldLabel(wxWindow* parent, wxFlexGridSizer* grid, const wxString& label)
{
    auto* text = new wxStaticText(parent, wxID_ANY, label);
    StyleFieldLabel(text);
    grid->Add(text, 0, wxALIGN_CENTER_VERTICAL);
}

wxTextCtrl* MakeTextBox(wxWindow* parent, const wxString& name, const wxString& hint, bool password)
{
    auto* box = new wxTextCtrl(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                               (password ? wxTE_PASSWORD : 0) | wxTE_PROCESS_ENTER, wxDefaultValidator, name);
    StyleTextBox(box, false);
    a11y::SetAccessibleName(box, name);
    if (!hint.empty()) {
        box->SetHint(hint);
        box->SetHelpText(hint);
        a11y::SetAccessibleDescription(box, hint);
    }
    return box;
}

void FitAndCentre(wxDialog* dialog, const wxSize& minimum)
{
    dialog->SetMinSize(minimum);
    wxSize size = dialog->GetSize();
    size.IncTo(dialog->GetBestSize());
    dialog->SetSize(size);
    dialog->CentreOnParent(wxBOTH);
}

}  // namespace account_ui

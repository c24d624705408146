#include "platform/accessibility.h"

#include <wx/listbox.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>

namespace a11y {
namespace {

wxWindow* FindField(wxWindow* parent) {
    for (wxWindow* child : parent->GetChildren()) {
        // IsKindOf, not wxDynamicCast: that macro first casts the base pointer
        // down statically, which is undefined for the other controls.
        if (child->IsKindOf(wxCLASSINFO(wxTextCtrl)) || child->IsKindOf(wxCLASSINFO(wxListBox)) ||
            child->IsKindOf(wxCLASSINFO(wxSpinCtrl)))
            return child;
        if (wxWindow* inner = FindField(child)) return inner;
    }
    return nullptr;
}

}  // namespace

void NamePromptField(wxWindow* dialog, const wxString& prompt) {
    if (!dialog) return;
    if (wxWindow* field = FindField(dialog)) {
        field->SetName(prompt);
        SetAccessibleName(field, prompt);
    }
}

}  // namespace a11y

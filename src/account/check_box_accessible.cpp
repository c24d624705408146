#include "account/check_box_accessible.h"

#include <wx/checkbox.h>

#include "platform/accessibility.h"

void CheckBoxAccessible::Attach(wxCheckBox* box, const wxString& help)
{
    if (!box) return;
    // Kept by the toolkit only when a help provider exists; the screen
    // reader gets it either way.
    box->SetHelpText(help);
    a11y::SetAccessibleName(box, box->GetLabelText());
    if (!help.empty()) a11y::SetAccessibleDescription(box, help);
}

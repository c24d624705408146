// Pieces both login windows are built from, so they look and speak alike.
#pragma once

#include <wx/string.h>

class wxDialog;
class wxFlexGridSizer;
class wxSize;
class wxSizer;
class wxTextCtrl;
class wxWindow;

namespace account_ui {

// Heading and key hint at the top of the window's column.
void AddHeading(wxWindow* parent, wxSizer* column, const wxString& heading, const wxString& keyHint);

// A two-column grid (12 × 12 gaps) whose second column grows.
wxFlexGridSizer* AddFieldGrid(wxSizer* column);

// A field label in the grid's first column.
void AddFieldLabel(wxWindow* parent, wxFlexGridSizer* grid, const wxString& label);

// An editable text box named for screen readers; `hint` is the grey text of
// the empty box and also its spoken description. Enter in it raises
// wxEVT_TEXT_ENTER for the window to press its default button: GTK's own
// default activation was not reliable before the focus had left the box.
wxTextCtrl* MakeTextBox(wxWindow* parent, const wxString& name, const wxString& hint, bool password);

// Sizes a built window: at least `minimum`, and grown to its best size so
// larger fonts never push the buttons out of sight; centred on its parent.
void FitAndCentre(wxDialog* dialog, const wxSize& minimum);

}  // namespace account_ui

#pragma once

// Every message box of the program, with buttons labelled in Chinese.

#include <wx/string.h>

class wxWindow;

// A modal wxMessageDialog; an OK button reads "确定". Returns the dialog's result.
int ShowMessageBox(wxWindow* parent, const wxString& message, const wxString& caption, long style);

// Failure box (wxOK | wxICON_ERROR) and notice box (wxOK | wxICON_INFORMATION).
void ShowErrorBox(wxWindow* parent, const wxString& caption, const wxString& message);
void ShowNoticeBox(wxWindow* parent, const wxString& message);

// Relabels a standard dialog's wxID_OK and wxID_CANCEL buttons where present.
void SetOkCancelLabels(wxWindow* dialog, const wxString& okLabel, const wxString& cancelLabel);

// A yes/no question answered "确定" or "取消", "取消" being the default.
// True only when the user chose "确定". `icon` is wxICON_QUESTION unless
// the step cannot be undone (wxICON_WARNING).
bool AskConfirmation(wxWindow* parent, const wxString& message, const wxString& caption,
                     long icon = wxICON_QUESTION);

// The labels the boxes use, for windows that build their own buttons.
wxString OkLabel();
wxString CancelLabel();

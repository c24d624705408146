#include "ui/message_box.h"

#include "platform/accessibility.h"
#include "ui/focus_return.h"
#include "ui/window_closer.h"

#include <wx/button.h>
#include <wx/msgdlg.h>

wxString OkLabel() { return wxS("确定"); }
wxString CancelLabel() { return wxS("取消"); }

int ShowMessageBox(wxWindow* parent, const wxString& message, const wxString& caption, long style)
{
    // A window is being closed: a box now (most often the failure of the
    // call the close cancelled) would only hold the close up.
    if (window_closer::ClosePending())
        return wxID_CANCEL;
    window_closer::BoxShown shown;
    wxWindow* opener = wxWindow::FindFocus();
    a11y::NameMessageBoxesByCaption();
    wxMessageDialog dialog(parent, message, caption, style);
    if (style & wxOK)
        dialog.SetOKLabel(OkLabel());
    const int answer = dialog.ShowModal();
    focus_return::ReturnLater(opener);
    return answer;
}

void ShowErrorBox(wxWindow* parent, const wxString& caption, const wxString& message)
{
    ShowMessageBox(parent, message, caption, wxOK | wxICON_ERROR);
}

void ShowNoticeBox(wxWindow* parent, const wxString& message)
{
    ShowMessageBox(parent, message, wxS("提示"), wxOK | wxICON_INFORMATION);
}

void SetOkCancelLabels(wxWindow* dialog, const wxString& okLabel, const wxString& cancelLabel)
{
    if (dialog == nullptr)
        return;
    if (wxWindow* ok = dialog->FindWindow(wxID_OK))
        ok->SetLabel(okLabel);
    if (wxWindow* cancel = dialog->FindWindow(wxID_CANCEL))
        cancel->SetLabel(cancelLabel);
}

bool AskConfirmation(wxWindow* parent, const wxString& message, const wxString& caption, long icon)
{
    // No consent is given while a window is being closed.
    if (window_closer::ClosePending())
        return false;
    window_closer::BoxShown shown;
    wxWindow* opener = wxWindow::FindFocus();
    a11y::NameMessageBoxesByCaption();
    wxMessageDialog dialog(parent, message, caption, wxYES_NO | wxNO_DEFAULT | icon);
    dialog.SetYesNoLabels(OkLabel(), CancelLabel());
    const bool yes = dialog.ShowModal() == wxID_YES;
    focus_return::ReturnLater(opener);
    return yes;
}

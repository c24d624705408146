#include "account/credential_flow_dialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "ui/call_guard.h"
#include "account/dialog_parts.h"
#include "ui/request_forms.h"
#include "ui/look.h"
#include "ui/message_box.h"

namespace {

wxString Trimmed(wxString text) { return text.Trim(true).Trim(false); }

}  // namespace

CredentialFlowDialog::CredentialFlowDialog(wxWindow* parent, const ApiClient& client, bool reset)
    : wxDialog(parent, wxID_ANY, TextsForMode(reset).title, wxDefaultPosition, wxSize(480, 300),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      apiClient(client),
      resetMode(reset),
      texts(TextsForMode(reset))
{
    StyleDialog(this);
    BuildControls();
    account_ui::FitAndCentre(this, wxSize(480, 300));
    mobileBox->SetFocus();
}

void CredentialFlowDialog::BuildControls()
{
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* column = new wxBoxSizer(wxVERTICAL);
    outer->Add(column, 1, wxEXPAND | wxALL, 16);
    account_ui::AddHeading(this, column, texts.title, wxS("Tab 切换控件，Enter 确认当前操作，Esc 取消。"));

    wxFlexGridSizer* grid = account_ui::AddFieldGrid(column);
    account_ui::AddFieldLabel(this, grid, wxS("手机号"));
    mobileBox = account_ui::MakeTextBox(this, wxS("手机号输入框"), wxS("请输入手机号"), false);
    grid->Add(mobileBox, 1, wxEXPAND);
    account_ui::AddFieldLabel(this, grid, wxS("密码"));
    passwordBox = account_ui::MakeTextBox(this, wxS("密码输入框"), wxString(), true);
    grid->Add(passwordBox, 1, wxEXPAND);
    account_ui::AddFieldLabel(this, grid, wxS("验证码"));
    auto* codeRow = new wxBoxSizer(wxHORIZONTAL);
    codeBox = account_ui::MakeTextBox(this, wxS("验证码输入框"), wxS("请输入短信验证码"), false);
    codeRow->Add(codeBox, 1, wxRIGHT | wxALIGN_CENTER_VERTICAL, 8);
    sendCodeButton = new wxButton(this, wxID_ANY, wxS("发送验证码"));
    StyleSecondaryButton(sendCodeButton);
    codeRow->Add(sendCodeButton, 0);
    grid->Add(codeRow, 1, wxEXPAND);

    column->AddStretchSpacer();
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    submitButton = new wxButton(this, wxID_OK, texts.submitLabel);
    StylePrimaryButton(submitButton);
    auto* cancel = new wxButton(this, wxID_CANCEL, wxS("取消"));
    StyleSecondaryButton(cancel);
    buttons->Add(submitButton, 0, wxRIGHT, 8);
    buttons->Add(cancel, 0);
    column->Add(buttons, 0, wxALIGN_RIGHT);
    submitButton->SetDefault();
    SetEscapeId(wxID_CANCEL);
    SetSizer(outer);

    sendCodeButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSendCode(); });
    // Replaces the default OK handling, which would end with wxID_OK unasked.
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSubmit(); }, wxID_OK);
    Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnSubmit(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { if (!busy) EndModal(wxID_CANCEL); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (busy && event.CanVeto())
            event.Veto();
        else
            event.Skip();
    });
}

void CredentialFlowDialog::Focus(LoginField field)
{
    wxTextCtrl* box = field == LoginField::Code ? codeBox : field == LoginField::Password ? passwordBox : mobileBox;
    box->SetFocus();
}

void CredentialFlowDialog::OnSendCode()
{
    if (busy) return;
    const wxString number = Trimmed(mobileBox->GetValue());
    if (std::optional<InputProblem> problem = CheckSendCodeInput(number)) {
        ShowNoticeBox(this, problem->message);
        Focus(problem->field);
        return;
    }
    ApiResult sent;
    {
        CallGuard guard(busy, {sendCodeButton});
        sent = RunBusy([&] { return apiClient.SendVerifyCode(number); });
    }
    if (!sent.success) {
        ShowErrorBox(this, wxS("发送验证码失败"), sent.message);
        return;
    }
    ShowNoticeBox(this, wxS("验证码已发送，请查收短信。"));
    Focus(LoginField::Code);
}

void CredentialFlowDialog::OnSubmit()
{
    if (busy) return;
    mobile = Trimmed(mobileBox->GetValue());
    password = passwordBox->GetValue();
    const wxString code = Trimmed(codeBox->GetValue());
    if (std::optional<InputProblem> problem = CheckCredentialInput(mobile, password, code)) {
        ShowNoticeBox(this, problem->message);
        Focus(problem->field);
        return;
    }
    {
        CallGuard guard(busy, {submitButton, sendCodeButton});
        result = RunBusy([&] {
            return resetMode ? apiClient.ResetPassword(mobile, password, code)
                             : apiClient.Register(mobile, password, code);
        });
    }
    if (!result.ok) {
        ShowErrorBox(this, texts.failureCaption, result.message);
        return;
    }
    EndModal(wxID_OK);
}

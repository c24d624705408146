#include "account/login_dialog.h"

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "ui/call_guard.h"
#include "account/check_box_accessible.h"
#include "account/credential_flow_dialog.h"
#include "account/dialog_parts.h"
#include "ui/request_forms.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "settings/login_credentials.h"

namespace {

// The saved login; a remembered password may be in the keyring, which can
// take a moment to answer, so it is read under the responsive wait.
LoginSettings LoadStoredLogin()
{
    const LoginSettings file = SettingsStore().LoadLoginSettings();
    if (!file.rememberPassword || file.mobile.empty()) return file;
    return RunBusy([] { return LoginCredentials().Load(); });
}

wxCheckBox* MakeCheckBox(wxWindow* parent, const wxString& label, const wxString& name, const wxString& help,
                         bool ticked)
{
    auto* box = new wxCheckBox(parent, wxID_ANY, label, wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator,
                               name);
    StylePage(box);
    box->SetValue(ticked);
    CheckBoxAccessible::Attach(box, help);
    return box;
}

wxButton* MakeButton(wxWindow* parent, wxSizer* row, int id, const wxString& label, bool primary)
{
    auto* button = new wxButton(parent, id, label);
    if (primary)
        StylePrimaryButton(button);
    else
        StyleSecondaryButton(button);
    row->Add(button, 0, wxLEFT, row->IsEmpty() ? 0 : 8);
    return button;
}

wxString Trimmed(wxString text) { return text.Trim(true).Trim(false); }

}  // namespace

LoginDialog::LoginDialog(wxWindow* parent, const ApiClient& client)
    : wxDialog(parent, wxID_ANY, wxS("登录"), wxDefaultPosition, wxSize(440, 280),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      apiClient(client)
{
    StyleDialog(this);
    BuildControls();
    BindEvents();
    account_ui::FitAndCentre(this, wxSize(440, 280));
    accountBox->SetFocus();
}

void LoginDialog::BuildControls()
{
    const LoginSettings stored = LoadStoredLogin();
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* column = new wxBoxSizer(wxVERTICAL);
    outer->Add(column, 1, wxEXPAND | wxALL, 16);
    account_ui::AddHeading(this, column, wxS("账号登录"), wxS("Tab 切换控件，Enter 执行登录，Esc 取消。"));

    wxFlexGridSizer* grid = account_ui::AddFieldGrid(column);
    account_ui::AddFieldLabel(this, grid, wxS("账号"));
    accountBox = account_ui::MakeTextBox(this, wxS("账号输入框"), wxS("请输入手机号"), false);
    accountBox->ChangeValue(stored.mobile);
    grid->Add(accountBox, 1, wxEXPAND);
    account_ui::AddFieldLabel(this, grid, wxS("密码"));
    passwordBox = account_ui::MakeTextBox(this, wxS("密码输入框"), wxString(), true);
    passwordBox->ChangeValue(stored.password);
    grid->Add(passwordBox, 1, wxEXPAND);

    auto* checks = new wxBoxSizer(wxHORIZONTAL);
    rememberBox = MakeCheckBox(this, wxS("记住密码"), wxS("记住密码复选框"), wxS("勾选后保存当前密码。"),
                               stored.rememberPassword);
    autoLoginBox = MakeCheckBox(this, wxS("自动登录"), wxS("自动登录复选框"),
                                wxS("勾选后下次启动自动使用已保存密码登录。"), stored.autoLogin);
    checks->Add(rememberBox, 0, wxRIGHT, 16);
    checks->Add(autoLoginBox, 0);
    column->Add(checks, 0, wxBOTTOM, 12);

    column->AddStretchSpacer();
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    loginButton = MakeButton(this, buttons, wxID_OK, wxS("登录(&L)"), true);
    MakeButton(this, buttons, wxID_CANCEL, wxS("取消"), false);
    registerButton = MakeButton(this, buttons, ID_REGISTER, wxS("注册(&R)"), false);
    findPasswordButton = MakeButton(this, buttons, ID_FIND_PASSWORD, wxS("找回密码(&F)"), false);
    column->Add(buttons, 0, wxALIGN_RIGHT);
    loginButton->SetDefault();
    SetEscapeId(wxID_CANCEL);
    SetSizer(outer);
}

void LoginDialog::BindEvents()
{
    wxAcceleratorEntry keys[] = {
        {wxACCEL_ALT, 'A', ID_FOCUS_ACCOUNT},
        {wxACCEL_ALT, 'P', ID_FOCUS_PASSWORD},
        {wxACCEL_ALT, 'R', ID_REGISTER},
        {wxACCEL_ALT, 'F', ID_FIND_PASSWORD},
    };
    SetAcceleratorTable(wxAcceleratorTable(WXSIZEOF(keys), keys));

    // The OK button's own handler replaces the default one, which would end
    // the dialog with wxID_OK whatever the server said.
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnLogin(); }, wxID_OK);
    Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnLogin(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { if (!busy) EndModal(wxID_CANCEL); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (busy && event.CanVeto())
            event.Veto();
        else
            event.Skip();
    });
    auto credentialFlow = [this](wxCommandEvent& event) {
        if (!busy) OpenCredentialFlow(event.GetId() == ID_FIND_PASSWORD);
    };
    for (int id : {static_cast<int>(ID_REGISTER), static_cast<int>(ID_FIND_PASSWORD)}) {
        Bind(wxEVT_BUTTON, credentialFlow, id);
        Bind(wxEVT_MENU, credentialFlow, id);
    }
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Focus(LoginField::Account); }, ID_FOCUS_ACCOUNT);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Focus(LoginField::Password); }, ID_FOCUS_PASSWORD);
    // Changing a box from code raises no event, so the two rules never chase each other.
    rememberBox->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { ShowChoice(AfterRememberChanged(Choice())); });
    autoLoginBox->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { ShowChoice(AfterAutoLoginChanged(Choice())); });
}

RememberChoice LoginDialog::Choice() const
{
    return RememberChoice{rememberBox->GetValue(), autoLoginBox->GetValue()};
}

void LoginDialog::ShowChoice(RememberChoice choice)
{
    rememberBox->SetValue(choice.rememberPassword);
    autoLoginBox->SetValue(choice.autoLogin);
}

void LoginDialog::Focus(LoginField field)
{
    wxTextCtrl* box = field == LoginField::Password ? passwordBox : accountBox;
    box->SetFocus();
    box->SelectAll();
}

void LoginDialog::OnLogin()
{
    if (busy) return;
    const wxString mobile = Trimmed(accountBox->GetValue());
    const wxString password = passwordBox->GetValue();
    if (std::optional<InputProblem> problem = CheckLoginInput(mobile, password)) {
        ShowNoticeBox(this, problem->message);
        Focus(problem->field);
        return;
    }
    {
        CallGuard guard(busy, {loginButton});
        result = RunBusy([&] { return apiClient.Login(mobile, password); });
    }
    if (!result.ok) {
        ShowErrorBox(this, wxS("登录失败"), result.message);
        return;
    }
    Finish(mobile, password, result);
}

void LoginDialog::OpenCredentialFlow(bool resetMode)
{
    CredentialFlowDialog dialog(this, apiClient, resetMode);
    if (dialog.ShowModal() == wxID_OK && dialog.GetResult().ok)
        Finish(dialog.GetMobile(), dialog.GetPassword(), dialog.GetResult());
}

void LoginDialog::Finish(const wxString& mobile, const wxString& password, const LoginResult& outcome)
{
    if (!outcome.ok) return;  // wxID_OK always carries a session
    result = outcome;
    accountBox->ChangeValue(mobile);
    passwordBox->ChangeValue(password);
    const LoginSettings settings = SettingsAfterSuccess(mobile, password, Choice());
    RunBusy([&] { LoginCredentials().Save(settings); });
    EndModal(wxID_OK);
}

// The modal login window: phone number, password, the two remember boxes,
// and the ways into registration and password recovery. It ends with
// wxID_OK only after a login, registration or reset produced a session.
#pragma once

#include <wx/dialog.h>

#include "account/login_form.h"
#include "api/api_client.h"

class wxButton;
class wxCheckBox;
class wxTextCtrl;

class LoginDialog : public wxDialog {
public:
    // Command ids of the Alt shortcuts (the register and find-password
    // buttons carry the last two).
    enum : int { ID_FOCUS_ACCOUNT = 6040, ID_FOCUS_PASSWORD = 6041, ID_REGISTER = 6042, ID_FIND_PASSWORD = 6043 };

    // `client` is copied: the dialog calls the server through its own client.
    LoginDialog(wxWindow* parent, const ApiClient& client);

    const LoginResult& GetLoginResult() const { return result; }

private:
    void BuildControls();
    void BindEvents();
    void OnLogin();
    void OpenCredentialFlow(bool resetMode);
    void Finish(const wxString& mobile, const wxString& password, const LoginResult& outcome);
    void Focus(LoginField field);
    RememberChoice Choice() const;
    void ShowChoice(RememberChoice choice);

    ApiClient apiClient;
    LoginResult result;
    wxTextCtrl* accountBox = nullptr;
    wxTextCtrl* passwordBox = nullptr;
    wxCheckBox* rememberBox = nullptr;
    wxCheckBox* autoLoginBox = nullptr;
    wxButton* loginButton = nullptr;
    wxButton* registerButton = nullptr;
    wxButton* findPasswordButton = nullptr;
    bool busy = false;  // a call runs: input that arrives is dropped
};

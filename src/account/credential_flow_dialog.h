// Registration or password reset by SMS code. Opened from the login
// window; it ends with wxID_OK only after the server created a session.
#pragma once

#include <wx/dialog.h>

#include "account/login_form.h"
#include "api/api_client.h"

class wxButton;
class wxTextCtrl;

class CredentialFlowDialog : public wxDialog {
public:
    CredentialFlowDialog(wxWindow* parent, const ApiClient& client, bool resetMode);

    const LoginResult& GetResult() const { return result; }
    // What was last submitted: the trimmed number, the password as typed.
    const wxString& GetMobile() const { return mobile; }
    const wxString& GetPassword() const { return password; }

private:
    void BuildControls();
    void OnSendCode();
    void OnSubmit();
    void Focus(LoginField field);

    const ApiClient& apiClient;
    bool resetMode;
    CredentialFlowTexts texts;
    LoginResult result;
    wxString mobile;
    wxString password;
    wxTextCtrl* mobileBox = nullptr;
    wxTextCtrl* passwordBox = nullptr;
    wxTextCtrl* codeBox = nullptr;
    wxButton* sendCodeButton = nullptr;
    wxButton* submitButton = nullptr;
    bool busy = false;
};

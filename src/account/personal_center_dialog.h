// The personal centre ("个人中心"): the signed-in user's header, ten
// functions whose lines appear in a result list with a detail box, five
// record tabs fetched once each, opening a post from any line, and logout
// through the main window. The pages themselves come from
// PersonalCenterState; this window binds them to controls and keys.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include <wx/dialog.h>

#include "account/personal_center_state.h"
#include "api/forum_records.h"
#include "posts/post_detail_model.h"

class ApiClient;
class wxButton;
class wxKeyEvent;
class wxListBox;
class wxNotebook;
class wxStaticText;
class wxTextCtrl;

// Ends the main window's session.
using LogoutCallback = std::function<void()>;

inline constexpr int ID_PERSONAL_NAV = 6600;
inline constexpr int ID_PERSONAL_RESULTS = 6601;
inline constexpr int ID_PERSONAL_TABS = 6602;
inline constexpr int ID_PERSONAL_TAB_LIST_FIRST = 6603;  // 6603–6607 in tab order

class PersonalCenterDialog : public wxDialog {
public:
    // `client` is shared and must outlive the dialog.
    PersonalCenterDialog(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                         const std::vector<SectionInfo>& sections, LoginCallback loginCallback,
                         LogoutCallback logoutCallback);

    // Obtains a login when there is no session and loads the profile. False
    // (after saying why) when either fails: the dialog must then not be shown.
    bool Start();

    // Loads the function selected in the navigation list.
    void LoadSelectedFunction();
    // Opens the post of the selected result line, if it names one.
    void OpenSelectedResult();
    // Loads tab `index` when it is not loaded yet, and shows it.
    void EnsureTabLoaded(int index);
    void OpenSelectedTabLine(int index);

    const PersonalCenterState& State() const { return state_; }
    wxListBox* NavList() const { return navList_; }
    wxListBox* ResultList() const { return resultList_; }
    wxTextCtrl* DetailBox() const { return detailBox_; }
    wxStaticText* ResultLabel() const { return resultLabel_; }
    wxNotebook* Tabs() const { return tabs_; }
    wxListBox* TabList(int index) const { return tabPages_.at(static_cast<size_t>(index)).list; }
    wxTextCtrl* TabDetail(int index) const { return tabPages_.at(static_cast<size_t>(index)).detail; }
    const std::array<wxStaticText*, 4>& HeaderLabels() const { return headerLabels_; }

private:
    struct TabControls {
        wxListBox* list = nullptr;
        wxTextCtrl* detail = nullptr;
    };
    void BuildControls();
    void BuildTabs(wxWindow* parent);
    void BindEvents();
    void RefreshHeader();
    void ShowPage(wxListBox* list, wxTextCtrl* detail, const ShownPage& shown);
    void ShowDetails(wxListBox* list, wxTextCtrl* detail, const ShownPage& shown);
    void OpenLine(const ShownPage& shown, int selection);
    void Logout();
    void OnCharHook(wxKeyEvent& event);
    int TabListWithFocus() const;

    ApiClient& client_;
    std::vector<SectionInfo> sections_;
    LoginCallback loginCallback_;
    LogoutCallback logoutCallback_;
    PersonalCenterState state_;

    std::array<wxStaticText*, 4> headerLabels_{};
    wxListBox* navList_ = nullptr;
    wxStaticText* resultLabel_ = nullptr;
    wxListBox* resultList_ = nullptr;
    wxTextCtrl* detailBox_ = nullptr;
    wxNotebook* tabs_ = nullptr;
    std::array<TabControls, kTabCount> tabPages_{};
    wxButton* logoutButton_ = nullptr;
};

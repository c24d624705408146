#include "account/personal_center_dialog.h"

#include "ui/request_forms.h"
#include "platform/accessibility.h"
#include "posts/post_detail_dialog.h"
#include "ui/look.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// Lists show a few lines even in the least window.
constexpr int kListHeight = 100;

void Name(wxWindow* control, const wxString& name, const wxString& help)
{
    control->SetName(name);
    if (!help.empty()) control->SetHelpText(help);
    a11y::ExposeNameAndHelp(control);
}

wxTextCtrl* MakeDetailBox(wxWindow* parent, int height)
{
    auto* box = new wxTextCtrl(parent, wxID_ANY, wxString(), wxDefaultPosition, wxSize(-1, height),
                               wxTE_MULTILINE | wxTE_READONLY | wxTE_RICH2);
    StyleTextBox(box, true);
    return box;
}

}  // namespace

PersonalCenterDialog::PersonalCenterDialog(wxWindow* parent, ApiClient& client, const wxString& token,
                                           const wxString& cookies, const std::vector<SectionInfo>& sections,
                                           LoginCallback loginCallback, LogoutCallback logoutCallback)
    : wxDialog(parent, wxID_ANY, wxS("个人中心"), wxDefaultPosition, wxSize(900, 720),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      client_(client),
      sections_(sections),
      loginCallback_(std::move(loginCallback)),
      logoutCallback_(std::move(logoutCallback)),
      state_(client, token, cookies)
{
    StyleDialog(this);
    a11y::ExposeAsDialog(this);
    BuildControls();
    SetAcceleratorTable(wxNullAcceleratorTable);
    CentreOnParent(wxBOTH);
}

void PersonalCenterDialog::BuildControls()
{
    auto* column = new wxBoxSizer(wxVERTICAL);
    // The heading, the header lines and the box stand on their own; the
    // header lines would otherwise read as the function box's name.
    auto* heading = new a11y::UnattachedText(this, wxID_ANY, wxS("个人中心"));
    StyleHeading(heading);
    Name(heading, wxS("个人中心标题"), wxString());
    column->Add(heading, 0, wxALL, 12);

    auto* grid = new wxFlexGridSizer(2, 10, 16);
    grid->AddGrowableCol(0, 1);
    grid->AddGrowableCol(1, 1);
    for (wxStaticText*& label : headerLabels_) {
        label = new a11y::UnattachedText(this, wxID_ANY, wxString());
        StyleFieldLabel(label);
        grid->Add(label, 0, wxEXPAND);
    }
    column->Add(grid, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);

    auto* navBox = new wxStaticBoxSizer(new a11y::UnattachedBox(this, wxID_ANY, wxS("功能导航")), wxHORIZONTAL);
    wxWindow* boxParent = navBox->GetStaticBox();
    navList_ = new wxListBox(boxParent, ID_PERSONAL_NAV, wxDefaultPosition, wxSize(180, -1), 0, nullptr,
                             wxLB_SINGLE);
    StyleList(navList_);
    Name(navList_, wxS("个人中心功能列表"), wxS("按上下方向键浏览功能，回车加载右侧内容。"));
    navBox->Add(navList_, 0, wxALL | wxEXPAND, 8);

    auto* results = new wxBoxSizer(wxVERTICAL);
    resultLabel_ = new wxStaticText(boxParent, wxID_ANY, wxS("功能内容"));
    StyleFieldLabel(resultLabel_);
    results->Add(resultLabel_, 0, wxBOTTOM, 8);
    resultList_ = new wxListBox(boxParent, ID_PERSONAL_RESULTS, wxDefaultPosition, wxSize(-1, kListHeight), 0,
                                nullptr, wxLB_SINGLE);
    StyleList(resultList_);
    Name(resultList_, wxS("功能结果列表"), wxS("按上下方向键浏览结果，回车打开帖子或查看详情。"));
    results->Add(resultList_, 1, wxBOTTOM | wxEXPAND, 8);
    detailBox_ = MakeDetailBox(boxParent, 150);
    Name(detailBox_, wxS("功能详情"), wxS("所选结果的详细内容，只读。"));
    results->Add(detailBox_, 0, wxEXPAND);
    navBox->Add(results, 1, wxALL | wxEXPAND, 8);
    column->Add(navBox, 1, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);

    BuildTabs(this);
    column->Add(tabs_, 1, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 12);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    logoutButton_ = new wxButton(this, wxID_ANY, wxS("退出账号"));
    StyleSecondaryButton(logoutButton_);
    auto* close = new wxButton(this, wxID_OK, wxS("关闭"));
    StylePrimaryButton(close);
    buttons->Add(logoutButton_, 0, wxRIGHT, 8);
    buttons->Add(close, 0);
    column->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);

    SetSizer(column);
    Layout();
    Fit();
    SetMinSize(wxSize(820, 680));
    // Fitting shrinks the window to its least layout; the lists deserve the
    // room asked for at creation.
    SetSize(wxSize(std::max(GetSize().x, 900), std::max(GetSize().y, 720)));
    RefreshHeader();
}

void PersonalCenterDialog::BuildTabs(wxWindow* parent)
{
    tabs_ = new wxNotebook(parent, ID_PERSONAL_TABS);
    StylePage(tabs_);
    for (int i = 0; i < kTabCount; ++i) {
        const TabTexts texts = TabTextsOf(i);
        auto* page = new wxPanel(tabs_);
        StylePanel(page, false);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        TabControls& controls = tabPages_[static_cast<size_t>(i)];
        controls.list = new wxListBox(page, ID_PERSONAL_TAB_LIST_FIRST + i, wxDefaultPosition,
                                      wxSize(-1, kListHeight), 0, nullptr, wxLB_SINGLE);
        StyleList(controls.list);
        Name(controls.list, texts.listName, wxS("回车加载本页记录；已加载时回车打开所选记录对应的帖子。"));
        sizer->Add(controls.list, 1, wxALL | wxEXPAND, 8);
        controls.detail = MakeDetailBox(page, 140);
        Name(controls.detail, texts.title + wxS("详情"), wxS("所选记录的详细内容，只读。"));
        sizer->Add(controls.detail, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 8);
        page->SetSizer(sizer);
        tabs_->AddPage(page, texts.title);
    }
    // The tab strip takes the focus itself; unnamed it would be a silent
    // stop. Named only now: its screen reader object, made by the naming,
    // would report the first page's selection above, and the screen reader
    // would take that tab for the focus before the dialog is even shown.
    Name(tabs_, wxS("记录分类"), wxS("左右方向键切换记录页，切到的页自动加载；Tab 进入本页列表。"));
}

bool PersonalCenterDialog::Start()
{
    wxWindow* boxParent = GetParent() ? GetParent() : this;
    if (!state_.HasSession()) {
        wxString token = state_.Token();
        wxString cookies = state_.Cookies();
        if (!loginCallback_ || !loginCallback_(token, cookies)) return false;
        state_.SetSession(token, cookies);
    }
    const UserInfo profile =
        BlockingRequest(boxParent, wxS("获取个人中心失败"), [this] { return state_.FetchProfile(); });
    if (!profile.ok) return false;
    state_.SetProfile(profile);
    RefreshHeader();
    for (int type = 0; type < kFunctionCount; ++type) navList_->Append(FunctionLabel(type));
    navList_->SetSelection(0);
    a11y::ListRefilled(navList_);
    ShowPage(resultList_, detailBox_, state_.Current());
    BindEvents();
    navList_->SetFocus();
    return true;
}

void PersonalCenterDialog::BindEvents()
{
    Bind(wxEVT_CHAR_HOOK, &PersonalCenterDialog::OnCharHook, this);
    navList_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { LoadSelectedFunction(); });
    resultList_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) {
        ShowDetails(resultList_, detailBox_, state_.Current());
    });
    resultList_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { OpenSelectedResult(); });
    tabs_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
        event.Skip();
        if (event.GetEventObject() == tabs_ && event.GetSelection() != wxNOT_FOUND)
            EnsureTabLoaded(event.GetSelection());
    });
    for (int i = 0; i < kTabCount; ++i) {
        const TabControls& controls = tabPages_[static_cast<size_t>(i)];
        controls.list->Bind(wxEVT_LISTBOX_DCLICK, [this, i](wxCommandEvent&) {
            if (state_.TabLoaded(i))
                OpenSelectedTabLine(i);
            else
                EnsureTabLoaded(i);
        });
        controls.list->Bind(wxEVT_LISTBOX, [this, i](wxCommandEvent&) {
            const TabControls& c = tabPages_[static_cast<size_t>(i)];
            if (state_.TabLoaded(i))
                ShowDetails(c.list, c.detail, state_.Tab(i));
            else
                EnsureTabLoaded(i);
        });
    }
    logoutButton_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Logout(); });
}

void PersonalCenterDialog::RefreshHeader()
{
    const HeaderTexts header = state_.Header();
    const wxString texts[4] = {header.name, header.level, header.posts, header.replies};
    for (size_t i = 0; i < headerLabels_.size(); ++i) headerLabels_[i]->SetLabel(texts[i]);
}

void PersonalCenterDialog::ShowPage(wxListBox* list, wxTextCtrl* detail, const ShownPage& shown)
{
    const ListFill fill = FillFor(shown);
    list->Clear();
    for (const wxString& row : fill.rows) list->Append(row);
    list->SetSelection(fill.selection);
    a11y::ListRefilled(list);
    detail->ChangeValue(fill.detail);
}

void PersonalCenterDialog::ShowDetails(wxListBox* list, wxTextCtrl* detail, const ShownPage& shown)
{
    const int selection = list->GetSelection();
    if (selection >= 0 && static_cast<size_t>(selection) < shown.page.items.size())
        detail->ChangeValue(shown.page.items[static_cast<size_t>(selection)].details);
}

void PersonalCenterDialog::LoadSelectedFunction()
{
    const int type = navList_->GetSelection();
    if (type < 0 || type >= kFunctionCount) return;
    if (type == kFuncAssets && state_.NeedsAssetCounts()) {
        auto [diamonds, coins] = ParallelPair([this] { return state_.FetchDiamondCount(); },
                                              [this] { return state_.FetchCoinCount(); });
        state_.StoreAssetCounts(diamonds, coins);
    }
    const ShownPage& shown = RunBusy([this, type]() -> const ShownPage& { return state_.LoadFunction(type); });
    resultLabel_->SetLabel(FunctionLabel(type));
    ShowPage(resultList_, detailBox_, shown);
    RefreshHeader();
    a11y::Announce(resultList_, LoadedAnnouncement(FunctionLabel(type), shown));
}

void PersonalCenterDialog::OpenSelectedResult()
{
    OpenLine(state_.Current(), resultList_->GetSelection());
}

void PersonalCenterDialog::EnsureTabLoaded(int index)
{
    if (index < 0 || index >= kTabCount || state_.TabLoaded(index)) return;
    const ShownPage& shown = RunBusy([this, index]() -> const ShownPage& { return state_.LoadTab(index); });
    const TabControls& controls = tabPages_[static_cast<size_t>(index)];
    ShowPage(controls.list, controls.detail, shown);
    a11y::Announce(controls.list, LoadedAnnouncement(TabTextsOf(index).title, shown));
}

void PersonalCenterDialog::OpenSelectedTabLine(int index)
{
    if (index < 0 || index >= kTabCount || !state_.TabLoaded(index)) return;
    OpenLine(state_.Tab(index), tabPages_[static_cast<size_t>(index)].list->GetSelection());
}

void PersonalCenterDialog::OpenLine(const ShownPage& shown, int selection)
{
    if (selection < 0 || static_cast<size_t>(selection) >= shown.page.items.size()) return;
    const int32_t postId = PostToOpen(shown.page.items[static_cast<size_t>(selection)]);
    if (postId == 0) return;
    const PostDetailResult post =
        BlockingRequest(this, wxS("获取帖子详情失败"), [this, postId] { return client_.GetPost(postId); });
    if (!post.ok) return;
    PostDetailDialog dialog(this, client_, state_.Token(), state_.Cookies(), sections_, post.detail, std::nullopt,
                            loginCallback_, false);
    dialog.ShowModal();
}

void PersonalCenterDialog::Logout()
{
    if (!AskConfirmation(this, wxS("确定要退出当前账号吗？"), wxS("退出账号"))) return;
    if (logoutCallback_) logoutCallback_();
    EndDialog(wxID_OK);
}

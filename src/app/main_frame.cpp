#include "app/main_frame.h"

#include "settings/settings_store.h"
#include "app/main_frame_music.h"  // the constructor owns the music parts
#include "app/main_ids.h"
#include "ui/cue.h"
#include "platform/accessibility.h"
#include "ui/look.h"

#include <wx/accel.h>
#include <wx/combobox.h>
#include <wx/cshelp.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

wxString HelpStatusText() {
    return wxString::FromUTF8("Alt+1 澄川论坛，Alt+2 本地音乐，F6 切换焦点，退格返回上一层。");
}

}  // namespace

MainFrame::MainFrame(bool loadNow)
    : wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("澄川论坛"), wxDefaultPosition,
              wxSize(760, 620), wxDEFAULT_FRAME_STYLE),
      statusTimer(this, wxID_ANY),
      // The forum server comes from the settings file, so the program can
      // be pointed at another (for example a local) server.
      api(SettingsStore().LoadServerEndpoint()),
      forum(api, *this),
      session(api, *this) {
    BuildControls();
    InstallAccelerators();
    BindEvents();
    LoadMusicState();
    if (loadNow) LoadFirstView();
    Centre(wxBOTH);
    PlayCue(wxS("zr.wav"), false);
}

void MainFrame::BuildControls() {
    // Help texts are only kept when a help provider exists; screen readers
    // read them as the controls' descriptions.
    if (!wxHelpProvider::Get()) wxHelpProvider::Set(new wxSimpleHelpProvider);
    StyleFrame(this);
    auto* frameSizer = new wxBoxSizer(wxVERTICAL);
    panel = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL);
    StylePanel(panel, false);
    frameSizer->Add(panel, 1, wxEXPAND, 0);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* title = new wxStaticText(panel, wxID_ANY, wxString::FromUTF8("澄川论坛电脑版"));
    StyleHeading(title);
    sizer->Add(title, 0, wxLEFT | wxRIGHT | wxTOP, 16);
    sizer->AddSpacer(12);

    categoryLabel = new wxStaticText(panel, wxID_ANY, wxString::FromUTF8("功能分类"));
    StyleFieldLabel(categoryLabel);
    sizer->Add(categoryLabel, 0, wxLEFT | wxRIGHT | wxTOP, 12);

    wxArrayString categories;
    categories.Add(wxString::FromUTF8("澄川论坛"));
    categories.Add(wxString::FromUTF8("本地音乐"));
    categoryChoice = new wxComboBox(panel, MainId::Category, categories[CategoryRow::Forum],
                                    wxDefaultPosition, wxDefaultSize, categories, wxCB_READONLY,
                                    wxDefaultValidator, wxString::FromUTF8("功能分类"));
    categoryChoice->SetSelection(CategoryRow::Forum);
    categoryChoice->SetHelpText(
        wxString::FromUTF8("按上下方向键切换功能分类，回车进入下方功能列表。"));
    StyleList(categoryChoice);
    sizer->Add(categoryChoice, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);

    listLabel = new wxStaticText(panel, wxID_ANY, wxString::FromUTF8("功能列表"));
    StyleFieldLabel(listLabel);
    sizer->Add(listLabel, 0, wxLEFT | wxRIGHT, 12);

    mainList = new wxListBox(panel, MainId::List, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                             0, wxDefaultValidator, wxString::FromUTF8("功能列表"));
    mainList->SetHelpText(
        wxString::FromUTF8("按上下方向键浏览项目，回车进入下一层，退格返回上一层。"));
    mainList->SetMinSize(wxSize(-1, 420));
    StyleList(mainList);
    sizer->Add(mainList, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);

    panel->SetSizer(sizer);
    SetSizer(frameSizer);

    a11y::ExposeReadOnlyChoice(categoryChoice);
    a11y::ExposeNameAndHelp(mainList);

    a11y::CreateAccessibleStatusBar(this, 1);
    SetStatusText(HelpStatusText(), 0);
    mainList->SetFocus();
}

void MainFrame::InstallAccelerators() {
    wxAcceleratorEntry entries[] = {
        {wxACCEL_ALT, '1', MainId::ForumCategory},
        {wxACCEL_ALT, '2', MainId::MusicCategory},
        {wxACCEL_NORMAL, WXK_F6, MainId::ToggleFocus},
        {wxACCEL_ALT, 'S', MainId::FocusCategory},
        {wxACCEL_ALT, 'L', MainId::FocusList},
        {wxACCEL_CTRL | wxACCEL_SHIFT, 'Z', MainId::ToggleWindow},
    };
    SetAcceleratorTable(wxAcceleratorTable(WXSIZEOF(entries), entries));
}

void MainFrame::BindEvents() {
    Bind(wxEVT_COMBOBOX, &MainFrame::OnCategoryChanged, this, MainId::Category);
    Bind(wxEVT_LISTBOX_DCLICK, &MainFrame::OnListActivated, this, MainId::List);
    Bind(wxEVT_LISTBOX, &MainFrame::OnListSelected, this, MainId::List);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { FocusCategory(); }, MainId::FocusCategory);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { FocusList(); }, MainId::FocusList);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SwitchCategory(CategoryRow::Forum); },
         MainId::ForumCategory);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SwitchCategory(CategoryRow::Music); },
         MainId::MusicCategory);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ToggleFocus(); }, MainId::ToggleFocus);
    Bind(wxEVT_MENU, &MainFrame::OnReplyToFloor, this, MainId::ReplyToFloor);
    Bind(wxEVT_MENU, &MainFrame::OnEditPost, this, MainId::EditPost);
    Bind(wxEVT_MENU, &MainFrame::OnDeletePost, this, MainId::DeletePost);
    Bind(wxEVT_MENU, &MainFrame::OnPlayMode, this, MainId::PlayModeFirst, MainId::PlayModeLast);
    Bind(wxEVT_MENU, &MainFrame::OnDeleteSong, this, MainId::DeleteSong);
    Bind(wxEVT_MENU, &MainFrame::OnDeleteAlbum, this, MainId::DeleteAlbum);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ToggleWindowShown(); }, MainId::ToggleWindow);
    Bind(wxEVT_TIMER, &MainFrame::OnTimer, this);
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);
    categoryChoice->Bind(wxEVT_KEY_DOWN, &MainFrame::OnCategoryKey, this);
    // One handler for both stages: a key consumed as char hook never
    // reaches key-down, so each press acts once.
    mainList->Bind(wxEVT_KEY_DOWN, &MainFrame::OnListKey, this);
    mainList->Bind(wxEVT_CHAR_HOOK, &MainFrame::OnListKey, this);
    mainList->Bind(wxEVT_CONTEXT_MENU, &MainFrame::OnListContextMenu, this);
}

void MainFrame::LoadFirstView() {
    // The list is filled before the automatic login, so the last status
    // text is the login's outcome. A home view already shown with the
    // window (ShowArrivedFirstView) stays as it is.
    if (!forum.Browser().Top()) RenderList();
    TryAutoLogin();
}

bool MainFrame::ShowArrivedFirstView() {
    if (!forum.PrefetchedSectionsArrived()) return false;
    RenderList();
    return !session.WantsAutoLogin();
}

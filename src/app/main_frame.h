// The one main window: a category selector above one list, a status bar
// whose first field tells the user where they are, window accelerators,
// and the closing sequence. Forum browsing, music and session handling plug
// into the private steps below.
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>

#include <memory>
#include <optional>

#include "api/api_client.h"
#include "app/forum_controller.h"
#include "app/forum_host.h"
#include "app/post_list_menu.h"
#include "app/session_controller.h"

class MainFrameMusic;
class wxComboBox;
class wxListBox;
class wxPanel;
class wxStaticText;

class MainFrame : public wxFrame, private ForumHost, private SessionHost {
public:
    // loadNow false leaves the forum's first view to LoadFirstView, so the
    // program can show the window before anything waits for the server.
    explicit MainFrame(bool loadNow = true);
    ~MainFrame() override;

    // The sections, then the automatic login.
    void LoadFirstView();
    // The sections asked for before this window was built, for its first view.
    void AdoptSectionsPrefetch(std::unique_ptr<SectionsPrefetch> prefetch) {
        forum.AdoptSectionsPrefetch(std::move(prefetch));
    }
    // Before the window shows: when those sections have arrived, the home
    // view goes into the list now, so it shows with the window. True when
    // the first view is then complete (no automatic login to wait for).
    bool ShowArrivedFirstView();

    // Global hotkeys arrive here with their id (MainId::HotkeyFirst..HotkeyLast).
    void OnGlobalHotkey(int id);

    wxComboBox* CategoryChoice() const { return categoryChoice; }
    wxListBox* MainList() const { return mainList; }
    wxStaticText* ListLabel() const { return listLabel; }
    // The forum back stack, the rows on screen and the sections.
    const ForumBrowser& ForumState() const { return forum.Browser(); }
    // The user session: guest, or logged in with its texts.
    const SessionState& Session() const { return session.State(); }
    // Ends the session and forgets the saved login (the personal centre's
    // logout command).
    void Logout() { session.Logout(); }

private:
    // Construction.
    void BuildControls();
    void InstallAccelerators();
    void BindEvents();
    void LoadMusicState();  // music library: settings, library rebuild, hotkeys
    void TryAutoLogin() { session.TryAutoLogin(); }  // session: automatic login

    // Rendering and status.
    bool IsMusicCategory() const;
    void RenderList();
    void RenderMusicView();  // music view: the rows of the current music level
    void UpdateStatusHint();
    void UpdateMusicStatus();  // music view: the player status line

    // Focus and window.
    void FocusCategory();
    void FocusList();
    void SwitchCategory(int row);
    void ToggleFocus();
    void ToggleWindowShown();

    // Forum views (main_frame_forum.cpp).
    void RenderForumView();
    void ActivateForumRow();
    void GoBackInForum();
    void ShowForumMenu();
    void SyncForumSession();
    // Post list menu: edit and delete (main_frame_posts.cpp). False when
    // the selected row is not a post of a post list.
    bool ShowPostMenu();
    // Login, then the post and the manager check; nothing when the login,
    // the post or the manager check failed (the post's box is captioned
    // `postCaption`, the check's "获取管理员权限失败").
    std::optional<PostRights> LoadPostRights(const ListEntry& row, const wxString& postCaption);
    // Features that other windows will provide; until then a notice says so.
    void ShowNotAvailableYet(const wxString& what);
    // What the forum dialogs call to make sure the user is logged in.
    bool LoginForDialog(wxString& dialogToken, wxString& dialogCookies) {
        return session.LoginForDialog(dialogToken, dialogCookies);
    }
    // SessionHost (main_frame_session.cpp): what the session asks of this window.
    void RunCall(const std::function<void()>& call) override;
    void SessionChanged(bool onlyIfHomeShown) override;
    void ShowSessionStatus(const wxString& text, bool announce) override;
    void ShowSessionError(const wxString& caption, const wxString& text) override;
    std::optional<LoginResult> AskForLogin() override;
    // ForumHost: what the forum controller asks of this window.
    wxWindow* HostWindow() override { return this; }
    void ShowForumList(const RenderedList& list) override;
    void ClearForumList() override;
    void SetForumStatus(const wxString& text) override;
    void PlayForumCue(const wxString& name) override;
    bool EnsureLoggedIn() override { return session.EnsureLoggedIn(); }
    void OpenPersonalCenter() override;
    bool OpenNewPostComposer() override;
    int OpenPostDetail(const PostDetail& detail, const std::optional<ListEntry>& floorRow,
                       bool allowOnlyOp) override;

    // Rows.
    void ActivateSelectedRow();  // forum views / music view: Enter on a row
    void GoBack();               // forum views / music view: Backspace
    bool HandleMusicKey(const wxKeyEvent& event);  // music view: Ctrl keys
    void ActivateMusicRow();  // music view: Enter on a music row
    void GoBackInMusic();     // music view: Backspace
    void ShowMusicMenu();     // music view: play modes and delete commands
    void ShowListMenu();         // context menu of the current view

    // Event handlers.
    void OnCategoryChanged(wxCommandEvent& event);
    void OnListSelected(wxCommandEvent& event);
    void OnListActivated(wxCommandEvent& event);
    void OnCategoryKey(wxKeyEvent& event);
    void OnListKey(wxKeyEvent& event);
    void OnListContextMenu(wxContextMenuEvent& event);
    void OnReplyToFloor(wxCommandEvent& event);
    void OnEditPost(wxCommandEvent& event);
    void OnDeletePost(wxCommandEvent& event);
    void OnPlayMode(wxCommandEvent& event);
    void OnDeleteSong(wxCommandEvent& event);
    void OnDeleteAlbum(wxCommandEvent& event);
    void OnMusicMenu(int id);
    void OnTimer(wxTimerEvent& event);
    void OnClose(wxCloseEvent& event);

    wxPanel* panel = nullptr;
    wxStaticText* categoryLabel = nullptr;
    wxComboBox* categoryChoice = nullptr;
    wxStaticText* listLabel = nullptr;
    wxListBox* mainList = nullptr;
    wxTimer statusTimer;
    // The forum client (server from the settings file) and the forum views:
    // back stack, rows on screen and sections live in the controller.
    ApiClient api;
    ForumController forum;
    // The login session: its texts, automatic login, expiry and logout.
    SessionController session;
    // The music library with its level, play mode and current song, the
    // player, the output devices and the global hotkeys.
    friend class MainFrameMusic;
    std::unique_ptr<MainFrameMusic> music;
};

// The forum side of the main window: it binds the list, the status field,
// the cues and the menus to the forum controller, which decides what each
// key means and talks to the server.
#include "app/main_frame.h"

#include "app/main_ids.h"
#include "music/cue.h"
#include "posts/post_detail_dialog.h"
#include "ui/message_box.h"

#include <wx/control.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/stattext.h>

void MainFrame::RenderForumView() {
    SyncForumSession();
    // Loads the sections first when there are none; a failure leaves the
    // list empty and the next render tries again.
    forum.RenderList();
}

void MainFrame::ActivateForumRow() { forum.ActivateRow(mainList->GetSelection()); }

void MainFrame::GoBackInForum() { forum.GoBack(); }

void MainFrame::SyncForumSession() { forum.SetSession(SessionRow{loggedIn, displayName}); }

void MainFrame::ShowForumMenu() {
    // Floor lists offer a reply to the selected floor; the home view has no
    // menu. Post lists have none yet: their edit and delete menu arrives
    // with those commands (OnEditPost, OnDeletePost).
    std::optional<FloorMenu> floorMenu = forum.FloorMenuFor(mainList->GetSelection());
    if (!floorMenu) return;
    wxMenu menu;
    // Forum text is shown as it is: a user named "A&B" is no mnemonic.
    menu.Append(MainId::ReplyToFloor, wxControl::EscapeMnemonics(floorMenu->label));
    PlayCue(floorMenu->cue, false);
    mainList->PopupMenu(&menu);
}

void MainFrame::ShowForumList(const RenderedList& list) {
    // A search may finish while the music is shown: the forum state is
    // updated all the same and appears when the user switches back.
    if (IsMusicCategory()) return;
    listLabel->SetLabelText(list.label);  // "&" in a title is text, not a mnemonic
    mainList->Set(list.rows);
    if (list.selection >= 0 && list.selection < static_cast<int>(mainList->GetCount())) {
        mainList->SetSelection(list.selection);
    }
    SetStatusText(list.status, 0);
}

void MainFrame::ClearForumList() {
    if (IsMusicCategory()) return;
    mainList->Clear();
}

void MainFrame::SetForumStatus(const wxString& text) {
    if (IsMusicCategory()) return;
    SetStatusText(text, 0);
}

void MainFrame::PlayForumCue(const wxString& name) { PlayCue(name, false); }

void MainFrame::ShowNotAvailableYet(const wxString& what) {
    ShowNoticeBox(this, what + wxString::FromUTF8("暂未开放。"));
}

bool MainFrame::EnsureLoggedIn() {
    if (loggedIn && (!token.empty() || !cookies.empty())) return true;
    ShowNotAvailableYet(wxString::FromUTF8("登录"));
    return false;
}

bool MainFrame::LoginForDialog(wxString& dialogToken, wxString& dialogCookies) {
    if (!EnsureLoggedIn()) return false;
    dialogToken = token;
    dialogCookies = cookies;
    return true;
}

void MainFrame::OpenPersonalCenter() { ShowNotAvailableYet(wxString::FromUTF8("个人中心")); }

bool MainFrame::OpenNewPostComposer() {
    ShowNotAvailableYet(wxString::FromUTF8("发新帖"));
    return false;
}

int MainFrame::OpenPostDetail(const PostDetail& detail, const std::optional<ListEntry>& floorRow,
                              bool allowOnlyOp) {
    std::optional<ReplyTarget> target;
    if (floorRow) target = ReplyTarget{floorRow->replyId, floorRow->floor, floorRow->userName};
    PostDetailDialog dialog(this, api, token, cookies, forum.Browser().Sections(), detail, target,
                            [this](wxString& dialogToken, wxString& dialogCookies) {
                                return LoginForDialog(dialogToken, dialogCookies);
                            },
                            allowOnlyOp);
    return dialog.ShowModal();
}

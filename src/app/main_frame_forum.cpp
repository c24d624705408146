// The forum side of the main window: it binds the list, the status field,
// the cues and the menus to the forum controller, which decides what each
// key means and talks to the server.
#include "app/main_frame.h"

#include "account/personal_center_dialog.h"
#include "app/main_ids.h"
#include "ui/cue.h"
#include "platform/accessibility.h"
#include "posts/post_composer_dialog.h"
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

void MainFrame::SyncForumSession() {
    forum.SetSession(SessionRow{Session().loggedIn, Session().displayName});
}

void MainFrame::ShowForumMenu() {
    // Post lists offer editing and deleting the selected post, floor lists
    // a reply to the selected floor; the home view has no menu.
    if (ShowPostMenu()) return;
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
    a11y::ListRefilled(mainList);
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

void MainFrame::OpenPersonalCenter() {
    PersonalCenterDialog dialog(
        this, api, Session().token, Session().cookies, forum.Browser().Sections(),
        [this](wxString& dialogToken, wxString& dialogCookies) { return LoginForDialog(dialogToken, dialogCookies); },
        [this] { Logout(); });
    // A start that failed has said why; an empty window would only be in the way.
    if (dialog.Start()) dialog.ShowModal();
}

bool MainFrame::OpenNewPostComposer() {
    if (!EnsureLoggedIn()) return false;
    return RunNewPostComposer(this, api, Session().token, Session().cookies, forum.Browser().Sections(),
                              [this](wxString& dialogToken, wxString& dialogCookies) {
                                  return LoginForDialog(dialogToken, dialogCookies);
                              }) == wxID_OK;
}

int MainFrame::OpenPostDetail(const PostDetail& detail, const std::optional<ListEntry>& floorRow,
                              bool allowOnlyOp) {
    std::optional<ReplyTarget> target;
    if (floorRow) target = ReplyTarget{floorRow->replyId, floorRow->floor, floorRow->userName};
    PostDetailDialog dialog(this, api, Session().token, Session().cookies, forum.Browser().Sections(), detail,
                            target,
                            [this](wxString& dialogToken, wxString& dialogCookies) {
                                return LoginForDialog(dialogToken, dialogCookies);
                            },
                            allowOnlyOp);
    return dialog.ShowModal();
}

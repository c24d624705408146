// The post menu of a post list: editing the selected post in the composer
// and deleting it. Each command first asks the server who the user is for
// that post, since the list rows do not say.
#include "app/main_frame.h"

#include "app/main_ids.h"
#include "ui/request_forms.h"
#include "ui/cue.h"
#include "platform/accessibility.h"
#include "posts/post_composer_dialog.h"
#include "ui/message_box.h"

#include <wx/listbox.h>
#include <wx/menu.h>

namespace {

wxString U8(const char* text) { return wxString::FromUTF8(text); }

}  // namespace

std::optional<PostRights> MainFrame::LoadPostRights(const ListEntry& row, const wxString& postCaption) {
    if (!EnsureLoggedIn()) return std::nullopt;
    const SessionState& auth = Session();
    PostDetailResult post = BlockingRequest(
        this, postCaption, [&] { return api.GetPostWithSession(row.postId, auth.token, auth.cookies); });
    if (!post.ok) return std::nullopt;
    ManagerCheck manager =
        RunBusy([&] { return api.CheckSectionManager(auth.token, auth.cookies, post.detail.sectionId); });
    // Without the manager's answer the menu would offer too little, and
    // quietly: the user is told why instead.
    if (!manager.answered) {
        ShowErrorBox(this, U8("获取管理员权限失败"), manager.error);
        return std::nullopt;
    }
    return PostRights{std::move(post.detail), std::move(manager)};
}

bool MainFrame::ShowPostMenu() {
    const std::optional<ListEntry> row = PostRowAt(forum.Browser(), mainList->GetSelection());
    if (!row) return false;
    const std::optional<PostRights> rights = LoadPostRights(*row, U8("获取帖子权限失败"));
    if (!rights) return true;
    const PostMenuItems items = PostMenuFor(rights->detail.isOwner, rights->manager);
    if (items.Empty()) {
        // The key was pressed; silence would leave the user guessing.
        SetForumStatus(NoPostActionsText());
        a11y::Announce(mainList, NoPostActionsText());
        return true;
    }
    wxMenu menu;
    if (items.edit) menu.Append(MainId::EditPost, U8("编辑帖子"));
    if (items.remove) menu.Append(MainId::DeletePost, U8("删除帖子"));
    PlayCue(wxS("yj.wav"), false);
    mainList->PopupMenu(&menu);
    return true;
}

void MainFrame::OnEditPost(wxCommandEvent&) {
    const std::optional<ListEntry> row = PostRowAt(forum.Browser(), mainList->GetSelection());
    if (!row) return;
    const std::optional<PostRights> rights = LoadPostRights(*row, U8("获取帖子详情失败"));
    if (!rights || !PostMenuFor(rights->detail.isOwner, rights->manager).edit) return;
    const bool manager = rights->manager.answered && rights->manager.isManager;
    PostDetail detail = rights->detail;
    if (manager) {
        // A manager edits the managed view of the post, which shows all of it.
        PostDetailResult managed = BlockingRequest(this, U8("获取可编辑帖子失败"), [&] {
            return api.GetManagedPost(row->postId, Session().token, Session().cookies);
        });
        if (!managed.ok) return;
        detail = std::move(managed.detail);
    }
    const int result = RunEditPostComposer(this, api, Session().token, Session().cookies,
                                           forum.Browser().Sections(),
                                           [this](wxString& dialogToken, wxString& dialogCookies) {
                                               return LoginForDialog(dialogToken, dialogCookies);
                                           },
                                           detail, manager);
    if (result == wxID_OK) forum.ReloadPostList();
}

void MainFrame::OnDeletePost(wxCommandEvent&) {
    const std::optional<ListEntry> row = PostRowAt(forum.Browser(), mainList->GetSelection());
    if (!row) return;
    const std::optional<PostRights> rights = LoadPostRights(*row, U8("获取帖子权限失败"));
    if (!rights) return;
    if (!PostMenuFor(rights->detail.isOwner, rights->manager).remove) return;
    if (!AskConfirmation(this, DeletePostQuestion(row->postTitle), U8("删除帖子"))) return;
    const ApiResult result =
        RunBusy([&] { return api.DeletePost(Session().token, Session().cookies, row->postId); });
    if (!result.success) {
        ShowErrorBox(this, U8("删除帖子失败"), result.message);
        return;
    }
    ShowNoticeBox(this, U8("帖子删除成功。"));
    forum.ReloadPostList();
}

#pragma once

// The post menu of a post list without the window: which row it is for,
// which commands the user may use there, and its texts.

#include <optional>

#include <wx/string.h>

#include "api/forum_records.h"
#include "app/forum_view.h"

class ForumBrowser;

// The post row at `row` when a post list is shown, else nothing.
std::optional<ListEntry> PostRowAt(const ForumBrowser& browser, int row);

// What the server said about the user and one post.
struct PostRights
{
    PostDetail detail;     // read with the session, so it carries isOwner
    ManagerCheck manager;  // for the post's section
};

struct PostMenuItems
{
    bool edit = false;    // "编辑帖子" (6026)
    bool remove = false;  // "删除帖子" (6027)
    bool Empty() const { return !edit && !remove; }
};

// The owner or a manager of the section may edit; only a manager deletes.
// A manager check without a definite answer counts as "not a manager", so
// an owner can still edit when the check fails.
PostMenuItems PostMenuFor(bool isOwner, const ManagerCheck& check);

// "确定要删除帖子《title》吗？"
wxString DeletePostQuestion(const wxString& postTitle);
// Said when the menu would have nothing in it.
wxString NoPostActionsText();

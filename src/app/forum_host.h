#pragma once

// What the forum controller needs from the window that shows the forum: the
// list, the status field, cues, and the dialogs that other parts own.

#include <optional>

#include <wx/string.h>

#include "app/forum_view.h"

class wxWindow;
struct PostDetail;
struct RenderedList;

class ForumHost
{
public:
    virtual ~ForumHost() = default;

    // Parent of boxes and dialogs; also receives the search hand-off, so it
    // must outlive the controller.
    virtual wxWindow* HostWindow() = 0;
    // Label, rows, selection and status hint of a freshly rendered view.
    virtual void ShowForumList(const RenderedList& list) = 0;
    // No forum view to show (sections failed to load): an empty list.
    virtual void ClearForumList() = 0;
    virtual void SetForumStatus(const wxString& text) = 0;
    virtual void PlayForumCue(const wxString& name) = 0;

    // Session and dialogs owned by other parts of the window.
    virtual bool EnsureLoggedIn() = 0;
    virtual void OpenPersonalCenter() = 0;
    // True when a post was published.
    virtual bool OpenNewPostComposer() = 0;
    // Returns the dialog's result (wxID_OK, 6400, 6401, ...).
    virtual int OpenPostDetail(const PostDetail& detail, const std::optional<ListEntry>& floorRow,
                               bool allowOnlyOp) = 0;
};

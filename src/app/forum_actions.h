#pragma once

// What the forum view model asks its window to do. The browser decides; the
// window (or ForumController) runs the request, plays the cue, shows boxes
// and feeds the answer back.

#include <cstdint>
#include <optional>

#include <wx/string.h>

#include "app/forum_view.h"

// One page of a post list (not search: searches run on a worker).
struct PostListRequest
{
    ListSource source = ListSource::HotPosts;
    int32_t sectionId = 0;
    wxString listName;  // a section's name, the title when the answer has none
    int32_t pageNum = 1;
    // The shown view is a page of the same list: it gives way only when the
    // new page arrived, so a failed page leaves list, stack and status alone.
    bool replacesTop = false;
};

// One page of the floors of a post.
struct FloorRequest
{
    int32_t postId = 0;
    wxString postTitle;
    int32_t sectionId = 0;
    wxString listName;
    int32_t pageNum = 1;
    bool starterOnly = false;
    int32_t starterUserId = 0;
    wxString starterName;
    bool replacesTop = false;
};

struct SearchRequest
{
    wxString keyword;
    int32_t pageNum = 1;
    bool replacesTop = false;  // paging inside results: the placeholder takes its place
};

enum class ForumActionKind
{
    None,
    Login,             // EnsureLoggedIn
    PersonalCenter,    // EnsureLoggedIn, then the personal centre
    NewPost,           // composer for a new post; on OK rebuild the home view
    AskSearchKeyword,  // keyword dialog, then StartSearch
    LoadPostList,
    LoadFloors,
    StartSearch,
    OpenPostDetail,
};

struct ForumAction
{
    ForumActionKind kind = ForumActionKind::None;
    wxString cue;         // play before acting; empty: no cue
    bool render = false;  // the stack changed: show the top view (also when kind is None)
    PostListRequest list;
    FloorRequest floors;
    SearchRequest search;
    int32_t postId = 0;                 // OpenPostDetail
    std::optional<ListEntry> floorRow;  // OpenPostDetail: the floor a reply answers
    bool allowOnlyOp = false;           // OpenPostDetail: offer "只看楼主"
};

// The outcome of feeding an answer back, in the order the window applies it:
// cue, render, status, error box.
struct ForumUpdate
{
    wxString cue;
    bool render = false;
    bool needsSections = false;  // load the sections, then ApplySections
    bool clearList = false;      // nothing forum-side to show: empty the list
    wxString status;             // written after rendering; empty: keep the render's hint
    wxString errorCaption;       // non-empty: show an error box
    wxString errorText;
};

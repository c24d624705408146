#pragma once

// The forum side of the main window without the window: the back stack, the
// rows on screen, and what each key means. It never calls the server; it
// returns actions, and whoever runs them feeds the answers back.

#include <cstdint>
#include <optional>
#include <vector>

#include <wx/string.h>

#include "api/forum_records.h"
#include "app/forum_actions.h"
#include "app/forum_view.h"
#include "app/forum_views.h"
#include "app/search_outcome.h"
#include "posts/post_detail_results.h"

// What the list shows after a render.
struct RenderedList
{
    bool needsSections = false;  // nothing to show yet: load the sections first
    wxString label;
    std::vector<wxString> rows;
    int selection = -1;
    wxString status;
};

struct FloorMenu
{
    int id = 6025;
    wxString label;   // "回复 N 楼（user）"
    wxString cue;     // played just before the menu appears
};

class ForumBrowser
{
public:
    // The home view's first row follows the session.
    void SetSession(const SessionRow& session) { session_ = session; }
    const SessionRow& Session() const { return session_; }

    const std::vector<View>& Stack() const { return stack_; }
    const View* Top() const { return stack_.empty() ? nullptr : &stack_.back(); }
    const std::vector<ListEntry>& ShownEntries() const { return shown_; }
    const std::vector<SectionInfo>& Sections() const { return sections_; }

    RenderedList Render();
    wxString StatusHint() const { return StatusHintFor(Top()); }

    ForumAction Activate(int row);
    ForumUpdate Back();

    ForumUpdate ApplySections(const SectionList& list);
    ForumUpdate ApplyPostList(const PostListRequest& request, const PostListPage& page);
    ForumUpdate ApplyFloors(const FloorRequest& request, const ReplyPage& page);

    // After a post was edited or deleted from the list: the same page again.
    ForumAction ReloadPostList();
    // `detail` is the post the dialog was opened with.
    ForumAction AfterPostDetail(int dialogResult, const PostDetail& detail);
    // After a login, a logout or a new post. With `onlyIfHomeShown` the list
    // is re-rendered only when the home view is the one on screen.
    ForumUpdate RebuildHome(bool onlyIfHomeShown = false);

    std::optional<FloorMenu> FloorMenuFor(int row) const;
    ForumAction ReplyToFloor(int row) const;

    // Search: the placeholder is pushed at once; the ticket goes to a worker.
    struct SearchStart
    {
        SearchTicket ticket;
        ForumUpdate update;
    };
    SearchStart StartSearch(const SearchRequest& request);
    // Drops (returns nullopt) an outcome that no longer belongs on screen.
    std::optional<ForumUpdate> AcceptSearchOutcome(const SearchOutcome& outcome);
    uint64_t LatestSearchId() const { return latestSearchId_; }

private:
    const ListEntry* EntryAt(int row) const;
    ForumAction PageAction(int32_t pageNum) const;
    ForumAction OpenDetailAction(const ListEntry* floorRow) const;
    void PushReplacing(View view, bool replacesTop);
    void PopTop();
    ForumUpdate Failure(const wxString& caption, const wxString& text) const;

    SessionRow session_;
    std::vector<View> stack_;
    std::vector<ListEntry> shown_;
    std::vector<SectionInfo> sections_;
    bool stale_ = false;  // the stack changed since the last render
    uint64_t searchCounter_ = 0;
    uint64_t latestSearchId_ = 0;
    // The results page the newest search's placeholder took the place of;
    // it comes back if that search fails, as a failed page of any list
    // keeps the page on screen.
    std::optional<View> searchReplaced_;
};

#include "app/forum_browser.h"

#include <wx/defs.h>

namespace {

const wxChar* const kEnterCue = wxS("jr.wav");
const wxChar* const kBackCue = wxS("fh.wav");
const wxChar* const kMenuCue = wxS("yj.wav");

ForumAction LoadList(ListSource source, int32_t sectionId = 0, const wxString& listName = {})
{
    ForumAction action;
    action.kind = ForumActionKind::LoadPostList;
    action.list.source = source;
    action.list.sectionId = sectionId;
    action.list.listName = listName;
    return action;
}

} // namespace

const ListEntry* ForumBrowser::EntryAt(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= shown_.size())
        return nullptr;
    return &shown_[static_cast<size_t>(row)];
}

RenderedList ForumBrowser::Render()
{
    shown_.clear();
    RenderedList rendered;
    // The home view is pushed by the first successful section load and never
    // popped, so an empty stack means the sections are still to be loaded.
    if (stack_.empty()) {
        rendered.needsSections = true;
        return rendered;
    }
    const View& top = stack_.back();
    rendered.label = ListLabelFor(top);
    shown_ = top.entries;
    for (const ListEntry& entry : shown_)
        rendered.rows.push_back(entry.text);
    rendered.selection = shown_.empty() ? -1 : 0;
    rendered.status = StatusHint();
    stale_ = false;
    return rendered;
}

ForumAction ForumBrowser::Activate(int row)
{
    const ListEntry* entry = EntryAt(row);
    if (entry == nullptr)
        return {};
    const View* top = Top();
    const PageInfo paging = top != nullptr ? top->paging : PageInfo{};
    ForumAction action;
    switch (entry->type) {
    case EntryType::LoginRow:
        action.kind = ForumActionKind::Login;
        break;
    case EntryType::PersonalCenterRow:
        action.kind = ForumActionKind::PersonalCenter;
        break;
    case EntryType::NewPostRow:
        action.kind = ForumActionKind::NewPost;
        break;
    case EntryType::SearchRow:
        action.kind = ForumActionKind::AskSearchKeyword;
        break;
    case EntryType::LatestTopicsRow:
        action = LoadList(ListSource::LatestTopics);
        break;
    case EntryType::HotPostsRow:
        action = LoadList(ListSource::HotPosts);
        break;
    case EntryType::LatestRepliesRow:
        action = LoadList(ListSource::LatestReplies);
        break;
    case EntryType::SectionRow:
        action = LoadList(ListSource::Section, entry->sectionId, entry->listName);
        break;
    case EntryType::PostRow:
        action.kind = ForumActionKind::LoadFloors;
        action.floors.postId = entry->postId;
        action.floors.postTitle = entry->postTitle;
        action.floors.sectionId = entry->sectionId;
        action.floors.listName = entry->listName;
        break;
    case EntryType::OpeningPostRow:
    case EntryType::FloorRow:
        // Reading a floor opens the post to answer the post itself; only the
        // floor's menu command makes that floor the reply's target.
        action = OpenDetailAction(nullptr);
        break;
    case EntryType::PreviousPageRow:
        if (paging.pageNum > 1)
            action = PageAction(paging.pageNum - 1);
        break;
    case EntryType::NextPageRow:
        if (paging.pageNum < paging.pages)
            action = PageAction(paging.pageNum + 1);
        break;
    case EntryType::FirstPageRow:
        if (paging.pageNum > 1)
            action = PageAction(1);
        break;
    case EntryType::LastPageRow:
        if (paging.pageNum < paging.pages)
            action = PageAction(paging.pages);
        break;
    case EntryType::PageSummaryRow:
    case EntryType::NoticeRow:
        return {};
    case EntryType::MusicPlaylistRow:
    case EntryType::MusicHotkeysRow:
    case EntryType::MusicAlbumRow:
    case EntryType::MusicSongRow:
        return {};  // music rows belong to the music view
    }
    action.cue = kEnterCue;
    return action;
}

ForumAction ForumBrowser::PageAction(int32_t pageNum) const
{
    const View* top = Top();
    ForumAction action;
    if (top == nullptr)
        return action;
    if (top->kind == ViewKind::PostList && top->source == ListSource::Search) {
        action.kind = ForumActionKind::StartSearch;
        action.search = SearchRequest{top->keyword, pageNum, true};
    } else if (top->kind == ViewKind::PostList) {
        action = LoadList(top->source, top->sectionId, top->listName);
        action.list.pageNum = pageNum;
        action.list.replacesTop = true;
    } else if (top->kind == ViewKind::FloorList) {
        action.kind = ForumActionKind::LoadFloors;
        action.floors.postId = top->postId;
        action.floors.postTitle = top->postTitle;
        action.floors.sectionId = top->sectionId;
        action.floors.listName = top->listName;
        action.floors.pageNum = pageNum;
        action.floors.starterOnly = top->starterOnly;
        action.floors.starterUserId = top->starterUserId;
        action.floors.starterName = top->starterName;
        action.floors.replacesTop = true;
    }
    return action;
}

ForumAction ForumBrowser::OpenDetailAction(const ListEntry* floorRow) const
{
    ForumAction action;
    const View* top = Top();
    if (top == nullptr || top->postId == 0)
        return action;
    action.kind = ForumActionKind::OpenPostDetail;
    action.postId = top->postId;
    if (floorRow != nullptr)
        action.floorRow = *floorRow;
    action.allowOnlyOp = top->kind == ViewKind::FloorList;
    return action;
}

ForumUpdate ForumBrowser::Back()
{
    ForumUpdate update;
    if (stack_.size() < 2)
        return update;
    PopTop();
    update.cue = kBackCue;
    update.render = true;
    return update;
}

void ForumBrowser::PushReplacing(View view, bool replacesTop)
{
    // The home view stays at the bottom whatever replaces what.
    if (replacesTop && stack_.size() > 1)
        stack_.pop_back();
    stack_.push_back(std::move(view));
    stale_ = true;
}

void ForumBrowser::PopTop()
{
    if (!stack_.empty()) {
        stack_.pop_back();
        stale_ = true;
    }
}

ForumUpdate ForumBrowser::Failure(const wxString& caption, const wxString& text) const
{
    ForumUpdate update;
    update.errorCaption = caption;
    update.errorText = text;
    // Nothing was replaced; only a stack changed before the request (a
    // closed floor view) has to reach the screen.
    update.render = stale_;
    return update;
}

ForumUpdate ForumBrowser::ApplySections(const SectionList& list)
{
    if (!list.ok) {
        ForumUpdate update = Failure(SectionsFailureCaption(), list.error);
        update.clearList = stack_.empty();
        return update;
    }
    sections_ = list.sections;
    if (stack_.empty())
        stack_.push_back(BuildHomeView(session_, sections_));
    else
        stack_.front() = BuildHomeView(session_, sections_);
    stale_ = true;
    ForumUpdate update;
    update.render = true;
    return update;
}

ForumUpdate ForumBrowser::ApplyPostList(const PostListRequest& request, const PostListPage& page)
{
    if (!page.ok)
        return Failure(PostListFailureCaption(request.source), page.error);
    PushReplacing(BuildPostListView(request, page), request.replacesTop);
    ForumUpdate update;
    update.render = true;
    return update;
}

ForumUpdate ForumBrowser::ApplyFloors(const FloorRequest& request, const ReplyPage& page)
{
    if (!page.ok)
        return Failure(FloorsFailureCaption(), page.error);
    PushReplacing(BuildFloorView(request, page), request.replacesTop);
    ForumUpdate update;
    update.render = true;
    return update;
}

ForumAction ForumBrowser::ReloadPostList()
{
    const View* top = Top();
    if (top == nullptr || top->kind != ViewKind::PostList)
        return {};
    return PageAction(top->paging.pageNum);
}

ForumAction ForumBrowser::AfterPostDetail(int dialogResult, const PostDetail& detail)
{
    const View* top = Top();
    if (top == nullptr || top->kind != ViewKind::FloorList)
        return {};
    ForumAction action;
    switch (dialogResult) {
    case RESULT_ONLY_OP:
        action = PageAction(1);
        action.floors.starterOnly = true;
        action.floors.starterUserId = detail.userId;
        action.floors.starterName = detail.userName;
        return action;
    case RESULT_POST_CHANGED:
        PopTop();
        action = ReloadPostList();
        action.render = action.kind == ForumActionKind::None;
        return action;
    case wxID_OK:
        return PageAction(top->paging.pageNum);
    default:
        return action;
    }
}

ForumUpdate ForumBrowser::RebuildHome(bool onlyIfHomeShown)
{
    ForumUpdate update;
    if (stack_.empty()) {
        // No sections yet: loading them builds the home view with the session.
        update.needsSections = !onlyIfHomeShown;
        return update;
    }
    // A home view exists only after a successful section load, so the
    // sections in hand are what the server has; no second load here.
    stack_.front() = BuildHomeView(session_, sections_);
    const bool homeShown = stack_.size() == 1;
    if (homeShown)
        stale_ = true;
    update.render = homeShown || !onlyIfHomeShown;
    return update;
}

std::optional<FloorMenu> ForumBrowser::FloorMenuFor(int row) const
{
    const ListEntry* entry = EntryAt(row);
    const View* top = Top();
    if (entry == nullptr || top == nullptr || top->kind != ViewKind::FloorList ||
        entry->type != EntryType::FloorRow)
        return std::nullopt;
    FloorMenu menu;
    menu.label = wxString::Format(wxS("回复 %d 楼（%s）"), entry->floor, entry->userName);
    menu.cue = kMenuCue;
    return menu;
}

ForumAction ForumBrowser::ReplyToFloor(int row) const
{
    if (!FloorMenuFor(row))
        return {};
    return OpenDetailAction(EntryAt(row));
}

#include "app/forum_views.h"

#include "app/forum_lines.h"

namespace {

wxString SectionRowText(const SectionInfo& section)
{
    if (section.description.empty())
        return section.name;
    return section.name + wxS(" - ") + section.description;
}

// The rows of a post list: one per post (the notice when there is none),
// then the paging rows.
void FillPostRows(View& view, const PostListPage& page, int32_t sectionId, const wxString& emptyNotice)
{
    view.paging = page.pageInfo;
    view.entries.clear();
    for (const PostSummary& post : page.items)
        view.entries.push_back(MakePostRow(post, sectionId, view.listName));
    if (view.entries.empty())
        view.entries.push_back(MakeNoticeRow(emptyNotice));
    AppendPagingRows(view.entries, view.paging);
}

} // namespace

View BuildHomeView(const SessionRow& session, const std::vector<SectionInfo>& sections)
{
    View view;
    view.kind = ViewKind::Home;
    view.title = wxS("澄川论坛首页");
    auto& rows = view.entries;
    if (session.loggedIn)
        rows.push_back(MakeTextRow(EntryType::PersonalCenterRow,
                                   wxS("个人中心（") + session.displayName + wxS("）")));
    else
        rows.push_back(MakeTextRow(EntryType::LoginRow, wxS("登录")));
    rows.push_back(MakeTextRow(EntryType::NewPostRow, wxS("发新帖")));
    rows.push_back(MakeTextRow(EntryType::SearchRow, wxS("搜索帖子")));
    rows.push_back(MakeTextRow(EntryType::LatestTopicsRow, wxS("最新话题")));
    rows.push_back(MakeTextRow(EntryType::HotPostsRow, wxS("热门帖子")));
    rows.push_back(MakeTextRow(EntryType::LatestRepliesRow, wxS("最新回复")));
    for (const SectionInfo& section : sections) {
        ListEntry row = MakeTextRow(EntryType::SectionRow, SectionRowText(section));
        row.sectionId = section.id;
        row.listName = section.name;
        rows.push_back(row);
    }
    return view;
}

View BuildPostListView(const PostListRequest& request, const PostListPage& page)
{
    View view;
    view.kind = ViewKind::PostList;
    view.source = request.source;
    if (request.source == ListSource::Section) {
        view.sectionId = page.sectionId;
        view.listName = page.title.empty() ? request.listName : page.title;
    } else {
        view.listName = ListNameFor(request.source);
    }
    view.title = view.listName;
    FillPostRows(view, page, view.sectionId, EmptyListNotice(request.source));
    return view;
}

View BuildFloorView(const FloorRequest& request, const ReplyPage& page)
{
    View view;
    view.kind = ViewKind::FloorList;
    view.title = request.postTitle;
    view.sectionId = request.sectionId;
    view.listName = request.listName;
    view.postId = request.postId;
    view.postTitle = request.postTitle;
    view.starterOnly = request.starterOnly;
    view.starterUserId = request.starterUserId;
    view.starterName = request.starterName;
    view.paging = page.pageInfo;

    ListEntry opening;
    opening.type = EntryType::OpeningPostRow;
    opening.text = wxS("查看楼主：") + request.postTitle;
    opening.postId = request.postId;
    opening.postTitle = request.postTitle;
    view.entries.push_back(opening);
    if (request.starterOnly)
        view.entries.push_back(MakeNoticeRow(
            request.starterName.empty() ? wxString(wxS("当前模式：只看楼主"))
                                        : wxS("当前模式：只看楼主（") + request.starterName + wxS("）")));
    const size_t headRows = view.entries.size();

    // The filter works on the page the server returned; paging stays the server's.
    const bool filter = request.starterOnly && request.starterUserId != 0;
    for (const ReplyItem& reply : page.items) {
        if (filter && reply.userId != request.starterUserId)
            continue;
        ListEntry row;
        row.type = EntryType::FloorRow;
        row.text = FormatFloorLine(reply);
        row.userId = reply.userId;
        row.postId = request.postId;
        row.postTitle = request.postTitle;
        row.replyId = reply.id;
        row.floor = reply.floor;
        row.parentId = reply.parentId;
        row.parentFloor = reply.parentFloor;
        row.userName = reply.userName;
        view.entries.push_back(row);
    }
    if (view.entries.size() == headRows)
        view.entries.push_back(MakeNoticeRow(wxS("当前帖子暂无楼层回帖")));
    AppendPagingRows(view.entries, view.paging);
    return view;
}

View BuildSearchPlaceholder(const wxString& keyword, int32_t pageNum)
{
    View view;
    view.kind = ViewKind::PostList;
    view.source = ListSource::Search;
    view.keyword = keyword;
    view.title = wxS("搜索：") + keyword;
    view.listName = view.title;
    view.paging = PageInfo{pageNum, 20, 1, 0};
    view.entries.push_back(MakeNoticeRow(wxS("正在搜索，请稍候...")));
    return view;
}

void FillSearchView(View& view, const PostListPage& page)
{
    FillPostRows(view, page, 0, EmptyListNotice(ListSource::Search));
}

wxString ListLabelFor(const View& view)
{
    switch (view.kind) {
    case ViewKind::Home:
        return wxS("版块列表");
    case ViewKind::PostList:
        return wxS("帖子列表 - ") + view.listName;
    case ViewKind::FloorList:
        return wxS("楼层列表 - ") + view.postTitle;
    }
    return wxString();
}

wxString StatusHintFor(const View* view)
{
    if (view == nullptr)
        return wxS("正在加载澄川论坛内容。");
    switch (view->kind) {
    case ViewKind::Home:
        return wxS("当前为社区首页。个人中心、发新帖、搜索帖子、最新话题、热门帖子、最新回复在前，"
                   "后面是版块列表。按回车进入。");
    case ViewKind::PostList:
        return wxS("当前为帖子列表。按回车查看楼层，列表内可翻页、回到首页或尾页，退格返回上一层。");
    case ViewKind::FloorList:
        if (view->starterOnly)
            return wxS("当前为楼层列表，只看楼主模式已开启。回车查看内容页，列表内可翻页，"
                       "退格返回帖子列表。");
        return wxS("当前为楼层列表。回车查看内容页，列表内可翻页、回到首页或尾页，"
                   "右键可回复某一楼，退格返回帖子列表。");
    }
    return wxString();
}

wxString ListNameFor(ListSource source)
{
    switch (source) {
    case ListSource::LatestTopics:
        return wxS("最新话题");
    case ListSource::HotPosts:
        return wxS("热门帖子");
    case ListSource::LatestReplies:
        return wxS("最新回复");
    case ListSource::Section:
    case ListSource::Search:
        break;
    }
    return wxString();
}

wxString EmptyListNotice(ListSource source)
{
    switch (source) {
    case ListSource::Section:
        return wxS("当前版块暂无帖子");
    case ListSource::LatestTopics:
        return wxS("当前暂无最新话题");
    case ListSource::HotPosts:
        return wxS("当前暂无热门帖子");
    case ListSource::LatestReplies:
        return wxS("当前暂无最新回复");
    case ListSource::Search:
        return wxS("当前没有匹配的帖子");
    }
    return wxString();
}

wxString PostListFailureCaption(ListSource source)
{
    switch (source) {
    case ListSource::Section:
        return wxS("获取帖子列表失败");
    case ListSource::LatestTopics:
        return wxS("获取最新话题失败");
    case ListSource::HotPosts:
        return wxS("获取热门帖子失败");
    case ListSource::LatestReplies:
        return wxS("获取最新回复失败");
    case ListSource::Search:
        return SearchFailureCaption();
    }
    return wxString();
}

wxString FloorsFailureCaption() { return wxS("获取回帖列表失败"); }
wxString SectionsFailureCaption() { return wxS("获取版块失败"); }
wxString PostDetailFailureCaption() { return wxS("获取帖子详情失败"); }
wxString SearchFailureCaption() { return wxS("搜索帖子失败"); }

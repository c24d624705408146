// The search half of ForumBrowser: the placeholder view and the checks that
// keep a late or superseded outcome off the screen.

#include "app/forum_browser.h"

ForumBrowser::SearchStart ForumBrowser::StartSearch(const SearchRequest& request)
{
    ++searchCounter_;  // wraps at 2^64; ids only need to differ from the last one
    latestSearchId_ = searchCounter_;
    searchReplaced_.reset();
    if (request.replacesTop && stack_.size() > 1)
        searchReplaced_ = stack_.back();
    PushReplacing(BuildSearchPlaceholder(request.keyword, request.pageNum), request.replacesTop);

    SearchStart start;
    start.ticket = SearchTicket{latestSearchId_, request.keyword, request.pageNum};
    start.update.render = true;
    start.update.status = wxS("正在搜索帖子，请稍候。");
    return start;
}

std::optional<ForumUpdate> ForumBrowser::AcceptSearchOutcome(const SearchOutcome& outcome)
{
    if (outcome.searchId != latestSearchId_ || stack_.empty())
        return std::nullopt;
    View& top = stack_.back();
    if (top.kind != ViewKind::PostList || top.source != ListSource::Search ||
        top.keyword != outcome.keyword)
        return std::nullopt;

    ForumUpdate update;
    update.render = true;
    if (!outcome.page.ok) {
        PopTop();
        if (searchReplaced_)
            stack_.push_back(std::move(*searchReplaced_));
        searchReplaced_.reset();
        update.errorCaption = SearchFailureCaption();
        update.errorText = outcome.page.error;
        return update;
    }
    searchReplaced_.reset();
    FillSearchView(top, outcome.page);
    stale_ = true;
    update.status = wxString::Format(wxS("搜索完成：关键词“%s”，第 %d 页，共 %d 条。"), top.keyword,
                                     top.paging.pageNum, top.paging.total);
    return update;
}

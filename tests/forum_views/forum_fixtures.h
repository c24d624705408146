#pragma once

// Small builders for forum answers, so each test reads as the answer it feeds.

#include <vector>

#include "api/forum_records.h"
#include "app/forum_browser.h"

namespace fixtures {

inline PostSummary Post(int32_t id, const wxString& title, const wxString& user = wxS("作者"))
{
    PostSummary post;
    post.id = id;
    post.title = title;
    post.userName = user;
    post.createTime = wxS("2026-12-07 10:00");
    post.replyCount = 3;
    post.viewCount = 40;
    return post;
}

inline PostListPage Page(std::vector<PostSummary> items, int32_t pageNum = 1, int32_t pages = 1,
                         int32_t total = -1)
{
    PostListPage page;
    page.ok = true;
    page.pageInfo = PageInfo{pageNum, 20, pages, total < 0 ? static_cast<int32_t>(items.size()) : total};
    page.items = std::move(items);
    return page;
}

// A section's page as the server answers it: the section's id comes back.
inline PostListPage SectionPage(int32_t sectionId, std::vector<PostSummary> items)
{
    PostListPage page = Page(std::move(items));
    page.sectionId = sectionId;
    return page;
}

inline PostListPage FailedPage(const wxString& error)
{
    PostListPage page;
    page.error = error;
    return page;
}

inline ReplyItem Reply(int32_t id, int32_t floor, int32_t userId, const wxString& user,
                       const wxString& body, int32_t parentFloor = 0)
{
    ReplyItem reply;
    reply.id = id;
    reply.floor = floor;
    reply.userId = userId;
    reply.userName = user;
    reply.body = body;
    reply.parentFloor = parentFloor;
    reply.parentId = parentFloor > 0 ? id - 1 : 0;
    return reply;
}

inline ReplyPage Replies(std::vector<ReplyItem> items, int32_t pageNum = 1, int32_t pages = 1)
{
    ReplyPage page;
    page.ok = true;
    page.pageInfo = PageInfo{pageNum, 20, pages, static_cast<int32_t>(items.size())};
    page.items = std::move(items);
    return page;
}

inline SectionList Sections()
{
    SectionList list;
    list.ok = true;
    list.sections.push_back(SectionInfo{5, wxS("音乐分享"), wxS("好歌推荐"), false, 0});
    list.sections.push_back(SectionInfo{7, wxS("站务"), wxString(), false, 0});
    return list;
}

// A browser showing the home view.
inline ForumBrowser HomeBrowser()
{
    ForumBrowser browser;
    browser.Render();
    browser.ApplySections(Sections());
    browser.Render();
    return browser;
}

// Index of the first shown row of a type, -1 when none.
inline int RowOf(const ForumBrowser& browser, EntryType type)
{
    const auto& rows = browser.ShownEntries();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].type == type)
            return static_cast<int>(i);
    return -1;
}

// Runs a list action as a blocking loader would, with the given answer.
inline ForumUpdate Load(ForumBrowser& browser, const ForumAction& action, const PostListPage& page)
{
    ForumUpdate update = browser.ApplyPostList(action.list, page);
    if (update.render)
        browser.Render();
    return update;
}

inline ForumUpdate LoadFloors(ForumBrowser& browser, const ForumAction& action, const ReplyPage& page)
{
    ForumUpdate update = browser.ApplyFloors(action.floors, page);
    if (update.render)
        browser.Render();
    return update;
}

} // namespace fixtures

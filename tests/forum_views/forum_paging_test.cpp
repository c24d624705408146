// Paging and reloading: a new page replaces the view it came from only once
// it has arrived.

#include <gtest/gtest.h>

#include "app/forum_browser.h"
#include "forum_fixtures.h"

using namespace fixtures;

namespace {

// Home, then page 2 of 3 of the hot posts.
ForumBrowser OnHotPage2()
{
    ForumBrowser browser = HomeBrowser();
    ForumAction open = browser.Activate(RowOf(browser, EntryType::HotPostsRow));
    open.list.pageNum = 2;
    Load(browser, open, Page({Post(1, wxS("一")), Post(2, wxS("二"))}, 2, 3, 45));
    return browser;
}

} // namespace

TEST(ForumPaging, PagingRowsAskForTheRightPageOfTheSameList)
{
    ForumBrowser browser = OnHotPage2();
    const int prev = RowOf(browser, EntryType::PreviousPageRow);
    struct Case { EntryType row; int32_t page; } cases[] = {
        {EntryType::PreviousPageRow, 1}, {EntryType::NextPageRow, 3},
        {EntryType::FirstPageRow, 1}, {EntryType::LastPageRow, 3}};
    for (const auto& c : cases) {
        ForumAction action = browser.Activate(RowOf(browser, c.row));
        ASSERT_EQ(action.kind, ForumActionKind::LoadPostList);
        EXPECT_EQ(action.list.source, ListSource::HotPosts);
        EXPECT_EQ(action.list.pageNum, c.page);
        EXPECT_TRUE(action.list.replacesTop);
        EXPECT_EQ(action.cue, wxString(wxS("jr.wav")));
    }
    EXPECT_EQ(prev, 3);

    ForumUpdate next = Load(browser, browser.Activate(RowOf(browser, EntryType::NextPageRow)),
                            Page({Post(3, wxS("三"))}, 3, 3, 45));
    EXPECT_TRUE(next.render);
    EXPECT_TRUE(next.errorCaption.empty());
    EXPECT_EQ(browser.Stack().size(), 2u);  // replaced, not stacked
    EXPECT_EQ(browser.Top()->paging.pageNum, 3);
    EXPECT_EQ(browser.ShownEntries()[RowOf(browser, EntryType::NextPageRow)].text,
              wxString(wxS("下一页（当前已是最后一页）")));
    // On the last page the forward rows only play the cue.
    EXPECT_EQ(browser.Activate(RowOf(browser, EntryType::LastPageRow)).kind, ForumActionKind::None);
}

TEST(ForumPaging, FailedPageLeavesListStackAndStatusAsTheyWere)
{
    ForumBrowser browser = OnHotPage2();
    const std::vector<ListEntry> before = browser.ShownEntries();
    const wxString hint = browser.StatusHint();

    ForumAction next = browser.Activate(RowOf(browser, EntryType::NextPageRow));
    ForumUpdate failed = browser.ApplyPostList(next.list, FailedPage(wxS("连接服务器失败。")));
    EXPECT_EQ(failed.errorCaption, wxString(wxS("获取热门帖子失败")));
    EXPECT_EQ(failed.errorText, wxString(wxS("连接服务器失败。")));
    EXPECT_FALSE(failed.render);
    EXPECT_TRUE(failed.status.empty());
    ASSERT_EQ(browser.Stack().size(), 2u);
    EXPECT_EQ(browser.Top()->paging.pageNum, 2);
    EXPECT_EQ(browser.ShownEntries().size(), before.size());
    EXPECT_EQ(browser.StatusHint(), hint);

    // Keys still act on the view on screen: Enter pages from page 2, and
    // Backspace leads to the home view beneath it.
    ForumAction again = browser.Activate(RowOf(browser, EntryType::PreviousPageRow));
    EXPECT_EQ(again.list.pageNum, 1);
    EXPECT_TRUE(browser.Back().render);
    EXPECT_EQ(browser.Render().label, wxString(wxS("版块列表")));
}

TEST(ForumPaging, FailedFloorPageKeepsTheFloorView)
{
    ForumBrowser browser = OnHotPage2();
    LoadFloors(browser, browser.Activate(0),
               Replies({Reply(100, 1, 9, wxS("甲"), wxS("正文"))}, 1, 2));
    ForumAction next = browser.Activate(RowOf(browser, EntryType::NextPageRow));
    ASSERT_EQ(next.kind, ForumActionKind::LoadFloors);
    EXPECT_EQ(next.floors.pageNum, 2);
    EXPECT_EQ(next.floors.postId, 1);

    ReplyPage failed;
    failed.error = wxS("回帖列表缺失。");
    ForumUpdate update = browser.ApplyFloors(next.floors, failed);
    EXPECT_EQ(update.errorCaption, wxString(wxS("获取回帖列表失败")));
    EXPECT_FALSE(update.render);
    EXPECT_EQ(browser.Stack().size(), 3u);
    EXPECT_EQ(browser.Top()->kind, ViewKind::FloorList);
}

TEST(ForumPaging, ReloadAsksForTheSamePageOfPostListsOnly)
{
    ForumBrowser browser = HomeBrowser();
    EXPECT_EQ(browser.ReloadPostList().kind, ForumActionKind::None);  // home view

    browser = OnHotPage2();
    ForumAction reload = browser.ReloadPostList();
    ASSERT_EQ(reload.kind, ForumActionKind::LoadPostList);
    EXPECT_EQ(reload.list.pageNum, 2);
    EXPECT_TRUE(reload.list.replacesTop);
    EXPECT_TRUE(reload.cue.empty());

    ForumUpdate failed = browser.ApplyPostList(reload.list, FailedPage(wxS("超时")));
    EXPECT_FALSE(failed.render);
    EXPECT_EQ(browser.Stack().size(), 2u);
}

TEST(ForumPaging, DetailResultsReloadTheFloorsOrThePostList)
{
    ForumBrowser browser = OnHotPage2();
    LoadFloors(browser, browser.Activate(0), Replies({Reply(100, 1, 9, wxS("甲"), wxS("正文"))}, 2, 2));
    PostDetail detail;
    detail.userId = 9;

    ForumAction ok = browser.AfterPostDetail(wxID_OK, detail);
    ASSERT_EQ(ok.kind, ForumActionKind::LoadFloors);
    EXPECT_EQ(ok.floors.pageNum, 2);
    EXPECT_TRUE(ok.floors.replacesTop);
    EXPECT_EQ(browser.AfterPostDetail(wxID_CANCEL, detail).kind, ForumActionKind::None);

    // The post changed: the floor view closes and the list below is fetched
    // again; if that fails the list below is what the screen shows.
    ForumAction changed = browser.AfterPostDetail(RESULT_POST_CHANGED, detail);
    ASSERT_EQ(changed.kind, ForumActionKind::LoadPostList);
    EXPECT_EQ(changed.list.pageNum, 2);
    EXPECT_EQ(browser.Stack().size(), 2u);
    ForumUpdate failed = browser.ApplyPostList(changed.list, FailedPage(wxS("超时")));
    EXPECT_TRUE(failed.render);
    EXPECT_EQ(failed.errorCaption, wxString(wxS("获取热门帖子失败")));
    EXPECT_EQ(browser.Render().label, wxString(wxS("帖子列表 - 热门帖子")));

    // From a post list the dialog results change nothing.
    EXPECT_EQ(browser.AfterPostDetail(RESULT_ONLY_OP, detail).kind, ForumActionKind::None);
}

// Search from the home view: the placeholder, and which outcomes may fill it.

#include <gtest/gtest.h>

#include "app/forum_browser.h"
#include "app/search_keyword.h"
#include "forum_fixtures.h"

using namespace fixtures;

namespace {

SearchOutcome Outcome(const SearchTicket& ticket, PostListPage page)
{
    return SearchOutcome{ticket.searchId, ticket.keyword, ticket.pageNum, std::move(page)};
}

SearchTicket Start(ForumBrowser& browser, const wxString& keyword)
{
    ForumBrowser::SearchStart start = browser.StartSearch(SearchRequest{keyword, 1, false});
    browser.Render();
    return start.ticket;
}

} // namespace

TEST(Search, KeywordIsTrimmedAndMustNotBeEmpty)
{
    EXPECT_FALSE(CleanSearchKeyword(wxS("   ")).has_value());
    EXPECT_FALSE(CleanSearchKeyword(wxS(" \u3000\t")).has_value());
    EXPECT_EQ(*CleanSearchKeyword(wxS("  古风 歌曲 ")), wxString(wxS("古风 歌曲")));
    EXPECT_EQ(SearchKeywordMissing(), wxString(wxS("请输入搜索关键词。")));
}

TEST(Search, PlaceholderThenResults)
{
    ForumBrowser browser = HomeBrowser();
    EXPECT_EQ(browser.Activate(RowOf(browser, EntryType::SearchRow)).kind, ForumActionKind::AskSearchKeyword);

    ForumBrowser::SearchStart start = browser.StartSearch(SearchRequest{wxS("古风"), 1, false});
    EXPECT_EQ(start.update.status, wxString(wxS("正在搜索帖子，请稍候。")));
    RenderedList waiting = browser.Render();
    EXPECT_EQ(waiting.label, wxString(wxS("帖子列表 - 搜索：古风")));
    ASSERT_EQ(waiting.rows.size(), 1u);
    EXPECT_EQ(waiting.rows[0], wxString(wxS("正在搜索，请稍候...")));

    auto update = browser.AcceptSearchOutcome(Outcome(start.ticket, Page({Post(8, wxS("古风合集"))}, 1, 2, 21)));
    ASSERT_TRUE(update.has_value());
    EXPECT_TRUE(update->render);
    EXPECT_EQ(update->status, wxString(wxS("搜索完成：关键词“古风”，第 1 页，共 21 条。")));
    RenderedList results = browser.Render();
    ASSERT_EQ(results.rows.size(), 6u);
    EXPECT_EQ(browser.ShownEntries()[0].listName, wxString(wxS("搜索：古风")));
    EXPECT_EQ(browser.ShownEntries()[0].sectionId, 0);

    ForumAction next = browser.Activate(RowOf(browser, EntryType::NextPageRow));
    ASSERT_EQ(next.kind, ForumActionKind::StartSearch);
    EXPECT_EQ(next.search.keyword, wxString(wxS("古风")));
    EXPECT_EQ(next.search.pageNum, 2);
    EXPECT_TRUE(next.search.replacesTop);
    browser.StartSearch(next.search);
    EXPECT_EQ(browser.Stack().size(), 2u);  // the placeholder took the results' place
}

TEST(Search, NoResultsShowTheNoticeAndPagingRows)
{
    ForumBrowser browser = HomeBrowser();
    SearchTicket ticket = Start(browser, wxS("无此词"));
    ASSERT_TRUE(browser.AcceptSearchOutcome(Outcome(ticket, Page({}, 1, 1, 0))));
    RenderedList shown = browser.Render();
    ASSERT_EQ(shown.rows.size(), 6u);
    EXPECT_EQ(shown.rows[0], wxString(wxS("当前没有匹配的帖子")));
    EXPECT_EQ(shown.rows[1], wxString(wxS("当前共 1 页，第 1 页，共 0 条")));
}

TEST(Search, SecondSearchWinsWhicheverFinishesFirst)
{
    ForumBrowser browser = HomeBrowser();
    SearchTicket first = Start(browser, wxS("甲"));
    browser.Back();
    browser.Render();
    SearchTicket second = Start(browser, wxS("乙"));
    EXPECT_NE(first.searchId, second.searchId);

    EXPECT_TRUE(browser.AcceptSearchOutcome(Outcome(second, Page({Post(2, wxS("乙帖"))}))).has_value());
    EXPECT_FALSE(browser.AcceptSearchOutcome(Outcome(first, Page({Post(1, wxS("甲帖"))}))).has_value());
    EXPECT_EQ(browser.Top()->keyword, wxString(wxS("乙")));
    EXPECT_EQ(browser.Top()->entries[0].postId, 2);

    // And the other order: the older outcome arrives late on the newer placeholder.
    SearchTicket third = Start(browser, wxS("乙"));
    EXPECT_FALSE(browser.AcceptSearchOutcome(Outcome(second, Page({Post(9, wxS("旧"))}))).has_value());
    EXPECT_EQ(browser.Top()->entries[0].type, EntryType::NoticeRow);
    EXPECT_TRUE(browser.AcceptSearchOutcome(Outcome(third, Page({Post(3, wxS("新"))}))).has_value());
}

TEST(Search, OutcomeAfterBackspaceOrForAnotherKeywordIsDropped)
{
    ForumBrowser browser = HomeBrowser();
    SearchTicket ticket = Start(browser, wxS("Abc"));
    SearchOutcome wrongCase = Outcome(ticket, Page({Post(1, wxS("x"))}));
    wrongCase.keyword = wxS("abc");
    EXPECT_FALSE(browser.AcceptSearchOutcome(wrongCase).has_value());

    browser.Back();
    browser.Render();
    EXPECT_FALSE(browser.AcceptSearchOutcome(Outcome(ticket, Page({Post(1, wxS("x"))}))).has_value());
    EXPECT_EQ(browser.Stack().size(), 1u);
    EXPECT_EQ(browser.ShownEntries()[0].text, wxString(wxS("登录")));
}

TEST(Search, FailedSearchRemovesOnlyItsPlaceholder)
{
    ForumBrowser browser = HomeBrowser();
    SearchTicket ticket = Start(browser, wxS("古风"));
    auto update = browser.AcceptSearchOutcome(Outcome(ticket, FailedPage(wxS("连接服务器失败。"))));
    ASSERT_TRUE(update.has_value());
    EXPECT_TRUE(update->render);
    EXPECT_EQ(update->errorCaption, wxString(wxS("搜索帖子失败")));
    EXPECT_EQ(update->errorText, wxString(wxS("连接服务器失败。")));
    EXPECT_EQ(browser.Stack().size(), 1u);
    EXPECT_EQ(browser.Render().label, wxString(wxS("版块列表")));
}

// Paging inside the results starts a search that replaces the page; when
// it fails the page comes back with its rows, as a failed page of any
// other list keeps the view it was asked from.
TEST(Search, AFailedPageBringsBackTheResultsPageItReplaced)
{
    ForumBrowser browser = HomeBrowser();
    SearchTicket first = Start(browser, wxS("古风"));
    ASSERT_TRUE(browser.AcceptSearchOutcome(Outcome(first, Page({Post(8, wxS("古风合集"))}, 2, 3, 41))));
    const RenderedList page = browser.Render();

    for (EntryType row : {EntryType::NextPageRow, EntryType::PreviousPageRow}) {
        ForumAction paging = browser.Activate(RowOf(browser, row));
        ASSERT_EQ(paging.kind, ForumActionKind::StartSearch);
        ForumBrowser::SearchStart start = browser.StartSearch(paging.search);
        ASSERT_EQ(browser.Render().rows.size(), 1u);  // the placeholder
        auto update = browser.AcceptSearchOutcome(Outcome(start.ticket, FailedPage(wxS("接收响应失败。"))));
        ASSERT_TRUE(update.has_value());
        EXPECT_TRUE(update->render);
        EXPECT_EQ(update->errorCaption, wxString(wxS("搜索帖子失败")));
        ASSERT_EQ(browser.Stack().size(), 2u);
        EXPECT_EQ(browser.Top()->paging.pageNum, 2);
        RenderedList shown = browser.Render();
        EXPECT_EQ(shown.label, page.label);
        EXPECT_EQ(shown.rows, page.rows);
        EXPECT_EQ(shown.status, page.status);
    }

    // A page that arrives replaces it for good; a later failure then brings
    // back that newer page, never an older one.
    ForumBrowser::SearchStart next = browser.StartSearch(browser.Activate(RowOf(browser, EntryType::NextPageRow)).search);
    ASSERT_TRUE(browser.AcceptSearchOutcome(Outcome(next.ticket, Page({Post(9, wxS("第三页"))}, 3, 3, 41))));
    browser.Render();
    ForumBrowser::SearchStart back = browser.StartSearch(browser.Activate(RowOf(browser, EntryType::FirstPageRow)).search);
    ASSERT_TRUE(browser.AcceptSearchOutcome(Outcome(back.ticket, FailedPage(wxS("x")))));
    EXPECT_EQ(browser.Top()->paging.pageNum, 3);
    EXPECT_EQ(browser.Render().rows[0].BeforeFirst('|').Trim(), wxString(wxS("第三页")));
}

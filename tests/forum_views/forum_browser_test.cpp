#include <gtest/gtest.h>

#include "app/forum_browser.h"
#include "forum_fixtures.h"

using namespace fixtures;

TEST(ForumBrowser, NothingShownUntilTheSectionsLoad)
{
    ForumBrowser browser;
    RenderedList first = browser.Render();
    EXPECT_TRUE(first.needsSections);
    EXPECT_TRUE(browser.Stack().empty());
    EXPECT_EQ(browser.StatusHint(), wxString(wxS("正在加载澄川论坛内容。")));

    SectionList failed;
    failed.error = wxS("连接服务器失败。");
    ForumUpdate update = browser.ApplySections(failed);
    EXPECT_EQ(update.errorCaption, wxString(wxS("获取版块失败")));
    EXPECT_EQ(update.errorText, failed.error);
    EXPECT_TRUE(update.clearList);  // no stale rows left without entries behind them
    EXPECT_TRUE(browser.Stack().empty());
    // A login before any sections arrived: the home view comes with them.
    browser.SetSession(SessionRow{true, wxS("小红")});
    ForumUpdate rebuild = browser.RebuildHome();
    EXPECT_TRUE(rebuild.needsSections);
    EXPECT_FALSE(rebuild.render);
    EXPECT_FALSE(browser.RebuildHome(true).needsSections);  // only if shown: nothing is
    EXPECT_TRUE(browser.Render().needsSections);
    EXPECT_TRUE(browser.Stack().empty());
    browser.SetSession(SessionRow{});

    update = browser.ApplySections(Sections());
    ASSERT_TRUE(update.render);
    RenderedList home = browser.Render();
    EXPECT_FALSE(home.needsSections);
    EXPECT_EQ(home.label, wxString(wxS("版块列表")));
    EXPECT_EQ(home.rows.size(), 8u);
    EXPECT_EQ(home.selection, 0);
    EXPECT_EQ(home.status, wxString(wxS("当前为社区首页。个人中心、发新帖、搜索帖子、最新话题、热门帖子、"
                                        "最新回复在前，后面是版块列表。按回车进入。")));
}

TEST(ForumBrowser, EmptyHotListShowsNoticeAndPagingRowsThatOnlyPlayTheCue)
{
    ForumBrowser browser = HomeBrowser();
    ForumAction open = browser.Activate(RowOf(browser, EntryType::HotPostsRow));
    EXPECT_EQ(open.kind, ForumActionKind::LoadPostList);
    EXPECT_EQ(open.cue, wxString(wxS("jr.wav")));
    EXPECT_EQ(open.list.source, ListSource::HotPosts);
    EXPECT_EQ(open.list.pageNum, 1);
    EXPECT_FALSE(open.list.replacesTop);
    Load(browser, open, Page({}));

    const auto& rows = browser.ShownEntries();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].text, wxString(wxS("当前暂无热门帖子")));
    EXPECT_EQ(rows[1].text, wxString(wxS("当前共 1 页，第 1 页，共 0 条")));
    EXPECT_EQ(browser.Render().label, wxString(wxS("帖子列表 - 热门帖子")));

    for (int row : {0, 1}) {  // notice and summary: silent and inert
        ForumAction action = browser.Activate(row);
        EXPECT_EQ(action.kind, ForumActionKind::None);
        EXPECT_TRUE(action.cue.empty());
    }
    for (int row = 2; row < 6; ++row) {  // page 1 of 1: the cue, nothing else
        ForumAction action = browser.Activate(row);
        EXPECT_EQ(action.kind, ForumActionKind::None) << row;
        EXPECT_EQ(action.cue, wxString(wxS("jr.wav")));
    }
    EXPECT_EQ(browser.Stack().size(), 2u);
    EXPECT_EQ(browser.Activate(6).kind, ForumActionKind::None);  // past the end
}

TEST(ForumBrowser, SectionPostsTakeTheAnswersTitleOrTheRowsName)
{
    ForumBrowser browser = HomeBrowser();
    ForumAction open = browser.Activate(7);  // "站务"
    ASSERT_EQ(open.kind, ForumActionKind::LoadPostList);
    EXPECT_EQ(open.list.source, ListSource::Section);
    EXPECT_EQ(open.list.sectionId, 7);

    PostListPage page = Page({Post(31, wxS("公告"))});
    page.sectionId = 7;
    Load(browser, open, page);  // answer without a name
    EXPECT_EQ(browser.Top()->listName, wxString(wxS("站务")));
    EXPECT_EQ(browser.ShownEntries()[0].sectionId, 7);
    EXPECT_EQ(browser.ShownEntries()[0].listName, wxString(wxS("站务")));

    browser.Back();
    browser.Render();
    page.title = wxS("站务公告");
    Load(browser, browser.Activate(7), page);
    EXPECT_EQ(browser.Top()->title, wxString(wxS("站务公告")));
    EXPECT_EQ(browser.Render().label, wxString(wxS("帖子列表 - 站务公告")));
}

TEST(ForumBrowser, BackPlaysTheCueOnlyWhenAViewLiesBeneath)
{
    ForumBrowser browser = HomeBrowser();
    ForumUpdate onHome = browser.Back();
    EXPECT_FALSE(onHome.render);
    EXPECT_TRUE(onHome.cue.empty());
    EXPECT_EQ(browser.Stack().size(), 1u);

    Load(browser, browser.Activate(RowOf(browser, EntryType::LatestTopicsRow)), Page({Post(1, wxS("甲"))}));
    ForumUpdate back = browser.Back();
    EXPECT_TRUE(back.render);
    EXPECT_EQ(back.cue, wxString(wxS("fh.wav")));
    EXPECT_EQ(browser.Render().label, wxString(wxS("版块列表")));
}

TEST(ForumBrowser, FloorsOpenFromAPostRowWithItsValues)
{
    ForumBrowser browser = HomeBrowser();
    Load(browser, browser.Activate(6), SectionPage(5, {Post(42, wxS("新歌"))}));
    ForumAction open = browser.Activate(0);
    ASSERT_EQ(open.kind, ForumActionKind::LoadFloors);
    EXPECT_EQ(open.floors.postId, 42);
    EXPECT_EQ(open.floors.sectionId, 5);
    EXPECT_EQ(open.floors.listName, wxString(wxS("音乐分享")));
    EXPECT_FALSE(open.floors.starterOnly);

    LoadFloors(browser, open, Replies({Reply(100, 1, 9, wxS("楼主"), wxS("正文"))}));
    RenderedList shown = browser.Render();
    EXPECT_EQ(shown.label, wxString(wxS("楼层列表 - 新歌")));
    ASSERT_EQ(shown.rows.size(), 7u);
    EXPECT_EQ(shown.rows[0], wxString(wxS("查看楼主：新歌")));
    EXPECT_EQ(shown.rows[1], wxString(wxS("1楼 楼主：正文")));
    EXPECT_EQ(shown.status, wxString(wxS("当前为楼层列表。回车查看内容页，列表内可翻页、回到首页或尾页，"
                                         "右键可回复某一楼，退格返回帖子列表。")));

    ForumAction detail = browser.Activate(0);
    EXPECT_EQ(detail.kind, ForumActionKind::OpenPostDetail);
    EXPECT_EQ(detail.postId, 42);
    EXPECT_FALSE(detail.floorRow.has_value());
    EXPECT_TRUE(detail.allowOnlyOp);
    // Enter on a floor opens the post without a reply target; the floor's
    // menu command is what aims the reply at that floor.
    ForumAction floorDetail = browser.Activate(1);
    EXPECT_EQ(floorDetail.kind, ForumActionKind::OpenPostDetail);
    EXPECT_EQ(floorDetail.cue, wxString(wxS("jr.wav")));
    EXPECT_FALSE(floorDetail.floorRow.has_value());
    ForumAction reply = browser.ReplyToFloor(1);
    ASSERT_TRUE(reply.floorRow.has_value());
    EXPECT_EQ(reply.floorRow->replyId, 100);
}

TEST(ForumBrowser, StarterOnlyPageWithoutTheStartersFloors)
{
    ForumBrowser browser = HomeBrowser();
    Load(browser, browser.Activate(6), SectionPage(5, {Post(42, wxS("新歌"))}));
    LoadFloors(browser, browser.Activate(0), Replies({Reply(100, 1, 9, wxS("楼主"), wxS("正文"))}));

    PostDetail detail;
    detail.userId = 9;
    detail.userName = wxS("楼主");
    ForumAction only = browser.AfterPostDetail(RESULT_ONLY_OP, detail);
    ASSERT_EQ(only.kind, ForumActionKind::LoadFloors);
    EXPECT_TRUE(only.floors.starterOnly);
    EXPECT_EQ(only.floors.starterUserId, 9);
    EXPECT_EQ(only.floors.pageNum, 1);
    EXPECT_TRUE(only.floors.replacesTop);

    LoadFloors(browser, only, Replies({Reply(101, 2, 3, wxS("路人"), wxS("顶")),
                                       Reply(102, 3, 4, wxS("路人乙"), wxS("好"))}, 1, 1));
    EXPECT_EQ(browser.Stack().size(), 3u);  // the floor view was replaced, not stacked
    RenderedList shown = browser.Render();
    ASSERT_EQ(shown.rows.size(), 8u);
    EXPECT_EQ(shown.rows[1], wxString(wxS("当前模式：只看楼主（楼主）")));
    EXPECT_EQ(shown.rows[2], wxString(wxS("当前帖子暂无楼层回帖")));
    EXPECT_EQ(shown.rows[3], wxString(wxS("当前共 1 页，第 1 页，共 2 条")));  // the server's paging
    EXPECT_EQ(shown.status, wxString(wxS("当前为楼层列表，只看楼主模式已开启。回车查看内容页，列表内可翻页，"
                                         "退格返回帖子列表。")));

    // Paging keeps the mode; the starter's own floors pass the filter.
    FloorRequest same = only.floors;
    same.starterName.clear();
    browser.ApplyFloors(same, Replies({Reply(103, 4, 9, wxS("楼主"), wxS("补充")),
                                       Reply(104, 5, 3, wxS("路人"), wxS("嗯"))}));
    shown = browser.Render();
    EXPECT_EQ(shown.rows[1], wxString(wxS("当前模式：只看楼主")));
    EXPECT_EQ(shown.rows[2], wxString(wxS("4楼 楼主：补充")));
    EXPECT_EQ(shown.rows[3], wxString(wxS("当前共 1 页，第 1 页，共 2 条")));
}

TEST(ForumBrowser, FloorMenuOffersAReplyToTheSelectedFloorOnly)
{
    ForumBrowser browser = HomeBrowser();
    Load(browser, browser.Activate(6), SectionPage(5, {Post(42, wxS("新歌"))}));
    EXPECT_FALSE(browser.FloorMenuFor(0).has_value());  // a post list has no floor menu
    LoadFloors(browser, browser.Activate(0), Replies({Reply(100, 3, 9, wxS("张三"), wxS("正文"), 1)}));

    EXPECT_FALSE(browser.FloorMenuFor(0).has_value());  // the opening-post row
    auto menu = browser.FloorMenuFor(1);
    ASSERT_TRUE(menu.has_value());
    EXPECT_EQ(menu->id, 6025);
    EXPECT_EQ(menu->label, wxString(wxS("回复 3 楼（张三）")));
    EXPECT_EQ(menu->cue, wxString(wxS("yj.wav")));

    ForumAction reply = browser.ReplyToFloor(1);
    ASSERT_EQ(reply.kind, ForumActionKind::OpenPostDetail);
    ASSERT_TRUE(reply.floorRow.has_value());
    EXPECT_EQ(reply.floorRow->floor, 3);
    EXPECT_EQ(reply.floorRow->parentFloor, 1);
    EXPECT_EQ(reply.floorRow->userName, wxString(wxS("张三")));
    EXPECT_TRUE(reply.cue.empty());
    EXPECT_EQ(browser.ReplyToFloor(0).kind, ForumActionKind::None);
}

TEST(ForumBrowser, HomeRebuildChangesTheFirstRowButKeepsDeeperViews)
{
    ForumBrowser browser = HomeBrowser();
    Load(browser, browser.Activate(6), SectionPage(5, {Post(42, wxS("新歌"))}));

    browser.SetSession(SessionRow{true, wxS("小红")});
    ForumUpdate quiet = browser.RebuildHome(true);
    EXPECT_FALSE(quiet.render);  // the post list on screen stays as it is
    EXPECT_EQ(browser.Stack().size(), 2u);
    EXPECT_EQ(browser.Stack().front().entries[0].text, wxString(wxS("个人中心（小红）")));

    browser.SetSession(SessionRow{});
    EXPECT_TRUE(browser.RebuildHome().render);
    EXPECT_EQ(browser.Render().label, wxString(wxS("帖子列表 - 音乐分享")));
    browser.Back();
    EXPECT_EQ(browser.Render().rows[0], wxString(wxS("登录")));
    EXPECT_EQ(browser.Activate(0).kind, ForumActionKind::Login);
}

#include <gtest/gtest.h>

#include "app/forum_lines.h"
#include "app/forum_views.h"
#include "forum_fixtures.h"

using namespace fixtures;

TEST(ForumLines, PostLineJoinsTitleUserCountsAndTime)
{
    EXPECT_EQ(FormatPostLine(Post(1, wxS("标题"), wxS("小明"))),
              wxString(wxS("标题 | 小明 | 3回复 40浏览 | 2026-12-07 10:00")));
}

TEST(ForumLines, FloorLineIsOneLineAndNamesTheFloorItAnswers)
{
    EXPECT_EQ(FormatFloorLine(Reply(9, 2, 1, wxS("甲"), wxS("第一行\r\n第二行\n第三行"))),
              wxString(wxS("2楼 甲：第一行  第二行 第三行")));
    EXPECT_EQ(FormatFloorLine(Reply(9, 4, 1, wxS("乙"), wxS("同意"), 3)),
              wxString(wxS("4楼 乙：同意 | 回复 3楼")));
}

TEST(ForumLines, FloorLineCutCountsCharactersNotBytes)
{
    // "1楼 甲：" is 5 characters; 115 Chinese characters make exactly 120.
    const wxString prefix = wxS("1楼 甲：");
    const wxString exact(wxUniChar(0x4E2D), 115);
    EXPECT_EQ(FormatFloorLine(Reply(1, 1, 1, wxS("甲"), exact)), prefix + exact);

    const wxString longer(wxUniChar(0x4E2D), 116);  // 121 characters in all
    const wxString cut = FormatFloorLine(Reply(1, 1, 1, wxS("甲"), longer));
    EXPECT_EQ(cut, prefix + exact + wxS("..."));
    EXPECT_EQ(cut.length(), 123u);
}

TEST(ForumLines, ReplySuffixComesAfterTheCut)
{
    const wxString body(wxUniChar('x'), 200);
    const wxString line = FormatFloorLine(Reply(8, 6, 1, wxS("甲"), body, 3));
    EXPECT_TRUE(line.EndsWith(wxS("... | 回复 3楼")));
    EXPECT_EQ(line.length(), 120u + 3u + wxString(wxS(" | 回复 3楼")).length());
}

TEST(ForumLines, PagingRowsSayWhenThereIsNoFurtherPage)
{
    std::vector<ListEntry> rows;
    AppendPagingRows(rows, PageInfo{1, 20, 1, 0});
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].text, wxString(wxS("当前共 1 页，第 1 页，共 0 条")));
    EXPECT_EQ(rows[1].text, wxString(wxS("上一页（当前已是第一页）")));
    EXPECT_EQ(rows[2].text, wxString(wxS("下一页（当前已是最后一页）")));
    EXPECT_EQ(rows[3].text, wxString(wxS("回到首页（当前已是第一页）")));
    EXPECT_EQ(rows[4].text, wxString(wxS("回到尾页（当前已是最后一页）")));
    EXPECT_EQ(rows[4].type, EntryType::LastPageRow);

    rows.clear();
    AppendPagingRows(rows, PageInfo{2, 20, 3, 45});
    EXPECT_EQ(rows[0].text, wxString(wxS("当前共 3 页，第 2 页，共 45 条")));
    EXPECT_EQ(rows[1].text, wxString(wxS("上一页")));
    EXPECT_EQ(rows[2].text, wxString(wxS("下一页")));
    EXPECT_EQ(rows[3].text, wxString(wxS("回到首页")));
    EXPECT_EQ(rows[4].text, wxString(wxS("回到尾页")));
}

TEST(ForumViews, HomeViewFollowsTheSessionAndListsSections)
{
    const auto sections = Sections().sections;
    const View guest = BuildHomeView(SessionRow{}, sections);
    ASSERT_EQ(guest.entries.size(), 8u);
    EXPECT_EQ(guest.title, wxString(wxS("澄川论坛首页")));
    EXPECT_EQ(guest.entries[0].text, wxString(wxS("登录")));
    EXPECT_EQ(guest.entries[0].type, EntryType::LoginRow);
    const char* expected[] = {"发新帖", "搜索帖子", "最新话题", "热门帖子", "最新回复"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(guest.entries[i + 1].text, wxString::FromUTF8(expected[i]));
    EXPECT_EQ(guest.entries[6].text, wxString(wxS("音乐分享 - 好歌推荐")));
    EXPECT_EQ(guest.entries[7].text, wxString(wxS("站务")));  // no description: name alone
    EXPECT_EQ(guest.entries[7].sectionId, 7);
    EXPECT_EQ(guest.entries[7].listName, wxString(wxS("站务")));

    const View member = BuildHomeView(SessionRow{true, wxS("小红")}, sections);
    EXPECT_EQ(member.entries[0].text, wxString(wxS("个人中心（小红）")));
    EXPECT_EQ(member.entries[0].type, EntryType::PersonalCenterRow);
}

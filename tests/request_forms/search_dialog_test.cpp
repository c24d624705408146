#include <gtest/gtest.h>

#include "app/search_dialog.h"
#include "gui_pump.h"

using guitest::DialogAnswerer;
using guitest::TextDialogAnswerer;

TEST(SearchDialog, KeywordIsTrimmed)
{
    TextDialogAnswerer typed(wxS("  古风 歌曲  "), wxID_OK);
    DialogAnswerer notice(GTK_RESPONSE_OK);
    auto keyword = AskSearchKeyword(nullptr);
    ASSERT_TRUE(keyword.has_value());
    EXPECT_EQ(*keyword, wxString(wxS("古风 歌曲")));
    EXPECT_EQ(typed.Answered(), 1);
    EXPECT_TRUE(notice.Seen().empty());
    EXPECT_EQ(typed.Caption(), wxString(wxS("搜索帖子")));
    EXPECT_EQ(typed.OkLabel(), wxString(wxS("搜索")));
    EXPECT_EQ(typed.CancelLabel(), wxString(wxS("取消")));
}

TEST(SearchDialog, BlankKeywordGetsANoticeAndNoSearch)
{
    TextDialogAnswerer typed(wxS("   "), wxID_OK);
    DialogAnswerer notice(GTK_RESPONSE_OK);
    EXPECT_FALSE(AskSearchKeyword(nullptr).has_value());
    ASSERT_EQ(notice.Seen().size(), 1u);
    EXPECT_EQ(notice.Seen()[0].title, "提示");
    EXPECT_EQ(notice.Seen()[0].text, "请输入搜索关键词。");
}

TEST(SearchDialog, CancelAsksNothingMore)
{
    TextDialogAnswerer typed(wxS("古风"), wxID_CANCEL);
    DialogAnswerer notice(GTK_RESPONSE_OK);
    EXPECT_FALSE(AskSearchKeyword(nullptr).has_value());
    EXPECT_TRUE(notice.Seen().empty());
}

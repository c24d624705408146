#include <gtest/gtest.h>

#include <functional>

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>

#include "app/search_dialog.h"
#include "gui_pump.h"
#include "ui/message_box.h"

using guitest::DialogAnswerer;

TEST(MessageBox, OkButtonReadsQueding)
{
    DialogAnswerer answer(GTK_RESPONSE_OK);
    const int result = ShowMessageBox(nullptr, wxS("连接服务器失败。"), wxS("获取热门帖子失败"),
                                      wxOK | wxICON_ERROR);
    EXPECT_EQ(result, wxID_OK);
    ASSERT_EQ(answer.Seen().size(), 1u);
    const auto& seen = answer.Seen()[0];
    EXPECT_EQ(seen.title, "获取热门帖子失败");
    EXPECT_EQ(seen.text, "连接服务器失败。");
    ASSERT_EQ(seen.buttons.size(), 1u);
    EXPECT_EQ(seen.buttons[0].first, GTK_RESPONSE_OK);
    EXPECT_EQ(seen.buttons[0].second, "确定");
}

TEST(MessageBox, NoticeUsesTheNoticeCaption)
{
    DialogAnswerer answer(GTK_RESPONSE_OK);
    ShowNoticeBox(nullptr, wxS("帖子删除成功。"));
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].title, "提示");
    EXPECT_EQ(answer.Seen()[0].buttons.at(0).second, "确定");
}

TEST(MessageBox, ConfirmationCountsOnlyQueding)
{
    {
        DialogAnswerer answer(GTK_RESPONSE_YES);
        EXPECT_TRUE(AskConfirmation(nullptr, wxS("确定要删除帖子《测试》吗？"), wxS("删除帖子")));
        ASSERT_EQ(answer.Seen().size(), 1u);
        const auto& seen = answer.Seen()[0];
        EXPECT_EQ(seen.title, "删除帖子");
        std::map<int, std::string> labels(seen.buttons.begin(), seen.buttons.end());
        EXPECT_EQ(labels[GTK_RESPONSE_YES], "确定");
        EXPECT_EQ(labels[GTK_RESPONSE_NO], "取消");
        EXPECT_EQ(seen.defaultResponse, GTK_RESPONSE_NO);
    }
    {
        DialogAnswerer answer(GTK_RESPONSE_NO);
        EXPECT_FALSE(AskConfirmation(nullptr, wxS("确定要退出当前账号吗？"), wxS("退出账号")));
    }
    {
        DialogAnswerer answer(GTK_RESPONSE_DELETE_EVENT);  // the close box
        EXPECT_FALSE(AskConfirmation(nullptr, wxS("确定要退出当前账号吗？"), wxS("退出账号")));
    }
}

// A screen reader announces a box by its caption, which says what failed
// or what is asked, never by the toolkit's English type word.
TEST(MessageBox, EveryBoxIsNamedByItsCaption)
{
    const struct {
        const char* caption;
        std::function<void(const wxString&)> show;
    } boxes[] = {
        {"获取热门帖子失败", [](const wxString& c) { ShowErrorBox(nullptr, c, wxS("热门榜单维护中")); }},
        {"提示", [](const wxString&) { ShowNoticeBox(nullptr, wxS("帖子删除成功。")); }},
        {"未保存内容", [](const wxString& c) { AskConfirmation(nullptr, wxS("确定返回吗？"), c); }},
        {"播放失败", [](const wxString& c) { ShowMessageBox(nullptr, wxS("x"), c, wxOK | wxICON_WARNING); }},
    };
    for (const auto& box : boxes) {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        box.show(wxString::FromUTF8(box.caption));
        ASSERT_EQ(answer.Seen().size(), 1u) << box.caption;
        EXPECT_EQ(answer.Seen()[0].accessibleName, box.caption);
    }
}

TEST(MessageBox, OkCancelLabelsOfAStandardDialog)
{
    wxTextEntryDialog dialog(nullptr, wxS("请输入帖子关键词。"), wxS("搜索帖子"), wxString(),
                             wxOK | wxCANCEL | wxCENTRE);
    SetOkCancelLabels(&dialog, wxS("搜索"), wxS("取消"));
    ASSERT_NE(dialog.FindWindow(wxID_OK), nullptr);
    EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel(), wxString(wxS("搜索")));
    EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->GetLabel(), wxString(wxS("取消")));

    wxTextEntryDialog okOnly(nullptr, wxS("x"), wxS("y"), wxString(), wxOK);
    SetOkCancelLabels(&okOnly, wxS("确定"), wxS("取消"));  // no cancel button: nothing to do
    EXPECT_EQ(okOnly.FindWindow(wxID_CANCEL), nullptr);
    EXPECT_EQ(okOnly.FindWindow(wxID_OK)->GetLabel(), wxString(wxS("确定")));
    SetOkCancelLabels(nullptr, wxS("确定"), wxS("取消"));
}

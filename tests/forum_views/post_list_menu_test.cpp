// The post list's menu without a window: which rows have it, and which
// commands a user gets from the owner flag and the manager check.
#include "app/post_list_menu.h"

#include <gtest/gtest.h>

#include "app/forum_browser.h"
#include "forum_fixtures.h"

namespace {

TEST(PostListMenu, OwnersEditManagersEditAndDeleteAndNoAnswerIsNoManager) {
    struct Case {
        bool owner;
        ManagerCheck check;
        bool edit, remove;
    };
    const std::vector<Case> cases{
        {false, {true, false, wxString()}, false, false},
        {true, {true, false, wxString()}, true, false},
        {false, {true, true, wxString()}, true, true},
        {true, {true, true, wxString()}, true, true},
        // The check gave no definite answer: the owner may still edit.
        {true, {false, true, wxS("连接服务器失败。")}, true, false},
        {false, {false, true, wxS("连接服务器失败。")}, false, false},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const PostMenuItems items = PostMenuFor(cases[i].owner, cases[i].check);
        EXPECT_EQ(items.edit, cases[i].edit) << i;
        EXPECT_EQ(items.remove, cases[i].remove) << i;
        EXPECT_EQ(items.Empty(), !cases[i].edit && !cases[i].remove) << i;
    }
    EXPECT_EQ(DeletePostQuestion(wxString::FromUTF8("春天")), wxString::FromUTF8("确定要删除帖子《春天》吗？"));
    EXPECT_EQ(NoPostActionsText(), wxString::FromUTF8("没有可用的帖子操作"));
}

TEST(PostListMenu, OnlyPostRowsOfAPostListHaveIt) {
    using namespace fixtures;
    ForumBrowser browser = HomeBrowser();
    EXPECT_FALSE(PostRowAt(browser, RowOf(browser, EntryType::HotPostsRow)));  // the home view
    Load(browser, browser.Activate(RowOf(browser, EntryType::HotPostsRow)),
         Page({Post(42, wxS("新歌")), Post(43, wxS("旧曲"))}, 1, 2, 40));
    const int second = RowOf(browser, EntryType::PostRow) + 1;
    const std::optional<ListEntry> row = PostRowAt(browser, second);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->postId, 43);
    EXPECT_EQ(row->postTitle, wxS("旧曲"));
    EXPECT_FALSE(PostRowAt(browser, RowOf(browser, EntryType::NextPageRow)));
    EXPECT_FALSE(PostRowAt(browser, -1));
    EXPECT_FALSE(PostRowAt(browser, 999));
    LoadFloors(browser, browser.Activate(second), Replies({Reply(1, 1, 9, wxS("甲"), wxS("楼"))}));
    EXPECT_FALSE(PostRowAt(browser, RowOf(browser, EntryType::FloorRow)));
}

}  // namespace

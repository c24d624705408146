// The personal centre as a real window under Xvfb against a loopback
// server: a start that fails shows nothing, Enter loads a function once,
// tabs load once, a line opens the post it names, what the screen reader
// is told, and Backspace closes.
#include "account/personal_center_dialog.h"

#include "api/api_client.h"
#include "app/gtk_keys.h"
#include "request_forms/gui_pump.h"
#include "support/http_test_server.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

namespace {

using guitest::DialogAnswerer;
using guitest::PumpUntil;
using namespace std::chrono_literals;

std::string U8(const wxString& s) { return std::string(s.utf8_str()); }

std::string AccessibleName(wxWindow* control)
{
    AtkObject* acc = gtk_widget_get_accessible(control->GetConnectWidget());
    const char* name = acc ? atk_object_get_name(acc) : nullptr;
    return name ? name : "";
}

std::vector<std::string> Rows(wxListBox* list)
{
    std::vector<std::string> rows;
    for (unsigned i = 0; i < list->GetCount(); ++i) rows.push_back(U8(list->GetString(i)));
    return rows;
}

std::string Announced(wxWindow* dialog)
{
    wxWindow* announcer = wxWindow::FindWindowByName(wxS("quillery-announcer"), dialog);
    if (!announcer) return "";
    const char* name = atk_object_get_name(gtk_widget_get_accessible(announcer->GetHandle()));
    return name ? name : "";
}

class PersonalCenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        client_.SetTimeouts(platform::HttpTimeouts{2000, 1000});
        server_.Answer("GET", "/api/user", qtest::Ok(R"({"id":7,"name":"小澄同学","level":"LV2","mobile":"138"})"));
    }
    void TearDown() override
    {
        if (dialog_) dialog_->Destroy();
        qtest::Settle();
    }
    PersonalCenterDialog* Make(const wxString& token, LoginCallback login = {})
    {
        dialog_ = new PersonalCenterDialog(nullptr, client_, token, wxString(), {}, std::move(login),
                                           [this] { ++logouts_; });
        return dialog_;
    }
    size_t Count(const std::string& path) const
    {
        size_t n = 0;
        for (const auto& request : server_.Requests()) n += request.Path() == path;
        return n;
    }
    void Press(wxWindow* control, guint key)
    {
        control->SetFocus();
        qtest::Settle();
        ASSERT_TRUE(PumpUntil([&] { return qtest::HasWindowFocus(control); }, 3s));
        qtest::PressKey(control, key);
        qtest::Settle();
    }

    qtest::HttpTestServer server_;
    ApiClient client_{ServerEndpoint{wxString::FromUTF8(server_.Host()), server_.Port()}};
    PersonalCenterDialog* dialog_ = nullptr;
    int logouts_ = 0;
};

}  // namespace

TEST_F(PersonalCenterTest, AFailedStartIsNeverShown)
{
    // No session, and the login is refused: no request, no window.
    int logins = 0;
    Make(wxString(), [&](wxString&, wxString&) { ++logins; return false; });
    EXPECT_FALSE(dialog_->Start());
    EXPECT_EQ(logins, 1);
    EXPECT_FALSE(dialog_->IsShown());
    EXPECT_EQ(server_.RequestCount(), 0u);
    dialog_->Destroy();

    // No session and nobody to ask.
    Make(wxString());
    EXPECT_FALSE(dialog_->Start());
    dialog_->Destroy();

    // A login that works hands its session to the profile request.
    Make(wxString(), [](wxString& token, wxString&) { token = wxS("fresh"); return true; });
    EXPECT_TRUE(dialog_->Start());
    EXPECT_EQ(server_.Requests().at(0).Header("Authorization"), "fresh");
    dialog_->Destroy();

    // The profile fails: the box says so and the dialog stays hidden.
    server_.Answer("GET", "/api/user", qtest::Fail(-100));
    Make(wxS("tok"));
    DialogAnswerer answer(GTK_RESPONSE_OK);
    EXPECT_FALSE(dialog_->Start());
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].title, "获取个人中心失败");
    EXPECT_EQ(answer.Seen()[0].text, "获取用户资料失败（code=-100）");
    EXPECT_FALSE(dialog_->IsShown());
}

TEST_F(PersonalCenterTest, KeysLoadOnceAndLinesOpenTheirPosts)
{
    server_.Answer("GET", "/api/post/my",
                   qtest::Ok(R"({"total":57,"list":[{"id":5,"title":"我的帖","userName":"小澄","replyCount":2}]})"));
    server_.Answer("GET", "/api/post/buy-post",
                   qtest::Ok(R"([{"id":21,"objectId":812,"objectTitle":"曲谱","payNum":1},{"id":22,"payNum":1}])"));
    server_.Answer("GET", "/api/post/812", qtest::Fail(404, "帖子不存在"));
    Make(wxS("tok"));
    ASSERT_TRUE(dialog_->Start());
    dialog_->Show();
    ASSERT_TRUE(PumpUntil([&] { return dialog_->IsShownOnScreen(); }, 3s));

    // What the screen reader finds.
    EXPECT_EQ(AccessibleName(dialog_->NavList()), "个人中心功能列表");
    EXPECT_EQ(AccessibleName(dialog_->ResultList()), "功能结果列表");
    EXPECT_EQ(AccessibleName(dialog_->DetailBox()), "功能详情");
    EXPECT_EQ(AccessibleName(dialog_->TabList(2)), "购买帖子列表");
    EXPECT_EQ(AccessibleName(dialog_->TabDetail(2)), "购买帖子详情");
    EXPECT_EQ(dialog_->Tabs()->GetPageText(3), wxS("打赏记录"));
    EXPECT_EQ(U8(dialog_->HeaderLabels()[0]->GetLabel()), "会员名称：小澄同学");
    EXPECT_EQ(U8(dialog_->HeaderLabels()[2]->GetLabel()), "发帖数：待加载");
    EXPECT_EQ(Rows(dialog_->ResultList()), std::vector<std::string>{"请选择功能"});
    EXPECT_EQ(dialog_->NavList()->GetCount(), 10u);
    // Every list shows several lines, within the window's least size.
    EXPECT_GE(dialog_->GetSize().x, 820);
    EXPECT_GE(dialog_->GetSize().y, 680);
    for (wxWindow* list : {static_cast<wxWindow*>(dialog_->NavList()), static_cast<wxWindow*>(dialog_->ResultList()),
                           static_cast<wxWindow*>(dialog_->TabList(0))})
        EXPECT_GE(list->GetSize().y, 100) << U8(list->GetName());

    // One Enter, one request (the row's activation must not load it again).
    // Moved to with the keys, so GTK's cursor is on the row as for a user.
    Press(dialog_->NavList(), GDK_KEY_Home);
    for (int i = 0; i < kFuncMyPosts; ++i) qtest::PressKey(dialog_->NavList(), GDK_KEY_Down);
    qtest::Settle();
    ASSERT_EQ(dialog_->NavList()->GetSelection(), kFuncMyPosts);
    qtest::PressKey(dialog_->NavList(), GDK_KEY_Return);
    ASSERT_TRUE(PumpUntil([&] { return dialog_->ResultList()->GetCount() == 1 && Count("/api/post/my") > 0; }, 5s));
    PumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(Count("/api/post/my"), 1u);
    EXPECT_EQ(U8(dialog_->ResultLabel()->GetLabel()), "我的帖子");
    EXPECT_EQ(Rows(dialog_->ResultList()), std::vector<std::string>{"我的帖 | 小澄 | 2回复 0浏览"});
    EXPECT_EQ(U8(dialog_->HeaderLabels()[2]->GetLabel()), "发帖数：57");
    EXPECT_EQ(Announced(dialog_), "我的帖子已加载，共 1 条。");
    EXPECT_TRUE(qtest::HasWindowFocus(dialog_->NavList()));

    // A tab switched to twice is fetched once; its first line opens post 812.
    dialog_->Tabs()->SetSelection(kTabBoughtPosts);
    ASSERT_TRUE(PumpUntil([&] { return dialog_->TabList(kTabBoughtPosts)->GetCount() == 2; }, 5s));
    EXPECT_EQ(Announced(dialog_), "购买帖子已加载，共 2 条。");
    dialog_->Tabs()->SetSelection(kTabRewards);
    qtest::Settle();
    EXPECT_EQ(Rows(dialog_->TabList(kTabRewards)), std::vector<std::string>{"打赏记录（预留）"});
    dialog_->Tabs()->SetSelection(kTabBoughtPosts);
    qtest::Settle();
    EXPECT_EQ(Count("/api/post/buy-post"), 1u);
    {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        Press(dialog_->TabList(kTabBoughtPosts), GDK_KEY_Return);
        ASSERT_TRUE(PumpUntil([&] { return !answer.Seen().empty(); }, 5s));
        EXPECT_EQ(answer.Seen()[0].title, "获取帖子详情失败");
        EXPECT_EQ(answer.Seen()[0].text, "帖子不存在");
    }
    EXPECT_EQ(Count("/api/post/812"), 1u);
    // The second line names no post: nothing is fetched.
    const size_t before = server_.RequestCount();
    qtest::PressKey(dialog_->TabList(kTabBoughtPosts), GDK_KEY_Down);
    qtest::Settle();
    ASSERT_EQ(dialog_->TabList(kTabBoughtPosts)->GetSelection(), 1);
    qtest::PressKey(dialog_->TabList(kTabBoughtPosts), GDK_KEY_Return);
    PumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(server_.RequestCount(), before);
}

// A tab load stopped with Escape is not taken for loaded: choosing the tab
// again loads it. Every refill puts the list's cursor on the selected row,
// where the screen reader looks for it.
TEST_F(PersonalCenterTest, ATabLoadStoppedWithEscapeLoadsAgain)
{
    server_.AnswerOnce("GET", "/api/post/buy-goods", qtest::Ok("[]").WithDelay(20s));
    server_.Answer("GET", "/api/post/buy-goods", qtest::Ok(R"([{"id":3,"goodsName":"琴谱","payNum":1}])"));
    Make(wxS("tok"));
    ASSERT_TRUE(dialog_->Start());
    dialog_->Show();
    ASSERT_TRUE(PumpUntil([&] { return dialog_->IsShownOnScreen(); }, 3s));
    auto cursorRow = [](wxListBox* list) {
        GtkTreePath* path = nullptr;
        gtk_tree_view_get_cursor(GTK_TREE_VIEW(list->GetConnectWidget()), &path, nullptr);
        const int row = path ? gtk_tree_path_get_indices(path)[0] : -1;
        if (path) gtk_tree_path_free(path);
        return row;
    };
    EXPECT_EQ(cursorRow(dialog_->NavList()), 0);

    g_timeout_add(
        300,
        [](gpointer list) -> gboolean {
            qtest::PressKey(static_cast<wxWindow*>(list), GDK_KEY_Escape);
            return G_SOURCE_REMOVE;
        },
        dialog_->TabList(kTabBoughtGoods));
    const auto start = std::chrono::steady_clock::now();
    dialog_->Tabs()->SetSelection(kTabBoughtGoods);
    qtest::Settle();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    ASSERT_EQ(dialog_->TabList(kTabBoughtGoods)->GetCount(), 1u);
    EXPECT_EQ(U8(dialog_->TabList(kTabBoughtGoods)->GetString(0)).rfind("加载失败", 0), 0u);
    EXPECT_FALSE(dialog_->State().TabLoaded(kTabBoughtGoods));
    EXPECT_TRUE(dialog_->IsShown());

    dialog_->Tabs()->SetSelection(kTabSoldGoods);
    qtest::Settle();
    dialog_->Tabs()->SetSelection(kTabBoughtGoods);
    ASSERT_TRUE(PumpUntil([&] { return dialog_->State().TabLoaded(kTabBoughtGoods); }, 5s));
    EXPECT_EQ(Count("/api/post/buy-goods"), 2u);
    EXPECT_EQ(Rows(dialog_->TabList(kTabBoughtGoods)), std::vector<std::string>{"琴谱"});
    EXPECT_EQ(cursorRow(dialog_->TabList(kTabBoughtGoods)), 0);
}

TEST_F(PersonalCenterTest, BackspaceClosesWhateverHasTheFocus)
{
    Make(wxS("tok"));
    ASSERT_TRUE(dialog_->Start());
    dialog_->CallAfter([this] { qtest::PressKey(dialog_->ResultList(), GDK_KEY_BackSpace); });
    wxTimer guard;  // a dialog that failed to close must not hang the suite
    guard.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { dialog_->EndModal(-99); });
    guard.StartOnce(10000);
    EXPECT_EQ(dialog_->ShowModal(), wxID_CANCEL);
    EXPECT_EQ(logouts_, 0);
}

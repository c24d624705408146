// The real main window against the real local forum server: what the list,
// its label and the status bar show while the user moves through the forum
// with the keyboard, and what is left on screen when a request fails.
#include "app/gtk_keys.h"
#include "app/main_frame.h"
#include "app/main_ids.h"
#include "posts/post_detail_dialog.h"
#include "settings/settings_store.h"
#include "request_forms/gui_pump.h"
#include "support/forum_profile.h"
#include "support/http_test_server.h"
#include "support/local_forum_process.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/weakref.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable texts in failure messages.
void PrintTo(const wxString& text, std::ostream* out) { *out << '"' << text.utf8_string() << '"'; }

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

const char* const kHomeHint =
    "当前为社区首页。个人中心、发新帖、搜索帖子、最新话题、热门帖子、最新回复在前，后面是版块列表。按回车进入。";
const char* const kPostListHint =
    "当前为帖子列表。按回车查看楼层，列表内可翻页、回到首页或尾页，退格返回上一层。";
const char* const kFloorHint =
    "当前为楼层列表。回车查看内容页，列表内可翻页、回到首页或尾页，右键可回复某一楼，退格返回帖子列表。";
const char* const kHelpStatus = "Alt+1 澄川论坛，Alt+2 本地音乐，F6 切换焦点，退格返回上一层。";

// Ends the post detail dialogs that open with `result`, remembering what
// each one was opened for.
class DetailCloser {
public:
    explicit DetailCloser(int result) : result_(result) {
        source_ = g_timeout_add(20, &DetailCloser::Poll, this);
    }
    ~DetailCloser() { g_source_remove(source_); }
    int Closed() const { return closed_; }
    const std::vector<wxString>& Titles() const { return titles_; }
    // What each dialog said it answers: "当前回复目标：…".
    const std::vector<wxString>& Targets() const { return targets_; }

private:
    static gboolean Poll(gpointer data) {
        auto* self = static_cast<DetailCloser*>(data);
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<PostDetailDialog*>(window);
            if (dialog != nullptr && dialog->IsModal()) {
                self->titles_.push_back(dialog->GetTitle());
                self->targets_.push_back(ReplyTargetText(dialog));
                ++self->closed_;
                dialog->EndModal(self->result_);
                break;
            }
        }
        return G_SOURCE_CONTINUE;
    }
    static wxString ReplyTargetText(wxWindow* window) {
        for (wxWindow* child : window->GetChildren()) {
            if (auto* text = dynamic_cast<wxStaticText*>(child)) {
                if (text->GetLabel().StartsWith(U("当前回复目标："))) return text->GetLabel();
            }
            wxString found = ReplyTargetText(child);
            if (!found.empty()) return found;
        }
        return wxString();
    }
    int result_;
    int closed_ = 0;
    guint source_ = 0;
    std::vector<wxString> titles_;
    std::vector<wxString> targets_;
};

class ForumWindowTest : public ::testing::Test {
protected:
    // Options of the local server (faults) for a derived fixture.
    virtual std::vector<std::string> ServerArgs() const { return {}; }

    void SetUp() override {
        forumProcess = std::make_unique<qtest::LocalForumProcess>(ServerArgs());
        ASSERT_TRUE(forum().ok()) << forum().error();
        profile = std::make_unique<qtest::ForumProfile>(forum().host(), forum().port());
        frame = new MainFrame();
        frame->Show();
        qtest::Settle();
    }
    void TearDown() override {
        if (frame) frame->Destroy();
        qtest::Settle();
        profile.reset();
    }

    wxString Status() const { return frame->GetStatusBar()->GetStatusText(0); }
    wxString Label() const { return frame->ListLabel()->GetLabel(); }
    wxListBox* List() const { return frame->MainList(); }
    size_t Depth() const { return frame->ForumState().Stack().size(); }

    std::vector<wxString> Rows() const {
        std::vector<wxString> rows;
        for (unsigned i = 0; i < List()->GetCount(); ++i) rows.push_back(List()->GetString(i));
        return rows;
    }
    // Selects the first row that starts with `prefix`; fails the test when none does.
    void Select(const char* prefix) {
        for (unsigned i = 0; i < List()->GetCount(); ++i) {
            if (List()->GetString(i).StartsWith(U(prefix))) {
                List()->SetSelection(static_cast<int>(i));
                return;
            }
        }
        ADD_FAILURE() << "no row starts with " << prefix;
    }
    void Press(guint key) {
        List()->SetFocus();
        qtest::PressKey(frame, key);
    }
    void Open(const char* prefix) {
        Select(prefix);
        Press(GDK_KEY_Return);
    }
    size_t RequestsFor(const std::string& target) const {
        std::string log = forumProcess->log();
        size_t count = 0;
        for (size_t at = log.find(target); at != std::string::npos; at = log.find(target, at + 1)) {
            ++count;
        }
        return count;
    }

    qtest::LocalForumProcess& forum() { return *forumProcess; }

    std::unique_ptr<qtest::LocalForumProcess> forumProcess;
    std::unique_ptr<qtest::ForumProfile> profile;
    wxWeakRef<MainFrame> frame;
};

TEST_F(ForumWindowTest, StartShowsTheHomeViewWithFunctionsThenSections) {
    EXPECT_EQ(Label(), U("版块列表"));
    EXPECT_EQ(Status(), U(kHomeHint));
    std::vector<wxString> rows = Rows();
    ASSERT_EQ(rows.size(), 13u);
    const char* functions[] = {"登录", "发新帖", "搜索帖子", "最新话题", "热门帖子", "最新回复"};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(rows[i], U(functions[i])) << i;
    EXPECT_EQ(rows[6], U("论坛公告 - 官方公告与站务通知"));
    // A section without description is listed by its name alone.
    EXPECT_EQ(rows[9], U("读屏软件交流"));
    EXPECT_EQ(List()->GetSelection(), 0);
    EXPECT_TRUE(qtest::HasWindowFocus(List()));
    EXPECT_EQ(Depth(), 1u);
    // Backspace on the home view does nothing.
    Press(GDK_KEY_BackSpace);
    EXPECT_EQ(Depth(), 1u);
    EXPECT_EQ(Rows().size(), 13u);
}

TEST_F(ForumWindowTest, EnterOpensHotPostsAndBackspaceReturnsOnce) {
    Open("热门帖子");
    EXPECT_EQ(Label(), U("帖子列表 - 热门帖子"));
    EXPECT_EQ(Status(), U(kPostListHint));
    std::vector<wxString> rows = Rows();
    ASSERT_GE(rows.size(), 6u);
    EXPECT_TRUE(rows[0].Contains(U("回复 "))) << rows[0];
    EXPECT_TRUE(rows[rows.size() - 5].StartsWith(U("当前共 "))) << rows[rows.size() - 5];
    EXPECT_TRUE(rows.back().StartsWith(U("回到尾页"))) << rows.back();
    EXPECT_EQ(RequestsFor("GET /api/post/hot?pageNum=1&pageSize=20"), 1u);

    // Into a post's floors and back: each Backspace is one level, even
    // though the list hears the key twice (char hook and key down).
    Press(GDK_KEY_Return);
    ASSERT_EQ(Depth(), 3u);
    EXPECT_EQ(Status(), U(kFloorHint));
    EXPECT_TRUE(Label().StartsWith(U("楼层列表 - "))) << Label();
    EXPECT_TRUE(Rows()[0].StartsWith(U("查看楼主："))) << Rows()[0];
    Press(GDK_KEY_BackSpace);
    EXPECT_EQ(Depth(), 2u);
    EXPECT_EQ(Label(), U("帖子列表 - 热门帖子"));
    EXPECT_EQ(Status(), U(kPostListHint));
    Press(GDK_KEY_BackSpace);
    EXPECT_EQ(Depth(), 1u);
    EXPECT_EQ(Label(), U("版块列表"));
    EXPECT_EQ(Status(), U(kHomeHint));
}

TEST_F(ForumWindowTest, PagingThroughASectionReplacesItsPage) {
    Open("综合讨论");
    EXPECT_EQ(Label(), U("帖子列表 - 综合讨论"));
    std::vector<wxString> rows = Rows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[20], U("当前共 2 页，第 1 页，共 27 条"));
    EXPECT_EQ(rows[21], U("上一页（当前已是第一页）"));
    EXPECT_EQ(rows[22], U("下一页"));

    // Enter on a paging row that cannot move only plays the cue.
    Open("上一页");
    EXPECT_EQ(RequestsFor("GET /api/section/1?"), 1u);

    Open("下一页");
    rows = Rows();
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[7], U("当前共 2 页，第 2 页，共 27 条"));
    EXPECT_EQ(rows[9], U("下一页（当前已是最后一页）"));
    EXPECT_EQ(Depth(), 2u);
    EXPECT_EQ(Status(), U(kPostListHint));
    Open("回到首页");
    EXPECT_EQ(Rows()[20], U("当前共 2 页，第 1 页，共 27 条"));
    EXPECT_EQ(Depth(), 2u);

    // A double click acts like Enter.
    Select("回到尾页");
    wxCommandEvent click(wxEVT_LISTBOX_DCLICK, MainId::List);
    click.SetEventObject(List());
    click.SetInt(List()->GetSelection());
    List()->GetEventHandler()->ProcessEvent(click);
    qtest::Settle();
    EXPECT_EQ(Rows()[7], U("当前共 2 页，第 2 页，共 27 条"));
}

TEST_F(ForumWindowTest, AFailedPageKeepsTheViewItsRowsAndStatus) {
    Open("综合讨论");
    std::vector<wxString> before = Rows();
    Select("下一页");
    const int selected = List()->GetSelection();
    forum().Stop();
    {
        guitest::DialogAnswerer boxes(GTK_RESPONSE_OK);
        Press(GDK_KEY_Return);
        ASSERT_TRUE(guitest::PumpUntil([&] { return !boxes.Seen().empty(); }));
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_EQ(boxes.Seen()[0].title, "获取帖子列表失败");
        EXPECT_FALSE(boxes.Seen()[0].text.empty());
    }
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(List()->GetSelection(), selected);
    EXPECT_EQ(Label(), U("帖子列表 - 综合讨论"));
    EXPECT_EQ(Status(), U(kPostListHint));
    ASSERT_EQ(Depth(), 2u);
    EXPECT_EQ(frame->ForumState().Top()->paging.pageNum, 1);
    // The view is still usable: Backspace returns to the home view.
    Press(GDK_KEY_BackSpace);
    EXPECT_EQ(Label(), U("版块列表"));
}

TEST_F(ForumWindowTest, FloorsWithTheirMenuAndThePostFetchedOnEnter) {
    Open("读屏软件交流");
    Open("NVDA 与 Orca");
    EXPECT_EQ(Label(), U("楼层列表 - NVDA 与 Orca 常用快捷键对照整理"));
    std::vector<wxString> rows = Rows();
    ASSERT_GE(rows.size(), 7u);
    EXPECT_EQ(rows[0], U("查看楼主：NVDA 与 Orca 常用快捷键对照整理"));
    // Bodies with line breaks are shown on one line, long ones are cut.
    size_t cut = 0;
    for (const wxString& row : rows) {
        EXPECT_FALSE(row.Contains(wxS("\n")) || row.Contains(wxS("\r"))) << row;
        EXPECT_LE(row.length(), 120u + 3 + wxString(U(" | 回复 99楼")).length()) << row;
        if (row.Contains(U("楼 夜航船：我用 Orca 三年了"))) {
            EXPECT_EQ(row.length(), 123u) << row;  // its 136-character body is cut
            EXPECT_TRUE(row.EndsWith(wxS("..."))) << row;
            ++cut;
        }
    }
    EXPECT_EQ(cut, 1u);
    Select("2楼 ");
    std::optional<FloorMenu> menu = frame->ForumState().FloorMenuFor(List()->GetSelection());
    ASSERT_TRUE(menu.has_value());
    EXPECT_TRUE(menu->label.StartsWith(U("回复 2 楼（"))) << menu->label;
    // The first row is no floor: no menu there.
    EXPECT_FALSE(frame->ForumState().FloorMenuFor(0).has_value());

    const size_t fetchesBefore = RequestsFor("GET /api/post/31 ");
    {
        // The reply command and Enter on the opening post both open the
        // post; closing it without a change leaves the floors as they are.
        DetailCloser closer(wxID_CANCEL);
        wxCommandEvent reply(wxEVT_MENU, MainId::ReplyToFloor);
        frame->GetEventHandler()->ProcessEvent(reply);
        Open("查看楼主：");
        // Reading a floor with Enter answers the post, not that floor.
        Open("2楼 ");
        ASSERT_TRUE(guitest::PumpUntil([&] { return closer.Closed() >= 3; }));
        ASSERT_EQ(closer.Targets().size(), 3u);
        EXPECT_TRUE(closer.Targets()[0].StartsWith(U("当前回复目标：回复 2 楼（"))) << closer.Targets()[0];
        EXPECT_EQ(closer.Targets()[1], U("当前回复目标：回复主题"));
        EXPECT_EQ(closer.Targets()[2], U("当前回复目标：回复主题"));
    }
    EXPECT_EQ(RequestsFor("GET /api/post/31 "), fetchesBefore + 3);
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(Depth(), 3u);
}

TEST_F(ForumWindowTest, TheDetailResultDecidesHowTheFloorsReload) {
    Open("读屏软件交流");
    Open("NVDA 与 Orca");
    {
        DetailCloser closer(RESULT_ONLY_OP);
        Open("查看楼主：");
        ASSERT_EQ(closer.Closed(), 1);
    }
    std::vector<wxString> rows = Rows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1], U("当前模式：只看楼主（澄川琴师）"));
    for (size_t i = 2; i + 5 < rows.size(); ++i) {
        EXPECT_TRUE(rows[i].Contains(U("澄川琴师："))) << rows[i];
    }
    EXPECT_EQ(Status(), U("当前为楼层列表，只看楼主模式已开启。回车查看内容页，列表内可翻页，退格返回帖子列表。"));
    EXPECT_EQ(Depth(), 3u);

    // OK (for example after a reply): the same page in the same mode.
    {
        DetailCloser closer(wxID_OK);
        Open("查看楼主：");
        ASSERT_EQ(closer.Closed(), 1);
    }
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(Depth(), 3u);

    // The post changed: the floors give way to the reloaded post list.
    {
        DetailCloser closer(RESULT_POST_CHANGED);
        Open("查看楼主：");
        ASSERT_EQ(closer.Closed(), 1);
    }
    EXPECT_EQ(Label(), U("帖子列表 - 读屏软件交流"));
    EXPECT_EQ(Status(), U(kPostListHint));
    EXPECT_EQ(Depth(), 2u);
    EXPECT_EQ(RequestsFor("GET /api/section/3?"), 2u);
}

TEST_F(ForumWindowTest, SearchShowsResultsOrSaysThereAreNone) {
    {
        guitest::TextDialogAnswerer keyword(wxS("  NVDA  "), wxID_OK);
        Open("搜索帖子");
        ASSERT_TRUE(guitest::PumpUntil([&] { return Status().StartsWith(U("搜索完成")); }));
    }
    EXPECT_EQ(Label(), U("帖子列表 - 搜索：NVDA"));
    std::vector<wxString> rows = Rows();
    ASSERT_GE(rows.size(), 6u);
    EXPECT_TRUE(rows[0].StartsWith(U("NVDA 与 Orca 常用快捷键对照整理 | "))) << rows[0];
    EXPECT_TRUE(Status().StartsWith(U("搜索完成：关键词“NVDA”，第 1 页，共 "))) << Status();
    Press(GDK_KEY_BackSpace);
    EXPECT_EQ(Depth(), 1u);

    {
        guitest::TextDialogAnswerer keyword(U("没有这个词"), wxID_OK);
        Open("搜索帖子");
        ASSERT_TRUE(guitest::PumpUntil([&] { return Status().StartsWith(U("搜索完成")); }));
    }
    rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], U("当前没有匹配的帖子"));
    EXPECT_EQ(rows[1], U("当前共 1 页，第 1 页，共 0 条"));
    EXPECT_EQ(Status(), U("搜索完成：关键词“没有这个词”，第 1 页，共 0 条。"));
}

// Searches answered slowly, so the user can move on while one runs.
class SlowSearchTest : public ForumWindowTest {
protected:
    std::vector<std::string> ServerArgs() const override {
        return {"--fault", "/api/post/search=delay:700"};
    }
};

TEST_F(SlowSearchTest, ASearchFinishingDuringMusicLeavesTheMusicList) {
    guitest::TextDialogAnswerer keyword(wxS("NVDA"), wxID_OK);
    Open("搜索帖子");
    EXPECT_EQ(Rows(), std::vector<wxString>{U("正在搜索，请稍候...")});
    EXPECT_EQ(Status(), U("正在搜索帖子，请稍候。"));
    qtest::PressKey(frame, GDK_KEY_2, GDK_MOD1_MASK);
    ASSERT_EQ(Label(), U("本地音乐"));
    const std::vector<wxString> music = Rows();
    ASSERT_TRUE(guitest::PumpUntil([&] {
        return frame->ForumState().Top()->entries.size() > 1;
    }));
    EXPECT_EQ(Label(), U("本地音乐"));
    EXPECT_EQ(Rows(), music);
    qtest::PressKey(frame, GDK_KEY_1, GDK_MOD1_MASK);
    EXPECT_EQ(Label(), U("帖子列表 - 搜索：NVDA"));
    EXPECT_EQ(Status(), U(kPostListHint));
}

TEST_F(SlowSearchTest, OnlyTheNewestSearchFillsItsViewAndBackspaceDropsALateOne) {
    {
        guitest::TextDialogAnswerer keyword(wxS("NVDA"), wxID_OK);
        Open("搜索帖子");
    }
    Press(GDK_KEY_BackSpace);
    {
        guitest::TextDialogAnswerer keyword(U("没有这个词"), wxID_OK);
        Open("搜索帖子");
    }
    EXPECT_EQ(Label(), U("帖子列表 - 搜索：没有这个词"));
    ASSERT_TRUE(guitest::PumpUntil([&] { return Status().StartsWith(U("搜索完成")); }));
    // Let the first (dropped) outcome arrive too if it has not yet.
    guitest::PumpFor(std::chrono::milliseconds(300));
    EXPECT_EQ(Label(), U("帖子列表 - 搜索：没有这个词"));
    EXPECT_EQ(Rows()[0], U("当前没有匹配的帖子"));
    EXPECT_EQ(Depth(), 2u);

    // Going back while a search runs: the late outcome changes nothing.
    Open("下一页");  // page 1 of 1: stays
    {
        guitest::TextDialogAnswerer keyword(wxS("NVDA"), wxID_OK);
        Press(GDK_KEY_BackSpace);
        Open("搜索帖子");
    }
    Press(GDK_KEY_BackSpace);
    const std::vector<wxString> home = Rows();
    guitest::PumpFor(std::chrono::milliseconds(1000));
    EXPECT_EQ(Rows(), home);
    EXPECT_EQ(Status(), U(kHomeHint));
    EXPECT_EQ(Depth(), 1u);
}

// Without a reachable server the window starts empty after one box that
// names the failure; Alt+1 tries again.
TEST(ForumWindowOffline, UnreachableServerGivesTheBoxFirstAndAltOneRetries) {
    qtest::ForumProfile profile("127.0.0.1", qtest::UnusedLoopbackPort());
    guitest::DialogAnswerer boxes(GTK_RESPONSE_OK);
    wxWeakRef<MainFrame> frame = new MainFrame();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].title, "获取版块失败");
    EXPECT_FALSE(boxes.Seen()[0].text.empty());
    EXPECT_FALSE(frame->IsShown());
    frame->Show();
    qtest::Settle();
    EXPECT_EQ(frame->MainList()->GetCount(), 0u);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), U(kHelpStatus));
    EXPECT_TRUE(frame->ForumState().Stack().empty());

    qtest::PressKey(frame, GDK_KEY_1, GDK_MOD1_MASK);
    ASSERT_TRUE(guitest::PumpUntil([&] { return boxes.Seen().size() == 2; }));
    EXPECT_EQ(boxes.Seen()[1].title, "获取版块失败");
    EXPECT_EQ(frame->MainList()->GetCount(), 0u);
    frame->Destroy();
    qtest::Settle();
}

// The server cannot say whether the user manages a section.
class ManagerCheckFaultTest : public ForumWindowTest {
protected:
    std::vector<std::string> ServerArgs() const override {
        return {"--fault", "/api/post/manager*=html"};
    }
};

TEST_F(ManagerCheckFaultTest, TheFailedManagerCheckIsReportedByTheMenuAndTheCommands) {
    // Start again logged in.
    SettingsStore().SaveLoginSettings(LoginSettings{U(qtest::LocalForumProcess::kUserMobile),
                                                    U(qtest::LocalForumProcess::kUserPassword), true, true});
    frame->Destroy();
    qtest::Settle();
    frame = new MainFrame();
    frame->Show();
    qtest::Settle();
    ASSERT_TRUE(frame->Session().loggedIn);
    Open("读屏软件交流");
    Select("NVDA 与 Orca");
    const wxString status = Status();
    std::vector<guitest::SeenDialog> seen;
    {
        guitest::DialogAnswerer box(GTK_RESPONSE_OK);
        Press(GDK_KEY_Menu);
        ASSERT_TRUE(guitest::PumpUntil([&] { return !box.Seen().empty(); }));
        seen = box.Seen();
    }
    for (int command : {int(MainId::EditPost), int(MainId::DeletePost)}) {
        guitest::DialogAnswerer box(GTK_RESPONSE_OK);
        wxCommandEvent event(wxEVT_MENU, command);
        frame->GetEventHandler()->ProcessEvent(event);
        ASSERT_TRUE(guitest::PumpUntil([&] { return !box.Seen().empty(); }));
        seen.push_back(box.Seen()[0]);
    }
    ASSERT_EQ(seen.size(), 3u);
    for (const guitest::SeenDialog& box : seen) {
        EXPECT_EQ(box.title, "获取管理员权限失败");
        EXPECT_EQ(box.text.rfind("JSON 解析失败", 0), 0u) << box.text;
    }
    // Not taken for an empty menu, and the list is left as it was.
    EXPECT_EQ(Status(), status);
    EXPECT_EQ(Label(), U("帖子列表 - 读屏软件交流"));
}

}  // namespace

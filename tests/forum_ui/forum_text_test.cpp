// The main window against a scripted server whose forum texts hold "&":
// what the list label and the floor menu show, and a closing window that a
// late search outcome must not reach.
#include "app/gtk_keys.h"
#include "app/main_frame.h"
#include "request_forms/gui_pump.h"
#include "support/forum_profile.h"
#include "support/http_test_server.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// The text of the next popped-up menu's items as GTK draws them; the menu
// is then closed.
class MenuReader {
public:
    MenuReader() { source_ = g_timeout_add(30, &MenuReader::Poll, this); }
    ~MenuReader() {
        if (source_) g_source_remove(source_);
    }
    bool Seen() const { return seen_; }
    const std::vector<std::string>& Items() const { return items_; }

private:
    static gboolean Poll(gpointer data) {
        auto* self = static_cast<MenuReader*>(data);
        GList* windows = gtk_window_list_toplevels();
        GtkWidget* menu = nullptr;
        for (GList* w = windows; w && !menu; w = w->next) {
            GtkWidget* child = gtk_bin_get_child(GTK_BIN(w->data));
            if (child && GTK_IS_MENU(child) && gtk_widget_get_mapped(child)) menu = child;
        }
        g_list_free(windows);
        if (!menu) return G_SOURCE_CONTINUE;
        GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
        for (GList* c = children; c; c = c->next) {
            GtkWidget* label = gtk_bin_get_child(GTK_BIN(c->data));
            self->items_.push_back(label && GTK_IS_LABEL(label) ? gtk_label_get_text(GTK_LABEL(label)) : "?");
        }
        g_list_free(children);
        gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
        self->seen_ = true;
        self->source_ = 0;
        return G_SOURCE_REMOVE;
    }
    std::vector<std::string> items_;
    bool seen_ = false;
    guint source_ = 0;
};

class ForumTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.Answer("GET", "/api/section", qtest::Ok(R"([{"id":7,"name":"问&答","description":"Q&A"}])"));
        server.Answer("GET", "/api/section/7",
                      qtest::Ok(R"({"id":7,"name":"问&答","postPage":{"pageNum":1,"pageSize":20,"pages":1,)"
                                R"("total":1,"list":[{"id":31,"title":"猫&狗","userName":"甲&乙",)"
                                R"("replyCount":1,"viewCount":2}]}})"));
        server.Answer("GET", "/api/reply",
                      qtest::Ok(R"({"pageNum":1,"pageSize":20,"pages":1,"total":1,"list":)"
                                R"([{"id":5,"postId":31,"userId":3,"floor":2,"userName":"丙&丁","body":"你好"}]})"));
        frame = new MainFrame();
        frame->Show();
        qtest::Settle();
        ASSERT_EQ(frame->ForumState().Stack().size(), 1u);
    }
    void TearDown() override {
        if (frame) frame->Destroy();
        qtest::Settle();
    }

    wxListBox* List() const { return frame->MainList(); }
    // The label as GTK draws it, mnemonics taken out.
    std::string ShownLabel() const {
        GtkWidget* label = frame->ListLabel()->GetHandle();
        return GTK_IS_LABEL(label) ? gtk_label_get_text(GTK_LABEL(label)) : "?";
    }
    void Press(guint key) {
        List()->SetFocus();
        qtest::PressKey(frame, key);
    }
    void Select(const char* prefix) {
        for (unsigned i = 0; i < List()->GetCount(); ++i) {
            if (List()->GetString(i).StartsWith(U(prefix))) {
                List()->SetSelection(static_cast<int>(i));
                return;
            }
        }
        ADD_FAILURE() << "no row starts with " << prefix;
    }
    void Open(const char* prefix) {
        Select(prefix);
        Press(GDK_KEY_Return);
    }

    qtest::HttpTestServer server;
    qtest::ForumProfile profile{server.Host(), server.Port()};
    wxWeakRef<MainFrame> frame;
};

TEST_F(ForumTextTest, AmpersandsInForumTextAreShownInLabelsAndMenus) {
    Open("问&答 - Q&A");
    EXPECT_EQ(ShownLabel(), "帖子列表 - 问&答");
    Open("猫&狗 | 甲&乙");
    EXPECT_EQ(ShownLabel(), "楼层列表 - 猫&狗");
    Select("2楼 丙&丁：你好");
    MenuReader menu;
    Press(GDK_KEY_Menu);
    ASSERT_TRUE(guitest::PumpUntil([&] { return menu.Seen(); }));
    EXPECT_EQ(menu.Items(), std::vector<std::string>{"回复 2 楼（丙&丁）"});
}

// The search fails only after the window has begun to close: the outcome
// must not bring up a "搜索帖子失败" box while the exit cue plays.
TEST_F(ForumTextTest, ASearchFailingWhileTheWindowClosesShowsNoBox) {
    server.Answer("GET", "/api/post/search",
                  qtest::Ok("{}").WithDelay(std::chrono::milliseconds(400))
                      .WithCut(qtest::ScriptedAnswer::Cut::CloseBeforeAnswer));
    {
        guitest::TextDialogAnswerer keyword(wxS("NVDA"), wxID_OK);
        Open("搜索帖子");
    }
    ASSERT_EQ(List()->GetString(0), U("正在搜索，请稍候..."));
    guitest::DialogAnswerer boxes(GTK_RESPONSE_OK);
    frame->Close();
    // Queued calls run (that is where an outcome lands), idle time does
    // not, so the closed window is not yet deleted when the outcome comes.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < until && boxes.Seen().empty()) {
        wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(server.RequestCount(), 2u) << "the sections, then the search";
    for (const guitest::SeenDialog& box : boxes.Seen()) ADD_FAILURE() << box.title << ": " << box.text;
}

}  // namespace

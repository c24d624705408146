// Waiting for a real loopback server: the window keeps serving while the
// call runs, input is dropped, deferred work waits, Escape cancels.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include <gdk/gdkkeysyms.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "api/api_client.h"
#include "app/gtk_keys.h"
#include "ui/request_forms.h"
#include "gui_pump.h"
#include "support/http_test_server.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const char kWaiting[] = "正在等待服务器响应，按 Esc 取消。";

ApiClient ClientFor(const qtest::HttpTestServer& server)
{
    return ApiClient(ServerEndpoint{wxString::FromUTF8(server.Host()), server.Port()});
}

// Runs `step` once from GLib's loop after `delay`, as a user's key press or
// a screen reader's question would arrive while the call waits.
void After(std::chrono::milliseconds delay, std::function<void()> step)
{
    auto* owned = new std::function<void()>(std::move(step));
    g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(delay.count()),
                       [](gpointer data) -> gboolean {
                           (*static_cast<std::function<void()>*>(data))();
                           return G_SOURCE_REMOVE;
                       },
                       owned, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

struct WaitWindow {
    WaitWindow()
    {
        frame = new wxFrame(nullptr, wxID_ANY, wxS("wait"));
        frame->CreateStatusBar(1);
        frame->SetStatusText(wxS("旧的状态"), 0);
        box = new wxTextCtrl(frame, wxID_ANY);
        wxTheApp->SetTopWindow(frame);
        frame->Show();
        box->SetFocus();
        guitest::PumpFor(100ms);
    }
    ~WaitWindow() { frame->Destroy(); }
    wxString Status() const { return frame->GetStatusBar()->GetStatusText(0); }

    wxFrame* frame;
    wxTextCtrl* box;
};

}  // namespace

TEST(RequestWait, TheWindowKeepsServingDropsInputAndHoldsDeferredWork)
{
    qtest::HttpTestServer server;
    server.Answer("GET", "/api/section", qtest::Ok("[]").WithDelay(1500ms));
    ApiClient api = ClientFor(server);
    WaitWindow window;
    RequestWait::SetNoticeDelayForTesting(300);

    int ticks = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { ++ticks; });
    timer.Start(100);
    std::vector<std::string> order;
    wxString statusDuringWait;
    After(200ms, [&] {
        qtest::PressKey(window.box, GDK_KEY_a);
        qtest::PressKey(window.box, GDK_KEY_Return);
        window.frame->CallAfter([&] { order.push_back("deferred"); });
    });
    After(900ms, [&] { statusDuringWait = window.Status(); });

    SectionList sections = BlockingRequest(window.frame, wxS("获取版块失败"), [&] {
        return api.GetSections();
    });
    order.push_back("returned");
    timer.Stop();

    EXPECT_TRUE(sections.ok) << sections.error.utf8_string();
    EXPECT_GE(ticks, 8) << "the UI thread stopped serving its timers during the wait";
    EXPECT_EQ(statusDuringWait.utf8_string(), kWaiting);
    EXPECT_EQ(window.Status().utf8_string(), "旧的状态");
    guitest::PumpFor(100ms);
    EXPECT_EQ(window.box->GetValue(), wxString()) << "a key typed during the wait reached the window";
    EXPECT_EQ(order, (std::vector<std::string>{"returned", "deferred"}));
    RequestWait::SetNoticeDelayForTesting(1000);
}

TEST(RequestWait, EscapeCancelsTheChainAndSaysWhetherAWriteMayHaveHappened)
{
    qtest::HttpTestServer server;
    server.SetDefault(qtest::Ok().WithDelay(20s));
    ApiClient api = ClientFor(server);
    WaitWindow window;
    guitest::DialogAnswerer box(GTK_RESPONSE_OK);

    // A read: the attempt in flight is aborted at once and no further
    // form is tried.
    Clock::time_point pressed;
    auto pressEscape = [&] {
        pressed = Clock::now();
        qtest::PressKey(window.box, GDK_KEY_Escape);
    };
    After(300ms, pressEscape);
    SectionList sections = BlockingRequest(window.frame, wxS("获取版块失败"), [&] { return api.GetSections(); });
    EXPECT_LT(Clock::now() - pressed, 1s);
    EXPECT_FALSE(sections.ok);
    EXPECT_EQ(sections.error.utf8_string(), "操作已取消。");
    EXPECT_EQ(server.Requests().size(), 1u);
    ASSERT_EQ(box.Seen().size(), 1u);
    EXPECT_EQ(box.Seen()[0].title, "获取版块失败");
    EXPECT_EQ(box.Seen()[0].text, "操作已取消。");

    // A write that reached the server may have been carried out.
    After(300ms, pressEscape);
    HttpResponse write = RunBusy([&] { return api.SendRequest(wxS("POST"), wxS("/api/post"), {}, "{}"); });
    EXPECT_EQ(write.error.utf8_string(), "操作已取消，服务器可能已经处理了该请求。");

    // Both halves of a parallel pair stop.
    server.ClearRequests();
    After(300ms, pressEscape);
    auto pair = ParallelPair([&] { return api.GetSections(); }, [&] { return api.GetHotPosts(1, 20); });
    EXPECT_LT(Clock::now() - pressed, 1s);
    EXPECT_EQ(pair.first.error.utf8_string(), "操作已取消。");
    EXPECT_EQ(pair.second.error.utf8_string(), "操作已取消。");
    EXPECT_EQ(server.Requests().size(), 2u);
}

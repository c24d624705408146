// The home view's sections asked for while the window is built: shown with
// the window when they are here in time, asked for once, and a failure or a
// slow server still met the usual way once the window shows.
#include "app/main_frame.h"
#include "app/sections_prefetch.h"
#include "platform/http_cancel.h"
#include "request_forms/gui_pump.h"
#include "support/forum_profile.h"
#include "support/http_test_server.h"

#include <gtest/gtest.h>
#include <wx/listbox.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Case {
    const char* name;
    qtest::ScriptedAnswer answer;
    bool savedAutoLogin;
    bool complete;           // what ShowArrivedFirstView says
    unsigned rowsBeforeShow;  // rows in the list before the window shows
    unsigned boxes;           // error boxes once the first view loads
};

TEST(FirstView, ArrivedSectionsShowWithTheWindowAndAreAskedForOnce) {
    const Case cases[] = {
        {"answered", qtest::Ok(R"([{"id":7,"name":"问答","description":"Q&A"}])"), false, true, 7, 0},
        // The automatic login still runs once the window shows.
        {"answered, automatic login to come", qtest::Ok(R"([{"id":7,"name":"问答","description":""}])"), true,
         false, 7, 0},
        {"refused", qtest::Fail(-1, "维护中"), false, false, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qtest::HttpTestServer server;
        server.Answer("GET", "/api/section", c.answer);
        // A login that is refused: the box it gives is counted apart.
        server.Answer("POST", "/api/user/login", qtest::Fail(1, "密码错误"));
        qtest::ForumProfile profile(server.Host(), server.Port());
        if (c.savedAutoLogin) {
            std::ofstream(profile.settingsFolder() + "/settings.ini", std::ios::app)
                << "[login]\nmobile=13800000000\npassword=pw\nrememberPassword=1\nautoLogin=1\n";
        }
        auto prefetch = std::make_unique<SectionsPrefetch>(ServerEndpoint{server.Host(), server.Port()});
        ASSERT_TRUE(guitest::PumpUntil([&] { return prefetch->Arrived().has_value(); }));

        auto* frame = new MainFrame(false);
        frame->AdoptSectionsPrefetch(std::move(prefetch));
        EXPECT_EQ(frame->ShowArrivedFirstView(), c.complete);
        EXPECT_EQ(frame->MainList()->GetCount(), c.rowsBeforeShow);
        if (c.rowsBeforeShow > 0) {
            EXPECT_EQ(frame->MainList()->GetSelection(), 0);
        }

        guitest::DialogAnswerer boxes(GTK_RESPONSE_OK);
        frame->Show();
        frame->LoadFirstView();
        guitest::PumpFor(milliseconds(200));
        size_t sectionBoxes = 0;
        for (const guitest::SeenDialog& box : boxes.Seen()) sectionBoxes += box.title == "获取版块失败";
        EXPECT_EQ(sectionBoxes, c.boxes);
        EXPECT_EQ(frame->MainList()->GetCount(), c.rowsBeforeShow) << "the rows stay as they were";
        size_t sectionRequests = 0;
        for (const qtest::RecordedRequest& r : server.Requests()) sectionRequests += r.target == "/api/section";
        EXPECT_EQ(sectionRequests, 1u);
        frame->Destroy();
        guitest::PumpFor(milliseconds(50));
    }
}

// Escape under the busy wait cancels the waiting thread's token; the early
// request must stop with it, and so must a window closed while it runs.
TEST(FirstView, ASlowEarlyRequestStopsWhenCancelledOrDropped) {
    qtest::HttpTestServer server;
    server.Answer("GET", "/api/section", qtest::Ok("[]").WithDelay(milliseconds(20000)));
    const ServerEndpoint endpoint{server.Host(), server.Port()};

    SectionsPrefetch waited(endpoint);
    platform::CancelToken escape;
    std::thread presser([&] {
        std::this_thread::sleep_for(milliseconds(150));
        escape.Cancel();
    });
    const auto start = Clock::now();
    SectionList list;
    {
        platform::CancelScope scope(escape);
        list = waited.Wait();
    }
    presser.join();
    EXPECT_FALSE(list.ok);
    EXPECT_LT(Clock::now() - start, milliseconds(3000));

    const auto dropStart = Clock::now();
    { SectionsPrefetch dropped(endpoint); }
    EXPECT_LT(Clock::now() - dropStart, milliseconds(3000));
}

}  // namespace

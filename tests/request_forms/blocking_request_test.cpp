#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "api/forum_records.h"
#include "ui/request_forms.h"
#include "gui_pump.h"

using guitest::DialogAnswerer;

TEST(BlockingRequest, BusyWhileCallingAndNotWhileTheBoxShows)
{
    DialogAnswerer answer(GTK_RESPONSE_OK);
    bool busyInside = false;
    PostListPage page = BlockingRequest(nullptr, wxS("获取热门帖子失败"), [&] {
        busyInside = wxIsBusy();
        PostListPage failed;
        failed.error = wxS("连接服务器失败。");
        return failed;
    });
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(wxIsBusy());
    EXPECT_FALSE(page.ok);
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].title, "获取热门帖子失败");
    EXPECT_EQ(answer.Seen()[0].text, "连接服务器失败。");
    EXPECT_FALSE(answer.Seen()[0].busyWhileShown);
}

TEST(BlockingRequest, SuccessShowsNoBoxWhateverTheResultKind)
{
    DialogAnswerer answer(GTK_RESPONSE_OK);
    SectionList sections = BlockingRequest(nullptr, wxS("获取版块失败"), [] {
        SectionList list;
        list.ok = true;
        return list;
    });
    ManagerCheck check = BlockingRequest(nullptr, wxS("获取管理员权限失败"), [] {
        ManagerCheck answered;
        answered.answered = true;
        return answered;
    });
    EXPECT_TRUE(sections.ok);
    EXPECT_TRUE(check.answered);
    guitest::PumpFor(std::chrono::milliseconds(60));
    EXPECT_TRUE(answer.Seen().empty());

    struct WriteResult { bool success = false; wxString message; wxString debugInfo; };
    BlockingRequest(nullptr, wxS("删除帖子失败"), [] { return WriteResult{false, wxS("无权限"), {}}; });
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].text, "无权限");
}

TEST(BlockingRequest, BusyCursorEndsWhenTheCallThrows)
{
    EXPECT_THROW(RunBusy([]() -> int { throw std::runtime_error("boom"); }), std::runtime_error);
    EXPECT_FALSE(wxIsBusy());
}

TEST(ParallelPair, BothCallsOverlapAndBothAreAwaited)
{
    std::mutex mutex;
    std::condition_variable cv;
    int arrived = 0;
    // Each call waits (bounded) for the other to have started: only
    // overlapping calls both see the other one.
    auto call = [&](int value) {
        std::unique_lock<std::mutex> lock(mutex);
        ++arrived;
        cv.notify_all();
        const bool overlapped = cv.wait_for(lock, std::chrono::seconds(5), [&] { return arrived == 2; });
        return std::make_pair(overlapped, value);
    };
    auto results = ParallelPair([&] { return call(1); }, [&] { return call(2); });
    EXPECT_TRUE(results.first.first);
    EXPECT_TRUE(results.second.first);
    EXPECT_EQ(results.first.second, 1);
    EXPECT_EQ(results.second.second, 2);
    EXPECT_FALSE(wxIsBusy());
}

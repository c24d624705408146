// The search worker with real threads and real windows: outcomes reach the
// UI thread, stale ones are dropped by the browser, and a window closed
// before its search finishes is never called.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include <wx/frame.h>
#include <wx/thread.h>

#include "app/forum_browser.h"
#include "app/search_worker.h"
#include "gui_pump.h"

using guitest::PumpUntil;

namespace {

// A gate a worker waits at until the test opens it.
class Gate
{
public:
    void Open()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        cv_.notify_all();
    }
    void Wait()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait_for(lock, std::chrono::seconds(20), [&] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool open_ = false;
};

PostListPage OnePost(int32_t id, const wxString& title)
{
    PostListPage page;
    page.ok = true;
    PostSummary post;
    post.id = id;
    post.title = title;
    page.items.push_back(post);
    page.pageInfo = PageInfo{1, 20, 1, 1};
    return page;
}

// A search function that waits at `gate` and tells, through `alive`, when
// the worker thread has let go of it (that is, after it handed its outcome over).
SearchWorker::SearchFunction GatedSearch(std::shared_ptr<Gate> gate, int32_t id,
                                         std::weak_ptr<int>* alive = nullptr)
{
    auto token = std::make_shared<int>(0);
    if (alive != nullptr)
        *alive = token;
    return [gate, id, token](const wxString& keyword, int32_t) {
        if (gate)
            gate->Wait();
        return OnePost(id, keyword + wxS("的帖子"));
    };
}

// A window that owns its worker, as the main window does.
class SearchingFrame : public wxFrame
{
public:
    explicit SearchingFrame(std::atomic<int>* delivered)
        : wxFrame(nullptr, wxID_ANY, wxS("搜索测试")),
          worker(this, [this](const SearchOutcome& outcome) { OnOutcome(outcome); }),
          delivered_(delivered)
    {
    }
    void OnOutcome(const SearchOutcome& outcome)
    {
        lastKeyword = outcome.keyword;  // touches the frame: would be a use after free if late
        ++*delivered_;
    }
    SearchWorker worker;
    wxString lastKeyword;

private:
    std::atomic<int>* delivered_;
};

} // namespace

TEST(SearchWorker, OutcomeArrivesOnTheUiThreadWithItsTicket)
{
    wxFrame frame(nullptr, wxID_ANY, wxS("搜索"));
    std::vector<SearchOutcome> got;
    bool onMainThread = false;
    SearchWorker worker(&frame, [&](const SearchOutcome& outcome) {
        onMainThread = wxThread::IsMain();
        got.push_back(outcome);
    });
    worker.Start(SearchTicket{7, wxS("古风"), 3}, GatedSearch(nullptr, 5));
    ASSERT_TRUE(PumpUntil([&] { return !got.empty(); }));
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(got[0].searchId, 7u);
    EXPECT_EQ(got[0].keyword, wxString(wxS("古风")));
    EXPECT_EQ(got[0].pageNum, 3);
    ASSERT_EQ(got[0].page.items.size(), 1u);
    EXPECT_EQ(got[0].page.items[0].title, wxString(wxS("古风的帖子")));
}

TEST(SearchWorker, SecondSearchWinsAndBackspaceDropsTheLateOne)
{
    wxFrame frame(nullptr, wxID_ANY, wxS("搜索"));
    ForumBrowser browser;
    SectionList sections;
    sections.ok = true;
    browser.ApplySections(sections);
    browser.Render();
    int accepted = 0;
    int dropped = 0;
    SearchWorker worker(&frame, [&](const SearchOutcome& outcome) {
        if (browser.AcceptSearchOutcome(outcome))
            ++accepted;
        else
            ++dropped;
    });

    // The first search is slow; the user goes back and searches again.
    auto slow = std::make_shared<Gate>();
    worker.Start(browser.StartSearch(SearchRequest{wxS("甲"), 1, false}).ticket, GatedSearch(slow, 1));
    browser.Back();
    worker.Start(browser.StartSearch(SearchRequest{wxS("乙"), 1, false}).ticket, GatedSearch(nullptr, 2));
    ASSERT_TRUE(PumpUntil([&] { return accepted + dropped == 1; }));
    slow->Open();
    ASSERT_TRUE(PumpUntil([&] { return accepted + dropped == 2; }));
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(dropped, 1);
    EXPECT_EQ(browser.Top()->keyword, wxString(wxS("乙")));
    EXPECT_EQ(browser.Top()->entries[0].postId, 2);

    // Backspace while a search runs: its view is gone, the outcome is dropped.
    auto gate = std::make_shared<Gate>();
    worker.Start(browser.StartSearch(SearchRequest{wxS("丙"), 2, true}).ticket, GatedSearch(gate, 3));
    browser.Back();
    gate->Open();
    ASSERT_TRUE(PumpUntil([&] { return accepted + dropped == 3; }));
    EXPECT_EQ(dropped, 2);
    EXPECT_EQ(browser.Stack().size(), 1u);
}

TEST(SearchWorker, OutcomeAfterTheWindowClosedIsHarmless)
{
    std::atomic<int> delivered{0};
    auto* frame = new SearchingFrame(&delivered);
    frame->Show();
    auto gate = std::make_shared<Gate>();
    std::weak_ptr<int> workerAlive;
    frame->worker.Start(SearchTicket{1, wxS("古风"), 1}, GatedSearch(gate, 1, &workerAlive));

    frame->Destroy();
    ASSERT_TRUE(PumpUntil([&] { return wxTopLevelWindows.IndexOf(frame) == wxNOT_FOUND; }));
    gate->Open();  // the search finishes after its window is gone
    ASSERT_TRUE(PumpUntil([&] { return workerAlive.expired(); }));
    guitest::PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(delivered.load(), 0);
}

TEST(SearchWorker, OutcomeQueuedBeforeTheWindowClosedIsDroppedWithIt)
{
    std::atomic<int> delivered{0};
    auto* frame = new SearchingFrame(&delivered);
    std::weak_ptr<int> workerAlive;
    frame->worker.Start(SearchTicket{1, wxS("古风"), 1}, GatedSearch(nullptr, 1, &workerAlive));
    // Let the worker queue its outcome without running the queue.
    for (int i = 0; i < 2000 && !workerAlive.expired(); ++i)
        wxMilliSleep(5);
    ASSERT_TRUE(workerAlive.expired());
    delete frame;
    guitest::PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(delivered.load(), 0);
}

TEST(SearchWorker, DisconnectStopsDelivery)
{
    wxFrame frame(nullptr, wxID_ANY, wxS("搜索"));
    int got = 0;
    SearchWorker worker(&frame, [&](const SearchOutcome&) { ++got; });
    std::weak_ptr<int> workerAlive;
    worker.Start(SearchTicket{1, wxS("古风"), 1}, GatedSearch(nullptr, 1, &workerAlive));
    for (int i = 0; i < 2000 && !workerAlive.expired(); ++i)
        wxMilliSleep(5);
    worker.Disconnect();
    worker.Disconnect();
    guitest::PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(got, 0);
}

#include "app/sections_prefetch.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "api/api_client.h"
#include "platform/http_cancel.h"

struct SectionsPrefetch::State {
    explicit State(const ServerEndpoint& endpoint) : api(endpoint) {}

    void Fetch() {
        SectionList list;
        {
            platform::CancelScope scope(cancel);
            list = api.GetSections();
        }
        std::lock_guard lock(mutex);
        answer = std::move(list);
        arrived.notify_all();
    }

    const ApiClient api;
    platform::CancelToken cancel;
    mutable std::mutex mutex;
    std::condition_variable arrived;
    std::optional<SectionList> answer;
};

SectionsPrefetch::SectionsPrefetch(const ServerEndpoint& endpoint)
    : state_(std::make_shared<State>(endpoint)) {
    try {
        thread_ = std::thread([state = state_] { state->Fetch(); });
    } catch (const std::system_error&) {
        // No thread to be had: the first view asks in the usual way (Wait).
    }
}

SectionsPrefetch::~SectionsPrefetch() {
    state_->cancel.Cancel();
    if (thread_.joinable()) thread_.join();
}

std::optional<SectionList> SectionsPrefetch::Arrived() const {
    std::lock_guard lock(state_->mutex);
    return state_->answer;
}

SectionList SectionsPrefetch::Wait() {
    if (!thread_.joinable()) return state_->api.GetSections();
    std::unique_lock lock(state_->mutex);
    // The waiter's own token is only looked at, so a cancel reaches the
    // request within one turn of this loop.
    while (!state_->arrived.wait_for(lock, std::chrono::milliseconds(20),
                                     [this] { return state_->answer.has_value(); })) {
        if (platform::CancelRequested()) state_->cancel.Cancel();
    }
    return *state_->answer;
}

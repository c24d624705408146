// The home view's sections, asked for on a thread of their own as the
// program starts, while the main window is being built: from a nearby
// server they have arrived by the time the window shows, and the home view
// shows with the window instead of a moment after it.
#pragma once

#include <memory>
#include <optional>
#include <thread>

#include "api/forum_records.h"
#include "api/server_endpoint.h"

class SectionsPrefetch {
public:
    // Starts the request at once.
    explicit SectionsPrefetch(const ServerEndpoint& endpoint);
    // Stops a request still running and waits for its thread.
    ~SectionsPrefetch();
    SectionsPrefetch(const SectionsPrefetch&) = delete;
    SectionsPrefetch& operator=(const SectionsPrefetch&) = delete;

    // The answer when it is here, successful or not; never waits.
    std::optional<SectionList> Arrived() const;
    // The answer, waiting for it as long as the request runs. Cancelling
    // the calling thread's token (Escape, under RunBusy) stops the request,
    // which then ends as any cancelled request does.
    SectionList Wait();

private:
    struct State;
    std::shared_ptr<State> state_;
    std::thread thread_;
};

#pragma once

// Runs a post search on a detached thread and hands the outcome to the UI
// thread with CallAfter. The hand-off is tied to the owner's lifetime: once
// the owner disconnects (or destroys the worker object, e.g. as a member of
// the window), a search still running finishes quietly and its outcome is
// dropped.

#include <functional>
#include <memory>

#include "app/search_outcome.h"

class wxEvtHandler;

class SearchWorker
{
public:
    // Runs on the worker thread; must not touch any window. Give it copies
    // of what it needs (e.g. the client by value), never the window's members.
    using SearchFunction = std::function<PostListPage(const wxString& keyword, int32_t pageNum)>;
    // Runs on the UI thread for every outcome while connected.
    using OutcomeHandler = std::function<void(const SearchOutcome&)>;

    SearchWorker(wxEvtHandler* target, OutcomeHandler onOutcome);
    ~SearchWorker();
    SearchWorker(const SearchWorker&) = delete;
    SearchWorker& operator=(const SearchWorker&) = delete;

    // Starts one search. When no thread can be started the outcome is a
    // failure with SearchStartFailedText(), delivered the same way.
    void Start(const SearchTicket& ticket, SearchFunction search);

    // From now on no outcome reaches the handler. Safe to call twice.
    void Disconnect();

    static wxString SearchStartFailedText();

private:
    struct Handoff;
    std::shared_ptr<Handoff> handoff_;
};

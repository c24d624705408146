#include "app/search_worker.h"

#include <mutex>
#include <system_error>
#include <thread>

#include <wx/event.h>

struct SearchWorker::Handoff
{
    std::mutex mutex;
    wxEvtHandler* target = nullptr;  // null once the owner is gone
    OutcomeHandler onOutcome;

    // Worker thread: queue the outcome to the target, if it still exists.
    // Holding the mutex while queueing means Disconnect() cannot complete
    // (and the target cannot be destroyed) in between.
    static void Post(const std::shared_ptr<Handoff>& self, SearchOutcome outcome)
    {
        std::lock_guard<std::mutex> lock(self->mutex);
        if (self->target == nullptr)
            return;
        self->target->CallAfter([self, outcome] { Deliver(self, outcome); });
    }

    // UI thread.
    static void Deliver(const std::shared_ptr<Handoff>& self, const SearchOutcome& outcome)
    {
        OutcomeHandler handler;
        {
            std::lock_guard<std::mutex> lock(self->mutex);
            if (self->target == nullptr)
                return;
            handler = self->onOutcome;
        }
        handler(outcome);
    }
};

namespace {

// wxString buffers must not be shared between threads: hand over deep copies.
wxString OwnCopy(const wxString& text)
{
    return wxString(text.wc_str(), text.length());
}

} // namespace

SearchWorker::SearchWorker(wxEvtHandler* target, OutcomeHandler onOutcome)
    : handoff_(std::make_shared<Handoff>())
{
    handoff_->target = target;
    handoff_->onOutcome = std::move(onOutcome);
}

SearchWorker::~SearchWorker()
{
    Disconnect();
}

void SearchWorker::Disconnect()
{
    std::lock_guard<std::mutex> lock(handoff_->mutex);
    handoff_->target = nullptr;
    handoff_->onOutcome = nullptr;
}

wxString SearchWorker::SearchStartFailedText()
{
    return wxS("无法启动搜索，请稍后重试。");
}

void SearchWorker::Start(const SearchTicket& ticket, SearchFunction search)
{
    SearchTicket own{ticket.searchId, OwnCopy(ticket.keyword), ticket.pageNum};
    try {
        std::thread([handoff = handoff_, own, search = std::move(search)] {
            SearchOutcome outcome;
            outcome.searchId = own.searchId;
            outcome.keyword = own.keyword;
            outcome.pageNum = own.pageNum;
            outcome.page = search(own.keyword, own.pageNum);
            Handoff::Post(handoff, std::move(outcome));
        }).detach();
    } catch (const std::system_error&) {
        SearchOutcome failed;
        failed.searchId = own.searchId;
        failed.keyword = own.keyword;
        failed.pageNum = own.pageNum;
        failed.page.pageInfo.pageNum = own.pageNum;
        failed.page.error = SearchStartFailedText();
        Handoff::Post(handoff_, std::move(failed));
    }
}

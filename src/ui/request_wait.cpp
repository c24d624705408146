#include "ui/request_wait.h"

#include "platform/accessibility.h"
#include "platform/escape_key_watch.h"
#include "platform/http_cancel.h"
#include "ui/window_closer.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <atomic>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>

namespace {

int gDepth = 0;
int gNoticeDelayMs = 1000;
int gLastWakeUps = 0;

wxString WaitingText() { return wxString::FromUTF8("正在等待服务器响应，按 Esc 取消。"); }

// Keeps user input away from every window while a call runs; Escape
// raises the call's cancel flag. A window closed meanwhile is not closed
// under the waiting code: the close is held back and cancels the call, and
// the closer runs it once the call has returned.
class InputBlocker : public wxEventFilter {
public:
    explicit InputBlocker(platform::CancelToken& cancel) : cancel_(cancel) { wxEvtHandler::AddFilter(this); }
    ~InputBlocker() override { wxEvtHandler::RemoveFilter(this); }

    int FilterEvent(wxEvent& event) override {
        const wxEventType type = event.GetEventType();
        if (type == wxEVT_CLOSE_WINDOW) {
            auto& close = static_cast<wxCloseEvent&>(event);
            const bool force = !close.CanVeto();
            if (!force) close.Veto();
            window_closer::RequestClose(dynamic_cast<wxWindow*>(event.GetEventObject()), force);
            return Event_Processed;
        }
        if (type == wxEVT_CHAR_HOOK || type == wxEVT_KEY_DOWN) {
            if (static_cast<wxKeyEvent&>(event).GetKeyCode() == WXK_ESCAPE) cancel_.Cancel();
        }
        return event.GetEventCategory() == wxEVT_CATEGORY_USER_INPUT ? Event_Processed : Event_Skip;
    }

private:
    platform::CancelToken& cancel_;
};

// The main window's status line during a long wait: the waiting text,
// spoken once, and the old line back afterwards.
class WaitingNotice : public wxTimer {
public:
    WaitingNotice() { StartOnce(gNoticeDelayMs); }
    ~WaitingNotice() override {
        Stop();
        if (frame_ && frame_->GetStatusBar() && frame_->GetStatusBar()->GetStatusText(0) == WaitingText()) {
            frame_->SetStatusText(previous_, 0);
        }
    }

    void Notify() override {
        wxWindow* top = wxTheApp->GetTopWindow();
        frame_ = top && top->IsKindOf(wxCLASSINFO(wxFrame)) ? static_cast<wxFrame*>(top) : nullptr;
        if (frame_ && frame_->GetStatusBar()) {
            previous_ = frame_->GetStatusBar()->GetStatusText(0);
            frame_->SetStatusText(WaitingText(), 0);
        }
        // Spoken from the window the user is in, which may be a dialog.
        wxWindow* focus = wxWindow::FindFocus();
        wxWindow* near = focus ? focus : static_cast<wxWindow*>(frame_);
        if (near) a11y::Announce(near, WaitingText());
    }

private:
    wxFrame* frame_ = nullptr;
    wxString previous_;
};

}  // namespace

void RequestWait::Run(const std::function<void()>& work) {
    wxBusyCursor busy;
    if (!wxTheApp || !wxThread::IsMain()) {
        work();
        return;
    }
    struct Shared {
        std::atomic<bool> done{false};
        platform::CancelToken cancel;
        std::exception_ptr error;
    };
    auto shared = std::make_shared<Shared>();
    auto body = [shared, &work] {
        try {
            platform::CancelScope scope(shared->cancel);
            work();
        } catch (...) {
            shared->error = std::current_exception();
        }
        shared->done = true;
    };

    // The toolkit's suspension is a switch, not a count: only the
    // outermost wait turns it on and off.
    if (gDepth++ == 0) wxTheApp->SuspendProcessingOfPendingEvents();
    struct WaitRegistration {
        explicit WaitRegistration(const std::shared_ptr<Shared>& s) {
            window_closer::WaitStarted([s] { s->cancel.Cancel(); });
        }
        ~WaitRegistration() { window_closer::WaitEnded(); }
    } registration(shared);
    InputBlocker blocker(shared->cancel);
    // Escape also when no control has the focus (no toolkit event then).
    platform::EscapeKeyWatch escape([shared] { shared->cancel.Cancel(); });
    std::thread worker;
    try {
        worker = std::thread([&body] {
            body();
            wxWakeUpIdle();  // ends the wait below at once
        });
    } catch (const std::system_error&) {
        body();  // no thread to be had: wait the old way rather than fail
    }
    {
        WaitingNotice notice;
        wxGUIEventLoop loop;
        wxEventLoopActivator activate(&loop);
        int wakeUps = 0;
        while (!shared->done) {
            loop.Dispatch();
            ++wakeUps;
        }
        gLastWakeUps = wakeUps;
    }
    if (worker.joinable()) worker.join();
    if (--gDepth == 0) wxTheApp->ResumeProcessingOfPendingEvents();
    // Queued work that arrived meanwhile runs from the next turn of the loop.
    wxWakeUpIdle();
    if (shared->error) std::rethrow_exception(shared->error);
}

bool RequestWait::Active() { return gDepth > 0; }

void RequestWait::SetNoticeDelayForTesting(int milliseconds) { gNoticeDelayMs = milliseconds; }

int RequestWait::LastWakeUps() { return gLastWakeUps; }

#pragma once

// Running the toolkit's queues from a test, and answering GTK message
// dialogs while they are modal.

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/evtloop.h>

namespace guitest {

// Processes queued calls, idle work (pending deletions) and GTK events
// until `done` holds or `timeout` passes. Returns whether `done` held.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline void PumpFor(std::chrono::milliseconds span)
{
    const auto until = std::chrono::steady_clock::now() + span;
    PumpUntil([&] { return std::chrono::steady_clock::now() > until; }, span * 2);
}

// What a message dialog showed when it was answered.
struct SeenDialog
{
    std::string title;
    std::string text;
    std::vector<std::pair<int, std::string>> buttons;  // GTK response id, label
    int defaultResponse = 0;                           // response of the default button, 0: none
    bool busyWhileShown = false;
    std::string accessibleName;  // what a screen reader announces it as
};

// Answers the next GTK message dialog that appears with `response`, after
// recording what it showed. Call before the code that shows it; the answer
// arrives from a GLib timer while the dialog's own loop runs.
class DialogAnswerer
{
public:
    explicit DialogAnswerer(int response);
    ~DialogAnswerer();
    const std::vector<SeenDialog>& Seen() const { return seen_; }

private:
    static gboolean Poll(gpointer self);
    int response_;
    guint source_ = 0;
    std::vector<SeenDialog> seen_;
};

} // namespace guitest

class wxTextEntryDialog;

namespace guitest {

// Ends the next modal text-entry dialog with `value` typed and button `id`.
class TextDialogAnswerer
{
public:
    TextDialogAnswerer(const wxString& value, int id);
    ~TextDialogAnswerer();
    int Answered() const { return answered_; }
    // What the last answered dialog showed: its caption and the labels of
    // its wxID_OK and wxID_CANCEL buttons (empty when it has none).
    const wxString& Caption() const { return caption_; }
    const wxString& OkLabel() const { return okLabel_; }
    const wxString& CancelLabel() const { return cancelLabel_; }

private:
    static gboolean Poll(gpointer self);
    wxString value_;
    int id_;
    int answered_ = 0;
    guint source_ = 0;
    wxString caption_, okLabel_, cancelLabel_;
};

} // namespace guitest

// The main window's status line while a file goes up: "正在上传：N%" as the
// bytes leave, each quarter spoken once, and the old line back afterwards.
// The upload reports from its own thread; the numbers cross to the UI
// thread through atomics that a timer reads, because queued calls wait
// until the server call is over.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <wx/timer.h>

#include "api/upload.h"
#include "posts/composer_inserts.h"

class wxFrame;
class wxWindow;

class UploadStatusLine : public wxTimer {
public:
    // `near`: a control of the window the user is in, for the announcements.
    explicit UploadStatusLine(wxWindow* near);
    ~UploadStatusLine() override;
    UploadStatusLine(const UploadStatusLine&) = delete;
    UploadStatusLine& operator=(const UploadStatusLine&) = delete;

    // Hand this to the upload; safe to call from any thread.
    UploadProgress Progress() const;

    void Notify() override;

private:
    struct Counts {
        std::atomic<uint64_t> sent{0};
        std::atomic<uint64_t> total{0};
    };
    void Show(int percent);

    wxWindow* near_;
    wxFrame* frame_ = nullptr;
    wxString previous_;
    wxString shown_;
    int percent_ = -1;
    UploadProgressText text_;
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};

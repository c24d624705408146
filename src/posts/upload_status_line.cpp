#include "posts/upload_status_line.h"

#include "platform/accessibility.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/statusbr.h>

UploadStatusLine::UploadStatusLine(wxWindow* near) : near_(near) {
    wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    frame_ = top && top->IsKindOf(wxCLASSINFO(wxFrame)) ? static_cast<wxFrame*>(top) : nullptr;
    if (frame_ && frame_->GetStatusBar()) previous_ = frame_->GetStatusBar()->GetStatusText(0);
    Show(0);
    Start(100);
}

UploadStatusLine::~UploadStatusLine() {
    Stop();
    Notify();  // the last bytes may have gone out since the last tick
    // Put the old line back unless something else has taken the line since
    // (the waiting notice, which restores its own).
    if (frame_ && frame_->GetStatusBar() && frame_->GetStatusBar()->GetStatusText(0) == shown_)
        frame_->SetStatusText(previous_, 0);
}

UploadProgress UploadStatusLine::Progress() const {
    std::shared_ptr<Counts> counts = counts_;
    return [counts](uint64_t sent, uint64_t total) {
        counts->total = total;
        counts->sent = sent;
    };
}

void UploadStatusLine::Notify() {
    Show(UploadProgressText::Percent(counts_->sent, counts_->total));
}

void UploadStatusLine::Show(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    shown_ = UploadProgressText::StatusText(percent);
    if (frame_ && frame_->GetStatusBar()) frame_->SetStatusText(shown_, 0);
    if (const std::optional<int> quarter = text_.NextQuarter(percent))
        a11y::Announce(near_, UploadProgressText::StatusText(*quarter));
}

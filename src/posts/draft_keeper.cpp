#include "posts/draft_keeper.h"

#include "platform/accessibility.h"
#include "settings/settings_store.h"
#include "ui/focus_return.h"
#include "ui/message_box.h"
#include "ui/window_closer.h"

#include <wx/msgdlg.h>

#include <set>

namespace {

int gDelayMs = 2000;

wxString U8(const char* text) { return wxString::FromUTF8(text); }

}  // namespace

DraftKeeper::DraftKeeper(wxString name, std::function<bool(const PostDrafts&, const wxString&)> save,
                         std::function<bool()> empty)
    : drafts_(SettingsStore::DefaultSettingsFolder()), name_(std::move(name)), save_(std::move(save)),
      empty_(std::move(empty)) {}

DraftKeeper::~DraftKeeper() {
    Stop();
    Flush();
}

bool DraftKeeper::Offer(wxWindow* parent, const std::function<DraftState(const PostDrafts&, const wxString&)>& load) {
    const DraftState state = load(drafts_, name_);
    if (state == DraftState::None) return false;
    if (state == DraftState::Unreadable) {
        // Kept as it is for the user to look at; said once per run.
        enabled_ = false;
        static std::set<wxString> reported;
        const wxString path = drafts_.PathOf(name_);
        if (reported.insert(path).second)
            ShowErrorBox(parent, U8("草稿无法读取"), U8("草稿文件无法读取，已原样保留：\n") + path);
        return false;
    }
    wxWindow* opener = wxWindow::FindFocus();
    window_closer::BoxShown shown;
    a11y::NameMessageBoxesByCaption();
    wxMessageDialog question(parent, U8("有未发送的草稿，是否恢复？"), U8("草稿"),
                             wxYES_NO | wxYES_DEFAULT | wxICON_QUESTION);
    question.SetYesNoLabels(U8("恢复"), U8("丢弃"));
    const int answer = question.ShowModal();
    focus_return::ReturnLater(opener);
    if (answer == wxID_YES) return true;
    if (answer == wxID_NO) {
        drafts_.Remove(name_);
        return false;
    }
    // Escape: the draft waits for a later time, untouched by this window.
    enabled_ = false;
    return false;
}

void DraftKeeper::Changed() {
    if (!enabled_) return;
    dirty_ = true;
    StartOnce(gDelayMs);
}

void DraftKeeper::Flush() {
    if (!enabled_ || !dirty_) return;
    dirty_ = false;
    if (empty_()) drafts_.Remove(name_);
    else save_(drafts_, name_);
}

void DraftKeeper::Discard() {
    Stop();
    // A draft kept for later (Escape) or unreadable is not this window's.
    if (enabled_) drafts_.Remove(name_);
    enabled_ = false;
    dirty_ = false;
}

void DraftKeeper::SetDelayForTesting(int milliseconds) { gDelayMs = milliseconds; }

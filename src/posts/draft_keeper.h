// A window's side of its draft (post_drafts.h): saved a couple of seconds
// after the last change and when the window goes, offered back when the
// window opens again ("有未发送的草稿，是否恢复？" 恢复 / 丢弃, Escape keeps
// it for later), removed when the text was sent or the user discarded it.
// A draft that cannot be read is reported once and never touched.
#pragma once

#include <functional>

#include <wx/timer.h>

#include "posts/post_drafts.h"

class wxWindow;

class DraftKeeper : public wxTimer {
public:
    // `save` writes the window's content as draft `name`; `empty` says
    // there is nothing worth keeping (the draft is then removed).
    DraftKeeper(wxString name, std::function<bool(const PostDrafts&, const wxString&)> save,
                std::function<bool()> empty);
    ~DraftKeeper() override;

    // Asks about a draft that `load` finds; true when the user chose 恢复
    // (the window then shows what `load` read).
    bool Offer(wxWindow* parent, const std::function<DraftState(const PostDrafts&, const wxString&)>& load);

    // The content changed: saved after a short pause.
    void Changed();
    // Saved now when a change is still pending.
    void Flush();
    // Sent or given up: the draft is removed and nothing is saved any more
    // (a draft the user kept for later, or could not be read, stays).
    void Discard();

    void Notify() override { Flush(); }

    // Milliseconds between the last change and the save (tests shorten it).
    static void SetDelayForTesting(int milliseconds);

private:
    PostDrafts drafts_;
    wxString name_;
    std::function<bool(const PostDrafts&, const wxString&)> save_;
    std::function<bool()> empty_;
    bool enabled_ = true;
    bool dirty_ = false;
};

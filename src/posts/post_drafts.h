// Drafts: what the user typed in the composer or in a post's reply box,
// kept on disk a moment after each change, so that a crash, a kill or a
// power cut loses nothing. One file per composer (a new post, or the post
// being edited) and per reply box (per post), in the "drafts" folder of
// the data folder, written atomically and owner-only like settings.ini.
// GUI-free; the windows decide when to save, restore and remove.
#pragma once

#include <cstdint>

#include <wx/string.h>

#include "api/post_input.h"

enum class DraftState { None, Found, Unreadable };

// A composer's draft: the section chosen and every value, the title and
// body in `values.title` and `values.body`.
struct ComposerDraft {
    int32_t sectionId = 0;
    PostInput values;
};

class PostDrafts {
public:
    // `dataFolder`: where settings.ini lives.
    explicit PostDrafts(wxString dataFolder);

    // File names: the new-post composer, the composer editing `postId`,
    // the reply box of `postId`.
    static wxString NewPostName();
    static wxString EditPostName(int32_t postId);
    static wxString ReplyName(int32_t postId);

    wxString PathOf(const wxString& name) const;

    // A file that exists but does not hold a draft of this kind reads as
    // Unreadable; it is never changed by a load.
    DraftState Load(const wxString& name, ComposerDraft& draft) const;
    DraftState Load(const wxString& name, wxString& replyText) const;

    // Atomic replacement (mode 0600, folder 0700); false when it failed.
    bool Save(const wxString& name, const ComposerDraft& draft) const;
    bool Save(const wxString& name, const wxString& replyText) const;
    // True when no draft is left.
    bool Remove(const wxString& name) const;

private:
    wxString folder_;
};

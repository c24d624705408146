// The composer's three menus: links, publishing switches, prices, numbers
// and resource settings. What each command stores and says is decided in
// composer_inserts.*; here are the prompts that ask for it.
#include "posts/post_composer_dialog.h"

#include "platform/accessibility.h"
#include "posts/composer_inserts.h"
#include "ui/message_box.h"

#include <wx/button.h>
#include <wx/menu.h>
#include <wx/numdlg.h>
#include <wx/textdlg.h>

namespace {

wxString U8(const char* text) { return wxString::FromUTF8(text); }

// A standard text prompt with Chinese buttons, its field named after the
// message; nothing when cancelled.
std::optional<wxString> AskText(wxWindow* parent, const wxString& message, const wxString& caption,
                                const wxString& initial, bool multiLine = false) {
    const long style = multiLine ? wxOK | wxCANCEL | wxTE_MULTILINE : wxTextEntryDialogStyle;
    wxTextEntryDialog prompt(parent, message, caption, initial, style);
    SetOkCancelLabels(&prompt, OkLabel(), CancelLabel());
    a11y::NamePromptField(&prompt, message);
    if (prompt.ShowModal() != wxID_OK) return std::nullopt;
    return prompt.GetValue();
}

// The toolkit's number box clamps what is typed to its range without a
// word; it gets room enough to pass any typed number on, so that one out of
// range is refused with a message instead of silently changed.
constexpr long kNumberBoxLimit = 999999999;

std::optional<wxString> AskNumber(wxWindow* parent, const ValuePrompt& prompt, int initial) {
    wxNumberEntryDialog dialog(parent, prompt.message, prompt.label, prompt.caption, initial, -kNumberBoxLimit,
                               kNumberBoxLimit);
    SetOkCancelLabels(&dialog, OkLabel(), CancelLabel());
    a11y::NamePromptField(&dialog, prompt.label);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return wxString::Format(wxS("%ld"), dialog.GetValue());
}

}  // namespace

void PostComposerDialog::OpenMenu(size_t index) {
    if (busy_ || index >= menus_.size()) return;
    RefreshMenus();
    menuOpenedFrom_ = index;
    PopupMenu(menus_[index].get(), MenuPosition(index));
}

void PostComposerDialog::OnMenuCommand(wxCommandEvent& event) {
    if (busy_) return;
    const int id = event.GetId();
    if (id == composer_menu::kInsertLink) {
        InsertLink();
    } else if (UploadRowFor(id)) {
        Upload(id);
    } else if (PromptFor(id)) {
        AskValue(id);
    } else {
        ToggleCheck(id, event.IsChecked());
    }
    // Prompts, choosers and the upload's disabled buttons leave the focus
    // nowhere in particular; the user goes on from the menu's button.
    if (menuOpenedFrom_ < menuButtons_.size()) menuButtons_[menuOpenedFrom_]->SetFocus();
}

bool PostComposerDialog::EnsureSession() {
    if (!token_.empty() || !cookies_.empty()) return true;
    return loginCallback_ && loginCallback_(token_, cookies_);
}

void PostComposerDialog::InsertLink() {
    const wxString caption = U8("插入链接");
    const std::optional<wxString> url = AskText(this, U8("请输入链接地址。"), caption, wxString());
    if (!url) return;
    const wxString address = TrimmedText(*url);
    if (address.empty()) {
        ShowNoticeBox(this, U8("链接地址不能为空。"));
        return;
    }
    const std::optional<wxString> desc = AskText(this, U8("请输入链接描述。"), caption, wxString());
    if (!desc) return;
    model_.Values().linkList.push_back(LinkItem{address, LinkDescription(*desc)});
    Added(U8("链接已加入发帖内容。"));
}

void PostComposerDialog::Added(const wxString& notice) {
    const bool switched = ApplyResourceModeRule(model_.Values(), model_.MemberSection());
    Refresh();
    ShowNoticeBox(this, notice);
    // The notice speaks for the entry; the mode it switched on is news too.
    if (switched) a11y::Announce(this, StoreCheckItem(composer_menu::kResourceMode, true, model_.Values()));
}

void PostComposerDialog::AskValue(int id) {
    const std::optional<ValuePrompt> prompt = PromptFor(id);
    if (!prompt) return;
    std::optional<wxString> answer;
    if (prompt->kind == PromptKind::Number)
        answer = AskNumber(this, *prompt, PromptInitialNumber(*prompt, model_.Values()));
    else
        answer = AskText(this, prompt->message, prompt->caption, PromptInitialText(*prompt, model_.Values()),
                         prompt->kind == PromptKind::MultiLineText);
    if (!answer) return;
    const PromptOutcome outcome = StorePromptAnswer(*prompt, *answer, model_.Values());
    if (!outcome.stored) {
        ShowErrorBox(this, prompt->caption, outcome.error);
        return;
    }
    Refresh();
    // The summary changed away from the focus, which is back on the button.
    a11y::Announce(this, outcome.announcement);
}

void PostComposerDialog::ToggleCheck(int id, bool checked) {
    const wxString said = StoreCheckItem(id, checked, model_.Values());
    if (said.empty()) return;
    Refresh();
    a11y::Announce(this, said);
}

#include "posts/post_commands.h"

#include "api/api_client.h"
#include "ui/request_forms.h"
#include "platform/accessibility.h"
#include "platform/http_cancel.h"
#include "ui/message_box.h"

#include <wx/choicdlg.h>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/textdlg.h>

namespace {

wxString U8(const char* text) { return wxString::FromUTF8(text); }

}  // namespace

PostCommands::PostCommands(wxDialog* dialog, ApiClient& client, PostCommandState state,
                           PostEditorOpener openEditor)
    : dialog_(dialog), client_(&client), state_(state), openEditor_(std::move(openEditor)) {}

bool PostCommands::Refresh() {
    if (state_.token.empty() && state_.cookies.empty()) {
        state_.managerFlag = false;
        reloggedIn_ = false;
        return true;
    }
    // Both requests in one wait: the window keeps answering, says after a
    // second that it waits, and Escape stops them, leaving everything as
    // it was.
    struct Fresh {
        PostDetailResult post;
        ManagerCheck manager;
        bool cancelled = false;
    };
    const Fresh fresh = RunBusy([&] {
        Fresh out;
        out.post = client_->GetPostWithSession(state_.post.id, state_.token, state_.cookies);
        const int32_t sectionId = out.post.ok ? out.post.detail.sectionId : state_.post.sectionId;
        if (!platform::CancelRequested())
            out.manager = client_->CheckSectionManager(state_.token, state_.cookies, sectionId);
        out.cancelled = platform::CancelRequested();
        return out;
    });
    if (fresh.cancelled) return false;
    state_.managerFlag = false;
    reloggedIn_ = false;
    if (fresh.post.ok) state_.post = fresh.post.detail;
    if (fresh.manager.answered) state_.managerFlag = fresh.manager.isManager;
    return true;
}

std::vector<PostMenuItem> PostCommands::MenuItems() const {
    return BuildPostMenu(state_.post, state_.managerFlag, state_.allowOnlyOp);
}

void PostCommands::OpenMenu(wxWindow* button) {
    // Stopped with Escape (or by closing the window): no menu.
    if (!Refresh()) return;
    wxMenu menu;
    for (const PostMenuItem& item : MenuItems()) {
        if (item.id == postcmd::kSeparator) menu.AppendSeparator();
        else menu.Append(item.id, item.label);
    }
    const wxPoint at = button ? button->GetPosition() + wxPoint(0, button->GetSize().y) : wxDefaultPosition;
    // The chosen item comes back as a menu event to the dialog, which
    // hands it to Run.
    dialog_->PopupMenu(&menu, at);
}

bool PostCommands::EnsureSession() {
    auto askOpener = [this] {
        if (!state_.loginCallback) return false;
        return state_.loginCallback(state_.token, state_.cookies);
    };
    if (state_.token.empty() && state_.cookies.empty()) return askOpener();
    const UserInfo profile = RunBusy([&] { return client_->GetUserProfile(state_.token, state_.cookies); });
    if (profile.ok) return true;
    if (profile.sessionExpired) {
        state_.token.clear();
        state_.cookies.clear();
        state_.managerFlag = false;
        const bool back = askOpener();
        reloggedIn_ = back;
        return back;
    }
    ShowErrorBox(dialog_, U8("验证登录状态失败"), profile.error);
    return false;
}

void PostCommands::ShowResultBox(const ApiResult& result, const wxString& successText, bool end, int endCode) {
    if (!result.success) {
        ShowErrorBox(dialog_, U8("操作失败"), ResultFailureText(result));
        return;
    }
    ShowNoticeBox(dialog_, successText);
    if (end) EndDialog(endCode);
}

void PostCommands::EndDialog(int code) {
    dialog_->SetReturnCode(code);
    if (dialog_->IsModal()) dialog_->EndModal(code);
    else dialog_->Hide();
}

void PostCommands::Run(int id) {
    const PostCommandPlan plan = PlanPostCommand(id, state_.post);
    if (plan.id == 0) return;
    if (plan.need == CommandNeed::Nothing) {
        EndDialog(plan.endCode);
        return;
    }
    if (plan.needsAuthor && state_.post.userId == 0) {
        ShowNoticeBox(dialog_, UnknownAuthorText());
        return;
    }
    reloggedIn_ = false;
    const bool signedIn = EnsureSession();
    if (!CommandAllowed(plan.need, signedIn, state_.post.isOwner, state_.managerFlag)) {
        // A new login has not asked the server for the manager right yet:
        // say so rather than ending without a word.
        if (signedIn && reloggedIn_) ShowNoticeBox(dialog_, ReopenMenuText());
        return;
    }
    if (id == postcmd::kEdit) {
        Edit();
        return;
    }
    CommandInputValue value;
    if (!AskInput(plan, value)) return;
    const ApiResult result = RunBusy([&] {
        return SendPostCommand(*client_, state_.token, state_.cookies, state_.post, id, value);
    });
    ShowResultBox(result, plan.successText, plan.endCode != 0, plan.endCode);
}

bool PostCommands::AskInput(const PostCommandPlan& plan, CommandInputValue& value) {
    switch (plan.input) {
    case CommandInput::None:
        return true;
    case CommandInput::Question:
    case CommandInput::WarningQuestion:
        return AskConfirmation(dialog_, plan.message, plan.caption,
                               plan.input == CommandInput::WarningQuestion ? wxICON_WARNING : wxICON_QUESTION);
    case CommandInput::Text: {
        wxTextEntryDialog prompt(dialog_, plan.message, plan.caption, wxString(), wxOK | wxCANCEL | wxCENTRE);
        SetOkCancelLabels(&prompt, OkLabel(), CancelLabel());
        a11y::NamePromptField(&prompt, plan.message);
        if (prompt.ShowModal() != wxID_OK) return false;
        value.text = prompt.GetValue();
        value.text.Trim(true).Trim(false);
        if (value.text.empty()) {
            ShowNoticeBox(dialog_, plan.emptyNotice);
            return false;
        }
        return true;
    }
    case CommandInput::Section: {
        const std::optional<int32_t> section = ChooseSection(plan);
        if (!section) return false;
        value.sectionId = *section;
        return true;
    }
    }
    return false;
}

std::optional<int32_t> PostCommands::ChooseSection(const PostCommandPlan& plan) {
    const std::vector<SectionInfo>& sections = state_.sections;
    if (sections.empty()) {
        ShowNoticeBox(dialog_, plan.emptyNotice);
        return std::nullopt;
    }
    wxArrayString names;
    for (const SectionInfo& s : sections) names.Add(s.name);
    wxSingleChoiceDialog choice(dialog_, plan.message, plan.caption, names);
    const int current = SectionIndex(sections, state_.post.sectionId);
    if (current >= 0) choice.SetSelection(current);
    SetOkCancelLabels(&choice, OkLabel(), CancelLabel());
    a11y::NamePromptField(&choice, plan.message);
    if (choice.ShowModal() != wxID_OK) return std::nullopt;
    const int chosen = choice.GetSelection();
    if (chosen < 0 || chosen >= static_cast<int>(sections.size())) return std::nullopt;
    return sections[static_cast<size_t>(chosen)].id;
}

void PostCommands::Edit() {
    const PostDetailResult editable = RunBusy([&] {
        PostDetailResult r = client_->GetPostWithSession(state_.post.id, state_.token, state_.cookies);
        if (state_.managerFlag) r = client_->GetManagedPost(state_.post.id, state_.token, state_.cookies);
        return r;
    });
    if (!editable.ok) {
        ShowErrorBox(dialog_, U8("获取可编辑帖子失败"), editable.error);
        return;
    }
    if (openEditor_ && openEditor_(dialog_, editable.detail, state_.managerFlag)) EndDialog(RESULT_POST_CHANGED);
}

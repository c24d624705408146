// Sending the reply box: to the post, or to the floor the dialog was
// opened for.
#include "posts/post_detail_dialog.h"

#include "api/api_client.h"
#include "posts/draft_keeper.h"
#include "ui/call_guard.h"
#include "ui/request_forms.h"
#include "ui/message_box.h"

#include <wx/button.h>
#include <wx/textctrl.h>

void PostDetailDialog::OnSendReply(wxCommandEvent&) {
    const wxString text = replyBox_->GetValue();
    if (const std::optional<wxString> problem = ReplyProblem(post_, text)) {
        ShowNoticeBox(this, *problem);
        if (!post_.isReply || post_.replyForbidden != 0) return;
        replyBox_->SetFocus();
        return;
    }
    if (token_.empty() && cookies_.empty()) {
        if (!loginCallback_ || !loginCallback_(token_, cookies_)) return;
    }
    wxString trimmed = text;
    trimmed.Trim(true).Trim(false);
    ApiResult result;
    {
        // The button is kept from a second press, and keeps the focus.
        bool busy = false;
        CallGuard guard(busy, {FindWindow(wxID_OK)});
        result = RunBusy([&] {
            return client_->CreateReply(token_, cookies_, post_.id, trimmed,
                                        replyTarget_ ? replyTarget_->replyId : 0, replyTarget_.has_value());
        });
    }
    if (!result.success) {
        ShowErrorBox(this, wxString::FromUTF8("发送回复失败"), result.message);
        return;
    }
    replyDraft_->Discard();
    ShowNoticeBox(this, wxString::FromUTF8("回复发送成功。"));
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

void PostDetailDialog::KeepReplyDraft() {
    replyDraft_ = std::make_unique<DraftKeeper>(
        PostDrafts::ReplyName(post_.id),
        [this](const PostDrafts& drafts, const wxString& name) { return drafts.Save(name, replyBox_->GetValue()); },
        [this] { return IsReplyBlank(replyBox_->GetValue()); });
    replyBox_->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        replyDraft_->Changed();
        event.Skip();
    });
    // Offered while the window opens, before the user starts typing.
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
        wxString text;
        auto load = [&text](const PostDrafts& drafts, const wxString& name) { return drafts.Load(name, text); };
        if (replyDraft_->Offer(this, load)) replyBox_->ChangeValue(text);
        event.Skip();
    });
}

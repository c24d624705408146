// Sending the reply box: to the post, or to the floor the dialog was
// opened for.
#include "posts/post_detail_dialog.h"

#include "api/api_client.h"
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
    wxWindow* send = FindWindow(wxID_OK);
    send->Disable();
    const ApiResult result = RunBusy([&] {
        return client_->CreateReply(token_, cookies_, post_.id, trimmed, replyTarget_ ? replyTarget_->replyId : 0,
                                    replyTarget_.has_value());
    });
    send->Enable();
    if (!result.success) {
        ShowErrorBox(this, wxString::FromUTF8("发送回复失败"), result.message);
        return;
    }
    ShowNoticeBox(this, wxString::FromUTF8("回复发送成功。"));
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

// The dialog's key hook and its ways of closing.
#include "posts/post_detail_dialog.h"

#include "posts/dialog_exit.h"
#include "posts/draft_keeper.h"

#include "ui/cue.h"
#include "ui/message_box.h"

#include <wx/listbox.h>
#include <wx/textctrl.h>

void PostDetailDialog::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (event.ControlDown()) {
        switch (key) {
            case WXK_UP: StepVolume(0.05f); return;
            case WXK_DOWN: StepVolume(-0.05f); return;
            case WXK_LEFT: Seek(-5.0); return;
            case WXK_RIGHT: Seek(5.0); return;
            default: break;
        }
    }
    if (key == WXK_BACK) {
        if (BackspaceEditsText()) {
            event.Skip();
            return;
        }
        CloseWithCue();
        return;
    }
    if (key == WXK_ESCAPE) {
        CloseWithCue();
        return;
    }
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && platform::HasFocusInItsWindow(mediaList_) && mediaList_->IsEnabled()) {
        PlaySelected(false);
        return;
    }
    event.Skip();
}

bool PostDetailDialog::BackspaceEditsText() const {
    // The reply box is checked last: it wins if both claim the focus.
    return post_dialogs::BackspaceEditsText({replyBox_, contentBox_});
}

bool PostDetailDialog::ConfirmLeave() {
    const bool leave = IsReplyBlank(replyBox_->GetValue()) ||
                       AskConfirmation(this, wxString::FromUTF8("当前有回复内容未发送，确定返回吗？"),
                                       wxString::FromUTF8("未保存内容"));
    // Leaving with the user's consent gives the draft up too.
    if (leave) replyDraft_->Discard();
    return leave;
}

void PostDetailDialog::CloseWithCue() {
    if (!ConfirmLeave()) return;
    post_dialogs::LeaveWithCue(*this);
    EndDialog(wxID_CANCEL);
}

void PostDetailDialog::OnClose(wxCloseEvent& event) {
    if (!post_dialogs::MayClose(event, ConfirmLeave())) return;
    post_dialogs::LeaveWithCue(*this);
    EndDialog(wxID_CANCEL);
}

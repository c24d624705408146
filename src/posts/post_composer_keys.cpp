// The composer's key hook and its ways of closing: every way out asks
// before typed text or attached files are dropped.
#include "posts/post_composer_dialog.h"

#include "posts/dialog_exit.h"
#include "posts/draft_keeper.h"
#include "ui/message_box.h"

#include <wx/textctrl.h>

void PostComposerDialog::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_BACK && BackspaceEditsText()) {
        event.Skip();
        return;
    }
    if (key == WXK_BACK || key == WXK_ESCAPE) {
        CloseWithCue();
        return;
    }
    event.Skip();
}

bool PostComposerDialog::BackspaceEditsText() const {
    return post_dialogs::BackspaceEditsText({titleBox_, contentBox_, summaryBox_});
}

bool PostComposerDialog::ConfirmLeave() {
    const bool leave = !model_.HasUnsavedContent(titleBox_->GetValue(), contentBox_->GetValue()) ||
                       AskConfirmation(this, wxString::FromUTF8("当前有帖子内容未保存，确定返回吗？"),
                                       wxString::FromUTF8("未保存内容"));
    // Leaving with the user's consent gives the draft up too.
    if (leave) draft_->Discard();
    return leave;
}

void PostComposerDialog::CloseWithCue() {
    if (busy_ || !ConfirmLeave()) return;
    post_dialogs::LeaveWithCue(*this);
    EndDialog(wxID_CANCEL);
}

void PostComposerDialog::OnClose(wxCloseEvent& event) {
    // The close box reaches the dialog even while a call runs (keys do
    // not); asking then would open a question under the running call.
    if (busy_ && event.CanVeto()) {
        event.Veto();
        return;
    }
    if (!post_dialogs::MayClose(event, ConfirmLeave())) return;
    post_dialogs::LeaveWithCue(*this);
    EndDialog(wxID_CANCEL);
}

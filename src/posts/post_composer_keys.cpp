// The composer's key hook and its ways of closing: every way out asks
// before typed text or attached files are dropped.
#include "posts/post_composer_dialog.h"

#include "music/cue.h"
#include "platform/window_focus.h"
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
    for (wxTextCtrl* box : {titleBox_, contentBox_, summaryBox_}) {
        if (!platform::HasFocusInItsWindow(box)) continue;
        if (!box->IsEditable()) return false;
        long from = 0, to = 0;
        box->GetSelection(&from, &to);
        return from != to || box->GetInsertionPoint() > 0;
    }
    return false;
}

bool PostComposerDialog::ConfirmLeave() {
    if (!model_.HasUnsavedContent(titleBox_->GetValue(), contentBox_->GetValue())) return true;
    return AskConfirmation(this, wxString::FromUTF8("当前有帖子内容未保存，确定返回吗？"),
                           wxString::FromUTF8("未保存内容"));
}

void PostComposerDialog::CloseWithCue() {
    if (!ConfirmLeave()) return;
    PlayCue(wxS("fh.wav"), false);
    SetReturnCode(wxID_CANCEL);
    EndDialog(wxID_CANCEL);
}

void PostComposerDialog::OnClose(wxCloseEvent& event) {
    if (!ConfirmLeave() && event.CanVeto()) {
        event.Veto();
        return;
    }
    // Ended here: the toolkit's own close handling would press "取消",
    // which asks the question a second time.
    PlayCue(wxS("fh.wav"), false);
    SetReturnCode(wxID_CANCEL);
    EndDialog(wxID_CANCEL);
}

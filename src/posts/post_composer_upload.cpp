// Uploading images, audio, videos (with their covers) and attachments from
// the "插入" menu. Each upload is a blocking server call that Escape
// cancels; the status line shows how far it has gone.
#include "posts/post_composer_dialog.h"

#include "api/api_client.h"
#include "ui/request_forms.h"
#include "platform/accessibility.h"
#include "posts/composer_inserts.h"
#include "posts/upload_status_line.h"
#include "ui/call_guard.h"
#include "ui/file_wildcard.h"
#include "ui/message_box.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>

namespace {

wxString U8(const char* text) { return wxString::FromUTF8(text); }

wxString FailureText(const UploadResult& result) {
    if (result.debugInfo.empty()) return result.message;
    return result.message + U8("\n\n调试信息：\n") + result.debugInfo;
}

}  // namespace

std::optional<wxString> PostComposerDialog::ChooseFile(const wxString& caption, const wxString& wildcard) {
    wxFileDialog chooser(this, caption, wxString(), wxString(), FileChooserWildcard(wildcard),
                         wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (chooser.ShowModal() != wxID_OK) return std::nullopt;
    return chooser.GetPath();
}

UploadResult PostComposerDialog::SendFile(const wxString& path, UploadKind kind) {
    CallGuard guard(busy_, {submitButton_, menuButtons_[0], menuButtons_[1], menuButtons_[2]});
    UploadStatusLine status(this);
    const UploadProgress progress = status.Progress();
    return RunBusy([&] { return client_->UploadFile(token_, cookies_, path, kind, progress); });
}

void PostComposerDialog::Upload(int id) {
    const std::optional<UploadRow> row = UploadRowFor(id);
    if (!row || !EnsureSession()) return;
    const std::optional<wxString> path = ChooseFile(row->caption, row->wildcard);
    if (!path) return;

    const wxString message = U8("请输入显示名称或描述。");
    wxTextEntryDialog namePrompt(this, message, row->caption, wxFileName(*path).GetFullName());
    SetOkCancelLabels(&namePrompt, OkLabel(), CancelLabel());
    a11y::NamePromptField(&namePrompt, message);
    if (namePrompt.ShowModal() != wxID_OK) return;
    const wxString name = TrimmedText(namePrompt.GetValue());

    const UploadResult result = SendFile(*path, row->kind);
    if (!result.ok) {
        ShowErrorBox(this, U8("上传失败"), FailureText(result));
        return;
    }
    AttachmentEntry entry;
    entry.fileId = result.fileId;
    entry.url = result.url;
    entry.name = name;
    entry.localPath = *path;
    if (row->asksCover) {
        const std::optional<int32_t> coverId = AskCover();
        if (!coverId) return;
        entry.coverId = *coverId;
    }
    UploadTarget(model_.Values(), id).push_back(entry);
    Added(UploadAddedText(entry));
}

std::optional<int32_t> PostComposerDialog::AskCover() {
    wxMessageDialog question(this, U8("是否为视频上传封面图片？不上传则封面文件ID为 0。"), U8("视频封面"),
                             wxYES_NO | wxCANCEL | wxYES_DEFAULT | wxICON_QUESTION);
    question.SetYesNoCancelLabels(U8("上传封面"), U8("不上传"), CancelLabel());
    a11y::NameMessageBoxesByCaption();
    const int answer = question.ShowModal();
    if (answer == wxID_NO) return 0;
    // Leaving the question adds nothing: no command takes a listed file out
    // of the post again, so a wrong video, or the same one again after a
    // retry with its cover, could never be removed.
    if (answer != wxID_YES) return std::nullopt;
    const UploadRow cover = CoverUploadRow();
    const std::optional<wxString> path = ChooseFile(cover.caption, cover.wildcard);
    if (!path) return 0;
    const UploadResult result = SendFile(*path, cover.kind);
    if (!result.ok) {
        ShowErrorBox(this, U8("封面上传失败"), FailureText(result));
        return std::nullopt;
    }
    return result.fileId;
}

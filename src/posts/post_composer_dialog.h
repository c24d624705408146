// The window in which a post is written ("发新帖") or edited ("编辑帖子"):
// section, title and body, the insert and price menus, and publishing or
// saving. It ends with wxID_OK when the post was published or saved; the
// opener then reloads. Rules and texts live in PostComposerModel.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <wx/dialog.h>

#include "api/forum_records.h"
#include "api/upload.h"
#include "posts/post_composer_model.h"
#include "posts/post_drafts.h"
#include "posts/post_detail_model.h"

class ApiClient;
class DraftKeeper;
class wxButton;
class wxComboBox;
class wxKeyEvent;
class wxMenu;
class wxStaticText;
class wxTextCtrl;

class PostComposerDialog : public wxDialog {
public:
    // `client` is shared and must outlive the dialog. Without `post` a new
    // post is written; with it that post is edited, and `managerFlag` says
    // the editor saves as the manager of its section.
    PostComposerDialog(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                       const std::vector<SectionInfo>& sections, LoginCallback loginCallback,
                       const std::optional<PostDetail>& post = std::nullopt, bool managerFlag = false);
    ~PostComposerDialog() override;

    const PostComposerModel& Model() const { return model_; }
    wxComboBox* SectionBox() const { return sectionBox_; }
    wxTextCtrl* TitleBox() const { return titleBox_; }
    wxTextCtrl* ContentBox() const { return contentBox_; }
    wxStaticText* SectionHint() const { return sectionHint_; }
    wxTextCtrl* SummaryBox() const { return summaryBox_; }
    wxButton* SubmitButton() const { return submitButton_; }
    // "插入", "发布设置", "会员扩展", and the menus they open.
    const std::vector<wxButton*>& MenuButtons() const { return menuButtons_; }
    wxMenu* Menu(size_t index) const { return menus_.at(index).get(); }
    // Where a menu button pops its menu up: its left edge, just below it.
    wxPoint MenuPosition(size_t index) const;

    // Publishes or saves, as the "发布"/"保存" button does.
    void Publish();
    // What the boxes and values hold, as a draft (saved while typing).
    ComposerDraft CurrentDraft() const;

private:
    void BuildControls();
    void BuildMenus();
    void BindEvents();
    void FillSections();
    void Refresh();
    void RefreshMenus();

    // The menu commands (post_composer_inserts.cpp).
    void OpenMenu(size_t index);
    void OnMenuCommand(wxCommandEvent& event);
    void InsertLink();
    void AskValue(int id);
    void ToggleCheck(int id, bool checked);
    // After a link or file was added: the resource rule, the summary, the notice.
    void Added(const wxString& notice);
    bool EnsureSession();

    // Uploads (post_composer_upload.cpp).
    void Upload(int id);
    std::optional<wxString> ChooseFile(const wxString& caption, const wxString& wildcard);
    UploadResult SendFile(const wxString& path, UploadKind kind);
    // The cover of an uploaded video: its file number, 0 when none ("不上传"
    // or no cover file chosen); nothing when the question was left or the
    // cover failed, and the video is then not added.
    std::optional<int32_t> AskCover();
    void OnSectionChanged(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    bool BackspaceEditsText() const;
    // The unsaved-content question; true when the dialog may close.
    bool ConfirmLeave();
    void CloseWithCue();
    void OnClose(wxCloseEvent& event);
    // A draft of this composer found on opening: restored when the user
    // wants it.
    void OfferDraft();

    ApiClient* client_;
    wxString token_;
    wxString cookies_;
    LoginCallback loginCallback_;
    PostComposerModel model_;

    wxComboBox* sectionBox_ = nullptr;
    wxTextCtrl* titleBox_ = nullptr;
    wxTextCtrl* contentBox_ = nullptr;
    wxStaticText* sectionHint_ = nullptr;
    wxTextCtrl* summaryBox_ = nullptr;
    wxButton* submitButton_ = nullptr;
    std::vector<wxButton*> menuButtons_;
    std::vector<std::unique_ptr<wxMenu>> menus_;
    size_t menuOpenedFrom_ = 0;
    bool busy_ = false;  // a server call runs: the buttons are off, closing waits
    std::unique_ptr<DraftKeeper> draft_;
};

// The two ways openers start the composer; both return the modal result.
int RunNewPostComposer(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                       const std::vector<SectionInfo>& sections, LoginCallback loginCallback);
int RunEditPostComposer(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                        const std::vector<SectionInfo>& sections, LoginCallback loginCallback,
                        const PostDetail& post, bool managerFlag);

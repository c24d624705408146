// The window in which one post is read ("帖子内容"): its header, its audio
// and video sound tracks in a small player, its body, and a reply box.
// Opened modally by the main window and the personal centre; the opener
// acts on the modal result (wxID_OK, wxID_CANCEL, RESULT_ONLY_OP,
// RESULT_POST_CHANGED).
#pragma once

#include "api/forum_records.h"
#include "music/audio_player.h"
#include "posts/post_commands.h"
#include "posts/post_detail_model.h"

#include <wx/dialog.h>
#include <wx/timer.h>

#include <memory>
#include <optional>
#include <vector>

class ApiClient;
class DraftKeeper;
class wxButton;
class wxKeyEvent;
class wxListBox;
class wxStaticText;
class wxTextCtrl;

// Command of the "帖子操作" button; its menu uses 6501–6514.
inline constexpr int ID_POST_ACTIONS = 6500;

class PostDetailDialog : public wxDialog {
public:
    // `client` is shared and must outlive the dialog. `audio` chooses the
    // player's outputs (tests use the null output).
    PostDetailDialog(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                     const std::vector<SectionInfo>& sections, const PostDetail& post,
                     const std::optional<ReplyTarget>& replyTarget, LoginCallback loginCallback,
                     bool allowOnlyOp, AudioEngineOptions audio = {});
    ~PostDetailDialog() override;

    // Plays the selected media line; `force` starts it over even when it is
    // the one already loaded.
    void PlaySelected(bool force);
    void PauseMedia();
    void StopMedia();
    void RefreshStatus();

    const std::vector<MediaEntry>& MediaEntries() const { return mediaEntries_; }
    int LoadedIndex() const { return loadedIndex_; }
    AudioPlayer& Player() { return player_; }
    bool StatusTimerRunning() const { return statusTimer_.IsRunning(); }
    wxListBox* MediaList() const { return mediaList_; }
    wxTextCtrl* ContentBox() const { return contentBox_; }
    wxTextCtrl* ReplyBox() const { return replyBox_; }
    wxStaticText* StatusText() const { return statusText_; }
    wxButton* PlayButton() const { return playButton_; }
    wxButton* PauseButton() const { return pauseButton_; }
    wxButton* StopButton() const { return stopButton_; }
    PostCommands& Commands() { return *commands_; }
    bool ManagerFlag() const { return managerFlag_; }
    const PostDetail& Post() const { return post_; }

private:
    void BuildControls();
    void BindEvents();
    void SetInitialFocus();
    void OnCharHook(wxKeyEvent& event);
    bool BackspaceEditsText() const;
    // The unsent-reply question; true when the dialog may close.
    bool ConfirmLeave();
    void CloseWithCue();
    void OnClose(wxCloseEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnPlayerNotice(AudioPlayer::Notice notice);
    void StepVolume(float step);
    void Seek(double seconds);
    // The "帖子操作" menu (post_commands_dialog.cpp).
    void OnPostActions(wxCommandEvent& event);
    std::unique_ptr<PostCommands> MakePostCommands();
    // Sends the reply box's text to the post or the target floor
    // (post_detail_reply.cpp); ends the dialog with wxID_OK when sent.
    void OnSendReply(wxCommandEvent& event);

    ApiClient* client_;
    wxString token_;
    wxString cookies_;
    std::vector<SectionInfo> sections_;
    PostDetail post_;
    std::optional<ReplyTarget> replyTarget_;
    LoginCallback loginCallback_;
    bool allowOnlyOp_;
    bool managerFlag_ = false;
    std::vector<MediaEntry> mediaEntries_;
    AudioPlayer player_;
    int loadedIndex_ = -1;
    wxTimer statusTimer_;
    std::unique_ptr<PostCommands> commands_;
    // The reply box's draft, per post (post_detail_reply.cpp).
    std::unique_ptr<DraftKeeper> replyDraft_;
    void KeepReplyDraft();

    wxListBox* mediaList_ = nullptr;
    wxStaticText* statusText_ = nullptr;
    wxButton* playButton_ = nullptr;
    wxButton* pauseButton_ = nullptr;
    wxButton* stopButton_ = nullptr;
    wxTextCtrl* contentBox_ = nullptr;
    wxTextCtrl* replyBox_ = nullptr;
};

#include "posts/post_detail_dialog.h"

#include "posts/draft_keeper.h"
#include "ui/cue.h"
#include "platform/accessibility.h"
#include "ui/look.h"
#include "ui/message_box.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// Queued from mpv's thread whenever the player has news; drained here on
// the UI thread.
wxDEFINE_EVENT(EVT_POST_PLAYER_WAKE, wxThreadEvent);

constexpr int kStatusPeriodMs = 500;

wxString U8(const char* text) { return wxString::FromUTF8(text); }

wxStaticText* AddText(wxWindow* parent, wxSizer* column, const char* text, void (*style)(wxStaticText*),
                      int flags, int border) {
    auto* label = new wxStaticText(parent, wxID_ANY, U8(text));
    style(label);
    column->Add(label, 0, flags, border);
    return label;
}

void Name(wxWindow* control, const char* name, const char* help) {
    control->SetName(U8(name));
    control->SetHelpText(U8(help));
    a11y::ExposeNameAndHelp(control);
}

}  // namespace

PostDetailDialog::PostDetailDialog(wxWindow* parent, ApiClient& client, const wxString& token,
                                   const wxString& cookies, const std::vector<SectionInfo>& sections,
                                   const PostDetail& post, const std::optional<ReplyTarget>& replyTarget,
                                   LoginCallback loginCallback, bool allowOnlyOp, AudioEngineOptions audio)
    : wxDialog(parent, wxID_ANY, U8("帖子内容"), wxDefaultPosition, wxSize(760, 620),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      client_(&client),
      token_(token),
      cookies_(cookies),
      sections_(sections),
      post_(post),
      replyTarget_(replyTarget),
      loginCallback_(std::move(loginCallback)),
      allowOnlyOp_(allowOnlyOp),
      player_(std::move(audio), [this] { wxQueueEvent(this, new wxThreadEvent(EVT_POST_PLAYER_WAKE)); }),
      statusTimer_(this) {
    StyleDialog(this);
    a11y::ExposeAsDialog(this);
    mediaEntries_ = BuildMediaEntries(post_);
    BuildControls();
    commands_ = MakePostCommands();
    BindEvents();
    KeepReplyDraft();
    SetInitialFocus();
    RefreshStatus();
    CentreOnParent(wxBOTH);
}

PostDetailDialog::~PostDetailDialog() {
    replyDraft_.reset();  // a pending change is saved while the box exists
    statusTimer_.Stop();
    player_.Stop();
    player_.Release();
}

void PostDetailDialog::BuildControls() {
    auto* column = new wxBoxSizer(wxVERTICAL);
    AddText(this, column, "查看楼主", StyleHeading, wxLEFT | wxRIGHT | wxTOP, 14);
    auto* header = new wxStaticText(this, wxID_ANY, PostHeaderText(post_));
    StyleHint(header);
    column->Add(header, 0, wxALL | wxEXPAND, 12);
    AddText(this, column, "帖子媒体", StyleFieldLabel, wxLEFT | wxRIGHT, 12);

    mediaList_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(-1, 110), 0, nullptr, wxLB_SINGLE);
    StyleList(mediaList_);
    Name(mediaList_, "帖子媒体列表", "按回车播放所选媒体。");
    column->Add(mediaList_, 0, wxALL | wxEXPAND, 12);

    AddText(this, column, "播放快捷键：Ctrl+上/下 调整音量，Ctrl+左/右 快退快进 5 秒，媒体列表上按回车播放。",
            StyleHint, wxLEFT | wxRIGHT, 12);
    statusText_ = AddText(this, column, "播放状态：未开始", StyleHint, wxALL | wxEXPAND, 12);

    auto* playerRow = new wxBoxSizer(wxHORIZONTAL);
    playButton_ = new wxButton(this, wxID_ANY, U8("播放"));
    StylePrimaryButton(playButton_);
    pauseButton_ = new wxButton(this, wxID_ANY, U8("暂停"));
    StyleSecondaryButton(pauseButton_);
    stopButton_ = new wxButton(this, wxID_ANY, U8("停止"));
    StyleSecondaryButton(stopButton_);
    playerRow->Add(playButton_, 0, wxRIGHT, 8);
    playerRow->Add(pauseButton_, 0, wxRIGHT, 8);
    playerRow->Add(stopButton_, 0);
    column->Add(playerRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 12);

    AddText(this, column, "帖子内容", StyleFieldLabel, wxLEFT | wxRIGHT, 12);
    contentBox_ = new wxTextCtrl(this, wxID_ANY, post_.body, wxDefaultPosition, wxSize(-1, 300),
                                 wxTE_MULTILINE | wxTE_READONLY | wxTE_RICH2);
    StyleTextBox(contentBox_, true);
    Name(contentBox_, "帖子内容框", "帖子正文，只读。");
    a11y::OpenAtStart(contentBox_);
    column->Add(contentBox_, 1, wxALL | wxEXPAND, 12);

    auto* target = new wxStaticText(this, wxID_ANY, ReplyTargetText(replyTarget_));
    StyleHint(target);
    column->Add(target, 0, wxLEFT | wxRIGHT, 12);
    AddText(this, column, "回帖输入框", StyleFieldLabel, wxLEFT | wxRIGHT | wxTOP, 12);
    replyBox_ = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(-1, 140),
                               wxTE_MULTILINE | wxTE_RICH2);
    StyleTextBox(replyBox_, false);
    Name(replyBox_, "回帖输入框", "在这里写回复，写完按发送回复。");
    column->Add(replyBox_, 0, wxALL | wxEXPAND, 12);

    auto* actionRow = new wxBoxSizer(wxHORIZONTAL);
    auto* actions = new wxButton(this, ID_POST_ACTIONS, U8("帖子操作"));
    StyleSecondaryButton(actions);
    auto* send = new wxButton(this, wxID_OK, U8("发送回复"));
    StylePrimaryButton(send);
    auto* close = new wxButton(this, wxID_CANCEL, U8("关闭"));
    StyleSecondaryButton(close);
    actionRow->Add(actions, 0, wxRIGHT, 8);
    actionRow->Add(send, 0, wxRIGHT, 8);
    actionRow->Add(close, 0);
    column->Add(actionRow, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);

    if (mediaEntries_.empty()) {
        mediaList_->Append(U8("当前帖子没有可播放的音频或视频音轨"));
        mediaList_->Disable();
        playButton_->Disable();
        pauseButton_->Disable();
        stopButton_->Disable();
    } else {
        for (const MediaEntry& entry : mediaEntries_) mediaList_->Append(entry.displayText);
        mediaList_->SetSelection(0);
    }

    SetSizer(column);
    column->Fit(this);
    SetMinSize(wxSize(720, 680));
    wxSize size = GetSize();
    size.IncTo(wxSize(720, 680));
    SetSize(size);
}

void PostDetailDialog::BindEvents() {
    playButton_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { PlaySelected(false); });
    pauseButton_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { PauseMedia(); });
    stopButton_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { StopMedia(); });
    // wxGTK's list box turns Enter into an activation before any key hook
    // sees it; a double click plays the same way.
    mediaList_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { PlaySelected(false); });
    Bind(wxEVT_BUTTON, &PostDetailDialog::OnPostActions, this, ID_POST_ACTIONS);
    Bind(wxEVT_MENU, [this](wxCommandEvent& e) { commands_->Run(e.GetId()); }, postcmd::kReport, postcmd::kBan);
    Bind(wxEVT_BUTTON, &PostDetailDialog::OnSendReply, this, wxID_OK);
    // "关闭" asks before an unsent reply is dropped, like every other way out.
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { CloseWithCue(); }, wxID_CANCEL);
    Bind(wxEVT_CHAR_HOOK, &PostDetailDialog::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &PostDetailDialog::OnClose, this);
    Bind(wxEVT_TIMER, &PostDetailDialog::OnTimer, this, statusTimer_.GetId());
    Bind(EVT_POST_PLAYER_WAKE, [this](wxThreadEvent&) { player_.DrainEvents(); });
    player_.SetNoticeHandler([this](AudioPlayer::Notice n) { OnPlayerNotice(n); });
}

void PostDetailDialog::SetInitialFocus() {
    if (!mediaEntries_.empty()) {
        mediaList_->SetFocus();
    } else if (replyTarget_) {
        replyBox_->SetFocus();
    } else {
        contentBox_->SetFocus();
    }
}

void PostDetailDialog::PlaySelected(bool force) {
    if (!mediaList_->IsEnabled()) return;
    const int selection = mediaList_->GetSelection();
    if (selection < 0 || selection >= static_cast<int>(mediaEntries_.size())) {
        ShowNoticeBox(this, U8("请选择要播放的媒体。"));
        return;
    }
    const MediaEntry& entry = mediaEntries_[static_cast<size_t>(selection)];
    const bool reload = selection != loadedIndex_ || player_.GetSource() != entry.url;
    if (reload) {
        if (!player_.OpenUrl(entry.url)) {
            ShowErrorBox(this, U8("播放失败"), player_.GetLastError());
            RefreshStatus();
            return;
        }
        loadedIndex_ = selection;
    }
    if (player_.Play(force || reload)) {
        statusTimer_.Start(kStatusPeriodMs);
    } else {
        ShowErrorBox(this, U8("播放失败"), player_.GetLastError());
    }
    RefreshStatus();
}

void PostDetailDialog::PauseMedia() {
    if (player_.Pause()) {
        RefreshStatus();
    } else {
        ShowErrorBox(this, U8("暂停失败"), player_.GetLastError());
    }
}

void PostDetailDialog::StopMedia() {
    player_.Stop();
    statusTimer_.Stop();
    RefreshStatus();
}

void PostDetailDialog::RefreshStatus() {
    PlaybackSnapshot s;
    s.hasMedia = player_.HasMedia();
    s.playing = player_.IsPlaying();
    s.paused = player_.IsPaused();
    s.volume = player_.GetVolume();
    s.position = player_.GetPosition();
    s.length = player_.GetLength();
    // The timer refreshes twice a second while the clock moves once; an
    // unchanged text is not set again (no relayout, nothing re-announced).
    const wxString text = FormatPlaybackStatus(s);
    if (text != statusText_->GetLabel()) statusText_->SetLabel(text);
}

void PostDetailDialog::OnTimer(wxTimerEvent&) {
    if (!player_.IsPlaying()) statusTimer_.Stop();
    RefreshStatus();
}

void PostDetailDialog::OnPlayerNotice(AudioPlayer::Notice notice) {
    if (notice == AudioPlayer::Notice::MediaFailed) {
        // A URL that could not be loaded is only known once mpv gives up; the
        // box waits until the event that told us has been handled.
        statusTimer_.Stop();
        loadedIndex_ = -1;  // the stream that was opened is gone
        CallAfter([this] { ShowErrorBox(this, U8("播放失败"), player_.GetLastError()); });
    } else if (player_.IsPlaying() && !statusTimer_.IsRunning()) {
        // A stream that started after the first tick had given up on it.
        statusTimer_.Start(kStatusPeriodMs);
    }
    RefreshStatus();
}

void PostDetailDialog::StepVolume(float step) {
    player_.SetVolume(player_.GetVolume() + step);
    RefreshStatus();
}

void PostDetailDialog::Seek(double seconds) {
    if (player_.SeekBy(seconds)) RefreshStatus();
}


// The main window's answers to the music controller: the list and its
// label, the status bar (also for screen readers), the message boxes and
// file dialogs, the status timer and the global hotkeys.
#include "app/main_frame_music.h"

#include "app/main_frame.h"
#include "ui/request_wait.h"
#include "ui/cue.h"
#include "music/music_commands.h"
#include "platform/accessibility.h"
#include "platform/hotkeys.h"
#include "ui/file_wildcard.h"
#include "ui/message_box.h"
#include "ui/window_closer.h"

#include <wx/arrstr.h>
#include <wx/combobox.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>

namespace {

wxString U(const char* s) { return wxString::FromUTF8(s); }

// Counts a modal dialog of ours while it is open.
class DialogScope {
public:
    explicit DialogScope(int& open) : open_(open) { ++open_; }
    ~DialogScope() { --open_; }
    DialogScope(const DialogScope&) = delete;
    DialogScope& operator=(const DialogScope&) = delete;

private:
    int& open_;
};

const char* const kAudioWildcard =
    "音频文件 (*.mp3;*.wav;*.flac;*.m4a;*.aac;*.ogg;*.wma)|*.mp3;*.wav;*.flac;*.m4a;*.aac;*.ogg;*.wma|"
    "所有文件 (*.*)|*.*";

// How a hotkey's combination is written for the user, e.g. "Ctrl+Shift+PageDown".
wxString HotkeyLabel(int modifiers, int keyCode) {
    wxString label;
    if (modifiers & HotkeyCtrl) label += "Ctrl+";
    if (modifiers & HotkeyShift) label += "Shift+";
    switch (keyCode) {
    case WXK_LEFT: return label + U("左");
    case WXK_RIGHT: return label + U("右");
    case WXK_UP: return label + U("上");
    case WXK_DOWN: return label + U("下");
    case WXK_HOME: return label + "Home";
    case WXK_END: return label + "End";
    case WXK_PAGEUP: return label + "PageUp";
    case WXK_PAGEDOWN: return label + "PageDown";
    default: return label + wxString(static_cast<wxChar>(keyCode)).Upper();
    }
}

}  // namespace

MainFrameMusic::MainFrameMusic(MainFrame& frame)
    : frame_(frame),
      // mpv wakes us on its own thread: only queue a call, never touch it there.
      audio_(AudioEngineOptions{}, [this] { frame_.CallAfter([this] { audio_.DrainEvents(); }); }),
      controller_(library_, playback_, *this, settings_),
      hotkeys_([this](int id) { frame_.OnGlobalHotkey(id); }),
      mpris_(controller_, library_, playback_,
             {[this] {
                  if (!frame_.IsShown()) frame_.ToggleWindowShown();
                  else frame_.Raise();
              },
              // Closed from the event loop, not from inside the bus call (the
              // window's teardown also ends the service that is answering),
              // and after a call being waited for has been cancelled.
              [this] { window_closer::RequestClose(&frame_); }}) {
    audio_.SetNoticeHandler([this](AudioPlayer::Notice notice) { OnPlayerNotice(notice); });
    mediaControls_ = platform::MprisService::Start({"quillery", "澄川论坛", "quillery"}, mpris_);
}

MainFrameMusic::~MainFrameMusic() {
    mediaControls_.reset();
    // The player goes first, so no wake-up arrives for a window being torn down.
    audio_.SetNoticeHandler({});
    audio_.Release();
}

void MainFrameMusic::OnHotkey(int id) {
    const MusicHotkey* hotkey = FindMusicHotkey(id);
    if (!hotkey) return;
    bool opensDialog = hotkey->command == MusicCommand::ImportAlbum || hotkey->command == MusicCommand::AddFiles;
    // Nor while a server call is awaited: its wait keeps input away from
    // every window, a new dialog too.
    if (opensDialog && (dialogsOpen_ > 0 || RequestWait::Active())) return;
    controller_.HandleHotkey(id);
}

void MainFrameMusic::OnPlayerNotice(AudioPlayer::Notice notice) {
    // A song dropped while playing is handled on the next tick like an
    // ended one, so the user hears why and the next song starts.
    if (notice == AudioPlayer::Notice::MediaFailed) controller_.MediaFailed();
}

bool MainFrameMusic::MusicShown() const { return frame_.IsMusicCategory(); }

void MainFrameMusic::RenderMusicView() {
    // After a song change or a pause only the marked rows differ: rewriting
    // them keeps a list of thousands responsive, and the screen reader is
    // not sent through a refill it would announce.
    if (frame_.mainList->GetCount() == shownRows_.size()) {
        PlayerMarks marks{playback_.IsPlaying(), playback_.IsPaused()};
        if (std::optional<MusicRowUpdate> update = UpdateMusicRows(library_, marks, stamp_)) {
            for (auto& [row, content] : update->rows) {
                MusicRow& shown = shownRows_[static_cast<size_t>(row)];
                if (shown.text != content.text) frame_.mainList->SetString(static_cast<unsigned>(row), content.text);
                shown = std::move(content);
            }
            int select = update->selectRow;
            if (select < static_cast<int>(shownRows_.size()) && frame_.mainList->GetSelection() != select) {
                frame_.mainList->SetSelection(select);
            }
            controller_.UpdateMusicStatus();
            return;
        }
    }
    RefillMusicView();
}

void MainFrameMusic::RefillMusicView() {
    MusicViewRows view = controller_.BuildRows();
    stamp_ = StampMusicView(library_, view);
    shownRows_ = std::move(view.rows);
    frame_.listLabel->SetLabelText(view.label);  // an album folder may be called "A&B"
    wxArrayString items;
    items.reserve(shownRows_.size());
    for (const MusicRow& row : shownRows_) items.Add(row.text);
    frame_.mainList->Set(items);
    if (view.selectRow >= 0 && view.selectRow < static_cast<int>(shownRows_.size())) {
        frame_.mainList->SetSelection(view.selectRow);
    }
    a11y::ListRefilled(frame_.mainList);
    controller_.UpdateMusicStatus();
}

std::optional<MusicRow> MainFrameMusic::SelectedMusicRow() const {
    if (!MusicShown()) return std::nullopt;
    // The list may still hold another view's rows for a moment.
    if (frame_.mainList->GetCount() != shownRows_.size()) return std::nullopt;
    int selected = frame_.mainList->GetSelection();
    if (selected < 0 || selected >= static_cast<int>(shownRows_.size())) return std::nullopt;
    return shownRows_[static_cast<size_t>(selected)];
}

void MainFrameMusic::SetStatus(const wxString& text) { frame_.SetStatusText(text, 0); }

void MainFrameMusic::AnnounceStatus(const wxString& text) {
    wxStatusBar* bar = frame_.GetStatusBar();
    if (!bar) return;
    bar->SetName(text);
    bar->SetHelpText(text);
    a11y::SetAccessibleName(bar, text);
    a11y::SetAccessibleDescription(bar, text);
    a11y::Announce(frame_.mainList, text);
}

void MainFrameMusic::ShowMessage(const wxString& caption, const wxString& message, long style) {
    DialogScope scope(dialogsOpen_);
    ShowMessageBox(&frame_, message, caption, style);
}

bool MainFrameMusic::Confirm(const wxString& caption, const wxString& message) {
    DialogScope scope(dialogsOpen_);
    return AskConfirmation(&frame_, message, caption);
}

std::optional<std::vector<wxString>> MainFrameMusic::ChooseAudioFiles() {
    wxFileDialog dialog(&frame_, U("选择音频文件"), wxString(), wxString(), FileChooserWildcard(U(kAudioWildcard)),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE);
    DialogScope scope(dialogsOpen_);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    wxArrayString paths;
    dialog.GetPaths(paths);
    return std::vector<wxString>(paths.begin(), paths.end());
}

std::optional<wxString> MainFrameMusic::ChooseAlbumFolder() {
    wxDirDialog dialog(&frame_, U("选择音乐文件夹"), wxString(),
                       wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    DialogScope scope(dialogsOpen_);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.GetPath();
}

void MainFrameMusic::PlayCue(const wxString& fileName) { ::PlayCue(fileName, false); }

void MainFrameMusic::StartStatusTimer() { frame_.statusTimer.Start(500, wxTIMER_CONTINUOUS); }

void MainFrameMusic::StopStatusTimer() { frame_.statusTimer.Stop(); }

bool MainFrameMusic::StatusTimerRunning() const { return frame_.statusTimer.IsRunning(); }

void MainFrameMusic::RegisterMusicHotkeys() {
    if (hotkeys_.RegisterAll() < static_cast<int>(MusicHotkeys().size())) ReportMissingHotkeys();
}

void MainFrameMusic::UnregisterMusicHotkeys() { hotkeys_.UnregisterAll(); }

void MainFrameMusic::ToggleWindowShown() { frame_.ToggleWindowShown(); }

void MainFrameMusic::ReportMissingHotkeys() {
    wxString text;
    if (!GlobalHotkeys::Available()) {
        text = U("当前桌面不支持全局热键，全局热键无法使用。");
    } else {
        wxString missing;
        for (const MusicHotkey& hotkey : MusicHotkeys()) {
            if (hotkeys_.IsRegistered(hotkey.id)) continue;
            if (!missing.empty()) missing += U("、");
            missing += HotkeyLabel(hotkey.modifiers, hotkey.keyCode);
        }
        text = wxString::Format(U("以下全局热键已被其他程序占用，暂时无法使用：%s。"), missing);
    }
    // After the view and status refresh that follow a registration (and
    // after start-up), so the line is not overwritten at once.
    frame_.CallAfter([this, text] { SetStatus(text); });
}

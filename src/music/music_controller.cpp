#include "music/music_controller.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <utility>

namespace {

wxString U(const char* s) { return wxString::FromUTF8(s); }

MusicController::RandomBelow SystemRandom()
{
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    return [engine](int n) { return std::uniform_int_distribution<int>(0, n - 1)(*engine); };
}

}  // namespace

MusicController::MusicController(MusicLibrary& library, MusicPlayback& player, MusicHost& host,
                                 const SettingsStore& settings, RandomBelow random)
    : library_(library), player_(player), host_(host), settings_(settings),
      random_(random ? std::move(random) : SystemRandom())
{
}

void MusicController::RebuildLibrary()
{
    library_.Rebuild(LoadMusicSettings(settings_));
    RegisterMusicHotkeys();
}

bool MusicController::SaveMusicSettings()
{
    return ::SaveMusicSettings(settings_, library_.ToSettings());
}

void MusicController::RenderIfShown()
{
    if (host_.MusicShown()) host_.RenderMusicView();
}

void MusicController::StartTimer()
{
    if (!host_.StatusTimerRunning()) host_.StartStatusTimer();
}

void MusicController::StopTimer()
{
    if (host_.StatusTimerRunning()) host_.StopStatusTimer();
}

bool MusicController::PlaySong(int songIndex, int albumIndex)
{
    const Song* song = library_.SongAt(songIndex, albumIndex);
    if (!song) return false;
    if (!library_.IsCurrent(songIndex, albumIndex) || !player_.HasMedia()) {
        if (!player_.OpenFile(song->path)) return false;
    }
    if (!player_.Play(true)) return false;
    library_.SetCurrent(songIndex, albumIndex);
    RefreshDevices();
    StartTimer();
    RenderIfShown();
    return true;
}

int MusicController::NextIndex(int current, int direction, int count)
{
    switch (library_.PlayMode()) {
    case PlayInOrder: return current + direction;
    case PlayRepeatList: return ((current + direction) % count + count) % count;
    case PlayReverse: return current - direction;
    case PlayRandom: {
        if (count == 1) return 0;
        if (current < 0 || current >= count) return random_(count);
        // Draw among the other songs, so the same song never comes twice
        // in a row and no redraw loop is needed.
        int pick = random_(count - 1);
        return pick >= current ? pick + 1 : pick;
    }
    default: return current;  // repeat one, and any unknown mode
    }
}

std::optional<std::pair<int, int>> MusicController::StartPick(int direction) const
{
    std::optional<MusicRow> row = host_.SelectedMusicRow();
    if (row && row->type == MusicRowType::Song) return std::make_pair(row->songIndex, row->albumIndex);
    auto ends = [direction](int albumIndex, int count) {
        return std::make_pair(direction > 0 ? 0 : count - 1, albumIndex);
    };
    if (library_.MusicLevel() == 2 && library_.SongCount(library_.OpenAlbum()) > 0) {
        return ends(library_.OpenAlbum(), library_.SongCount(library_.OpenAlbum()));
    }
    if (!library_.Playlist().empty()) return ends(-1, library_.SongCount(-1));
    for (size_t i = 0; i < library_.Albums().size(); ++i) {
        int count = library_.SongCount(static_cast<int>(i));
        if (count > 0) return ends(static_cast<int>(i), count);
    }
    return std::nullopt;
}

bool MusicController::StepSong(int direction)
{
    if (direction == 0) return false;
    if (library_.HasCurrent()) {
        int albumIndex = library_.CurrentAlbum();
        int count = library_.SongCount(albumIndex);
        if (count < 1) return false;
        int next = NextIndex(library_.CurrentSong(), direction > 0 ? 1 : -1, count);
        if (next < 0 || next >= count) return false;
        return PlaySong(next, albumIndex);
    }
    auto start = StartPick(direction);
    return start && PlaySong(start->first, start->second);
}

void MusicController::StopPlayback()
{
    player_.Stop();
    StopTimer();
    library_.ClearCurrent();
    RenderIfShown();
}

void MusicController::SetPlayMode(int mode)
{
    library_.SetPlayMode(mode);
    SaveMusicSettings();
    UpdateMusicStatus();
}

void MusicController::StartAfterEnd()
{
    bool next = library_.PlayMode() == PlayRepeatOne ? PlaySong(library_.CurrentSong(), library_.CurrentAlbum())
                                                     : StepSong(1);
    if (!next) {
        StopTimer();
        RenderIfShown();
    }
}

void MusicController::OnStatusTick()
{
    const bool failed = std::exchange(mediaFailed_, false);
    const Song* song = library_.CurrentSongRecord();
    if (failed && song && !player_.HasMedia()) {
        // Said after the next song has started (its status would cover it)
        // and announced, since it happens away from what the user is doing.
        const wxString text = wxString::Format(U("《%s》%s。"), song->name, player_.LastError());
        StartAfterEnd();
        host_.SetStatus(text);
        host_.AnnounceStatus(text);
        return;
    }
    if (library_.HasCurrent() && player_.HasMedia() && !player_.IsPlaying() && !player_.IsPaused()) {
        StartAfterEnd();
        return;
    }
    UpdateMusicStatus();
}

MusicViewRows MusicController::BuildRows()
{
    return BuildMusicRows(library_, PlayerMarks{player_.IsPlaying(), player_.IsPaused()});
}

wxString MusicController::MusicStatusText()
{
    RefreshDevices();
    MusicStatus status;
    status.playMode = library_.PlayMode();
    if (currentDevice_ >= 0 && currentDevice_ < static_cast<int>(devices_.size())) {
        status.deviceName = devices_[currentDevice_].name;
    }
    status.song = library_.CurrentSongRecord();
    if (status.song) {
        status.playing = player_.IsPlaying();
        status.paused = player_.IsPaused();
        status.position = player_.GetPosition();
        status.length = player_.GetLength();
    }
    status.hotkeysEnabled = library_.HotkeysEnabled();
    status.musicLevel = library_.MusicLevel();
    return FormatMusicStatus(status);
}

void MusicController::UpdateMusicStatus()
{
    if (host_.MusicShown()) host_.SetStatus(MusicStatusText());
}

void MusicController::RefreshDevices()
{
    devices_ = player_.ListOutputDevices();
    if (devices_.empty()) {
        currentDevice_ = -1;
        return;
    }
    int inUse = player_.GetCurrentDevice();
    if (inUse > 0) {
        auto it = std::find_if(devices_.begin(), devices_.end(),
                               [inUse](const PlaybackDevice& d) { return d.index == inUse; });
        if (it != devices_.end()) {
            currentDevice_ = static_cast<int>(it - devices_.begin());
            return;
        }
    }
    if (currentDevice_ < 0 || currentDevice_ >= static_cast<int>(devices_.size())) currentDevice_ = 0;
}

bool MusicController::SwitchDevice(int step)
{
    RefreshDevices();
    int count = static_cast<int>(devices_.size());
    if (count == 0) {
        host_.SetStatus(U("当前没有可用的播放设备。"));
        return false;
    }
    int from = (currentDevice_ < 0 || currentDevice_ >= count) ? 0 : currentDevice_;
    int to = ((from + step) % count + count) % count;
    if (!player_.SwitchOutputDevice(devices_[to].index)) {
        // The user asked for a change: say that it did not happen and where
        // the sound still goes.
        wxString text = player_.LastError();
        if (!text.EndsWith(U("。"))) text += U("。");
        RefreshDevices();
        if (currentDevice_ >= 0 && currentDevice_ < static_cast<int>(devices_.size())) {
            text += wxString::Format(U("继续使用播放设备：%s。"), devices_[currentDevice_].name);
        }
        host_.SetStatus(text);
        host_.AnnounceStatus(text);
        return false;
    }
    currentDevice_ = to;
    wxString text = wxString::Format(U("已切换播放设备：%s。"), devices_[to].name);
    UpdateMusicStatus();
    host_.SetStatus(text);
    host_.AnnounceStatus(text);
    return true;
}

bool MusicController::StepVolume(double step)
{
    double volume = std::clamp(static_cast<double>(player_.GetVolume()) + step, 0.0, 1.0);
    if (!player_.SetVolume(static_cast<float>(volume))) {
        host_.SetStatus(player_.LastError());
        return false;
    }
    host_.SetStatus(wxString::Format(U("当前音量 %d%%。"), static_cast<int>(std::floor(volume * 100 + 0.5))));
    return true;
}

void MusicController::RegisterMusicHotkeys()
{
    if (hotkeysRegistered_) UnregisterMusicHotkeys();
    if (library_.HotkeysEnabled()) {
        host_.RegisterMusicHotkeys();
        hotkeysRegistered_ = true;
    }
}

void MusicController::UnregisterMusicHotkeys()
{
    host_.UnregisterMusicHotkeys();
    hotkeysRegistered_ = false;
}

void MusicController::Shutdown()
{
    SaveMusicSettings();
    StopTimer();
    UnregisterMusicHotkeys();
}

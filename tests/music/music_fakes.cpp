#include "music/music_fakes.h"

#include <algorithm>

void RecordingPlayer::FinishSong()
{
    playing = false;
    paused = false;
    position = length;
}

void RecordingPlayer::DropSong(const wxString& why)
{
    media.clear();
    playing = false;
    paused = false;
    position = 0;
    lastError = why;
}

bool RecordingPlayer::OpenFile(const wxString& path)
{
    calls.push_back("open " + path.utf8_string());
    if (std::find(unopenable.begin(), unopenable.end(), path) != unopenable.end()) {
        lastError = wxString::FromUTF8("打开文件失败：无法打开文件");
        return false;
    }
    media = path;
    playing = paused = false;
    position = 0;
    return true;
}

bool RecordingPlayer::Play(bool restart)
{
    calls.push_back(restart ? "play restart" : "play resume");
    if (failPlay || media.empty()) {
        lastError = wxString::FromUTF8("播放失败：句柄无效");
        return false;
    }
    if (restart) position = 0;
    playing = true;
    paused = false;
    return true;
}

bool RecordingPlayer::Pause()
{
    calls.push_back("pause");
    if (!playing) return false;
    playing = false;
    paused = true;
    return true;
}

bool RecordingPlayer::Stop()
{
    calls.push_back("stop");
    playing = paused = false;
    position = 0;
    return true;
}

bool RecordingPlayer::SeekBy(double seconds)
{
    calls.push_back(seconds < 0 ? "seek back" : "seek forward");
    if (failSeek) {
        lastError = wxString::FromUTF8("跳转失败：媒体已结束");
        return false;
    }
    position = std::max(0.0, position + seconds);
    return true;
}

bool RecordingPlayer::SetVolume(float v)
{
    calls.push_back("volume");
    if (failVolume) {
        lastError = wxString::FromUTF8("设置音量失败：句柄无效");
        return false;
    }
    volume = std::clamp(v, 0.0f, 1.0f);
    return true;
}

bool RecordingPlayer::SwitchOutputDevice(int deviceIndex)
{
    calls.push_back("device " + std::to_string(deviceIndex));
    if (failSwitch) {
        lastError = wxString::FromUTF8("切换设备失败：无法初始化音频驱动");
        return false;
    }
    device = deviceIndex;
    return true;
}

#include "music/audio_player.h"

#include <cmath>

namespace {

std::string Utf8(const wxString& text) {
    const wxScopedCharBuffer buf = text.utf8_str();
    return std::string(buf.data(), buf.length());
}

bool IsHttpUrl(const wxString& url) {
    wxString lower = url.Lower();
    return lower.StartsWith(wxS("http://")) || lower.StartsWith(wxS("https://"));
}

}  // namespace

wxString DescribeAudioError(AudioErrorCode code) {
    switch (code) {
        case AudioErrorCode::Ok: return wxString::FromUTF8("操作成功");
        case AudioErrorCode::Memory: return wxString::FromUTF8("内存不足");
        case AudioErrorCode::FileOpen: return wxString::FromUTF8("无法打开文件");
        case AudioErrorCode::Driver: return wxString::FromUTF8("无法初始化音频驱动");
        case AudioErrorCode::Handle: return wxString::FromUTF8("句柄无效");
        case AudioErrorCode::Format: return wxString::FromUTF8("音频格式不支持");
        case AudioErrorCode::NotInitialized: return wxString::FromUTF8("BASS 尚未初始化");
        case AudioErrorCode::Already: return wxString::FromUTF8("状态已就绪");
        case AudioErrorCode::NoNetwork: return wxString::FromUTF8("无法连接网络音频");
        case AudioErrorCode::Timeout: return wxString::FromUTF8("网络请求超时");
        case AudioErrorCode::FileFormat: return wxString::FromUTF8("文件格式不支持");
        case AudioErrorCode::Codec: return wxString::FromUTF8("缺少可用解码器");
        case AudioErrorCode::Ended: return wxString::FromUTF8("媒体已结束");
    }
    return wxString::Format(wxString::FromUTF8("未知错误（%d）"), static_cast<int>(code));
}

AudioPlayer::AudioPlayer(AudioEngineOptions options, std::function<void()> wakeup)
    : engine_(std::move(options), std::move(wakeup)) {
    engine_.SetNoticeHandler([this](AudioEngine::Notice n) { OnEngineNotice(n); });
}

AudioPlayer::~AudioPlayer() { Release(); }

bool AudioPlayer::Fail(const wxString& context, AudioErrorCode code) {
    lastError_ = wxString::Format(wxString::FromUTF8("%s：%s"), context, DescribeAudioError(code));
    return false;
}

bool AudioPlayer::EnsureInitialized() {
    if (engine_.IsStarted()) return true;
    AudioErrorCode rc = engine_.Start(device_ > 0 ? deviceId_ : std::string());
    if (rc != AudioErrorCode::Ok) return Fail(wxString::FromUTF8("初始化播放器失败"), rc);
    return true;
}

bool AudioPlayer::OpenFile(const wxString& path) { return Open(path, false); }

bool AudioPlayer::OpenUrl(const wxString& url) { return Open(url, true); }

bool AudioPlayer::Open(const wxString& source, bool isUrl) {
    if (!EnsureInitialized()) return false;
    source_.clear();
    isUrl_ = false;
    stopped_ = false;
    const wxString context = wxString::FromUTF8(isUrl ? "加载网络音频失败" : "加载本地音频失败");
    // Only web addresses: mpv would also follow its own protocols (files,
    // lavfi graphs, EDL lists) if a post's link named them.
    if (isUrl && !IsHttpUrl(source)) {
        engine_.Unload();
        return Fail(context, AudioErrorCode::NoNetwork);
    }
    // On failure the engine has already dropped the previous medium.
    AudioErrorCode rc = isUrl ? engine_.LoadUrl(Utf8(source)) : engine_.LoadFile(Utf8(source));
    if (rc != AudioErrorCode::Ok) return Fail(context, rc);
    source_ = source;
    isUrl_ = isUrl;
    stopped_ = true;  // opened, not started
    SetVolume(volume_);
    return true;
}

bool AudioPlayer::Play(bool restart) {
    if (!HasMedia()) {
        lastError_ = wxString::FromUTF8("当前没有可播放的媒体。");
        return false;
    }
    // An ended medium plays again from its start rather than ending at once.
    // A medium just opened is at its start: a seek there would only hold
    // up the first sound.
    if ((restart || engine_.IsEnded()) && !engine_.IsUntouched()) {
        AudioErrorCode rc = engine_.SeekTo(0);
        if (rc != AudioErrorCode::Ok) return Fail(wxString::FromUTF8("播放失败"), rc);
    }
    AudioErrorCode rc = engine_.SetPaused(false);
    if (rc != AudioErrorCode::Ok) return Fail(wxString::FromUTF8("播放失败"), rc);
    stopped_ = false;
    return true;
}

bool AudioPlayer::Pause() {
    if (!HasMedia()) {
        lastError_ = wxString::FromUTF8("当前没有可暂停的媒体。");
        return false;
    }
    if (IsPaused()) return Fail(wxString::FromUTF8("暂停失败"), AudioErrorCode::Already);
    if (stopped_ || engine_.IsEnded()) return true;  // not playing: nothing to hold
    AudioErrorCode rc = engine_.SetPaused(true);
    if (rc != AudioErrorCode::Ok) return Fail(wxString::FromUTF8("暂停失败"), rc);
    return true;
}

bool AudioPlayer::Stop() {
    if (!HasMedia()) return true;
    AudioErrorCode rc = engine_.SetPaused(true);
    if (rc != AudioErrorCode::Ok) return Fail(wxString::FromUTF8("停止失败"), rc);
    stopped_ = true;
    return true;
}

bool AudioPlayer::SeekBy(double deltaSeconds) {
    if (!HasMedia()) {
        lastError_ = wxString::FromUTF8("当前没有可定位的媒体。");
        return false;
    }
    if (!std::isfinite(deltaSeconds)) return Fail(wxString::FromUTF8("定位失败"), static_cast<AudioErrorCode>(-1));
    const bool wasEnded = engine_.IsEnded();
    // Right after a URL's first sound its count may still run: the seek
    // waits for it, so that it is bounded by the exact length.
    const double length = engine_.SettledLength();
    double target = GetPosition() + deltaSeconds;
    if (length > 0 && target > length) target = length;
    if (target < 0) target = 0;
    AudioErrorCode rc = engine_.SeekTo(target);
    if (rc != AudioErrorCode::Ok) return Fail(wxString::FromUTF8("定位失败"), rc);
    if (wasEnded) stopped_ = true;  // an ended stream is stopped, not paused
    return true;
}

bool AudioPlayer::SetVolume(float volume) {
    if (std::isnan(volume)) return Fail(wxString::FromUTF8("设置音量失败"), static_cast<AudioErrorCode>(-1));
    volume_ = volume > 1.0f ? 1.0f : (volume < 0.0f ? 0.0f : volume);
    AudioErrorCode rc = engine_.SetVolume(volume_);
    if (HasMedia() && rc != AudioErrorCode::Ok) return Fail(wxString::FromUTF8("设置音量失败"), rc);
    return true;
}

double AudioPlayer::GetLength() const { return HasMedia() ? engine_.Length() : 0; }

double AudioPlayer::GetPosition() const { return HasMedia() ? engine_.Position() : 0; }

bool AudioPlayer::HasMedia() const { return engine_.HasMedium(); }

bool AudioPlayer::IsPlaying() const {
    return engine_.IsLoaded() && !stopped_ && !engine_.IsPauseSet() && !engine_.IsEnded() && !engine_.IsStalled();
}

bool AudioPlayer::IsPaused() const {
    return engine_.IsLoaded() && !stopped_ && engine_.IsPauseSet() && !engine_.IsEnded();
}

std::vector<OutputDevice> AudioPlayer::ListOutputDevices() {
    // A running engine answers from mpv's kept list in microseconds; without
    // one every call would start mpv and ask the sound server afresh.
    EnsureInitialized();
    std::vector<OutputDevice> devices;
    int index = 0;
    for (const AudioOutput& out : engine_.ListOutputs()) {
        ++index;
        wxString name = wxString::FromUTF8(out.name);
        if (name.empty()) name = wxString::Format(wxString::FromUTF8("输出设备 %d"), index);
        devices.push_back({index, name});
    }
    return devices;
}

int AudioPlayer::GetCurrentDevice() const {
    if (device_ > 0) return device_;
    if (!engine_.IsStarted()) return -1;
    const std::string id = engine_.CurrentOutput();
    if (id.empty()) return -1;
    const std::vector<AudioOutput> outputs = engine_.ListOutputs();
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (outputs[i].id == id) return static_cast<int>(i) + 1;
    }
    return -1;
}

bool AudioPlayer::SwitchOutputDevice(int device) {
    if (device < 1) {
        lastError_ = wxString::FromUTF8("输出设备无效。");
        return false;
    }
    if (engine_.IsStarted() && device == GetCurrentDevice()) return true;
    const wxString context = wxString::FromUTF8("切换输出设备失败");
    std::vector<AudioOutput> outputs = engine_.ListOutputs();
    if (device > static_cast<int>(outputs.size())) return Fail(context, AudioErrorCode::Driver);
    const std::string id = outputs[device - 1].id;

    if (!engine_.IsStarted()) {
        AudioErrorCode rc = engine_.Start(id);
        if (rc != AudioErrorCode::Ok) return Fail(context, rc);
    } else if (!MoveOutput(id)) {
        return Fail(context, AudioErrorCode::Driver);
    }
    device_ = device;
    deviceId_ = id;
    SetVolume(volume_);
    return true;
}

bool AudioPlayer::MoveOutput(const std::string& outputId) {
    const Held held{deviceId_, source_, isUrl_, GetPosition(), IsPlaying(), IsPaused()};
    // Only a loaded medium holds an output open; without one the new device
    // is simply where the next medium will play.
    const bool holdsOutput = engine_.IsLoaded() && !engine_.IsEnded();
    switching_ = true;
    mediumDropped_ = false;
    bool moved = engine_.SetOutput(outputId) == AudioErrorCode::Ok;
    if (moved && holdsOutput) {
        WaitForOutput();
        // A device the sound server refuses leaves mpv on its silent "null"
        // output, or drops the medium: neither is a switch.
        const std::string driver = outputId.substr(0, outputId.find('/'));
        moved = !mediumDropped_ && engine_.HasMedium() && engine_.OpenDriver() == driver;
    }
    if (!moved) {
        engine_.SetOutput(held.outputId);
        if (mediumDropped_ || !engine_.HasMedium()) {
            Restore(held);
        } else if (holdsOutput) {
            WaitForOutput();
        }
    }
    switching_ = false;
    // The old output's buffer went with it; going back to where the listener
    // was keeps that piece from being skipped.
    if (holdsOutput && engine_.IsLoaded() && !engine_.IsEnded()) engine_.SeekTo(held.position);
    return moved;
}

void AudioPlayer::WaitForOutput() {
    // mpv closes the old output at once and opens the next on its own
    // thread, in milliseconds; the bound only keeps a hung sound server from
    // holding the window.
    engine_.WaitUntil([this] { return mediumDropped_ || !engine_.HasMedium() || !engine_.OpenDriver().empty(); },
                             3.0);
}

void AudioPlayer::Restore(const Held& held) {
    if (held.source.empty() || !Open(held.source, held.isUrl)) return;
    if (held.position > 0) engine_.SeekTo(held.position);
    // The medium reopens held; a paused one must read as paused again, not
    // as stopped.
    if (held.wasPlaying) {
        Play(false);
    } else {
        stopped_ = !held.wasPaused;
    }
}

void AudioPlayer::OnEngineNotice(AudioEngine::Notice notice) {
    switch (notice) {
        case AudioEngine::Notice::Failed:
            if (switching_) {
                mediumDropped_ = true;  // MoveOutput brings it back
                return;
            }
            // A medium that had loaded failed while playing (the sound server
            // went away, say), not while loading.
            Fail(wxString::FromUTF8(engine_.FailedAfterLoading() ? "播放失败"
                                    : isUrl_                       ? "加载网络音频失败"
                                                                   : "加载本地音频失败"),
                 engine_.FailureCode());
            source_.clear();
            isUrl_ = false;
            if (notice_) notice_(Notice::MediaFailed);
            return;
        case AudioEngine::Notice::Ended:
            if (notice_) notice_(Notice::MediaEnded);
            return;
        case AudioEngine::Notice::LengthKnown:
            if (notice_) notice_(Notice::LengthKnown);
            return;
        case AudioEngine::Notice::Loaded:
        case AudioEngine::Notice::StateChanged:
            if (notice_) notice_(Notice::StateChanged);
            return;
    }
}

void AudioPlayer::Release() {
    engine_.Shutdown();
    source_.clear();
    isUrl_ = false;
    stopped_ = false;
}

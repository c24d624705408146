// Plays one medium at a time — a local file or a network URL — for the
// local music player and the post detail dialog. Every operation returns
// true or false and leaves a Chinese error text; nothing throws.
//
// Events: the audio layer calls `wakeup` (on any thread) when it has news;
// the owner must then call DrainEvents() on its own thread, e.g. through a
// queued toolkit event. Tests call WaitUntil() instead.
#pragma once

#include "platform/audio_engine.h"

#include <wx/string.h>

#include <functional>
#include <optional>
#include <vector>

struct OutputDevice {
    int index = 0;  // 1 or more
    wxString name;
};

class AudioPlayer {
public:
    enum class Notice {
        MediaFailed,    // a URL could not be loaded: HasMedia() is false, GetLastError() says why
        MediaEnded,     // playback reached the end of the medium
        LengthKnown,    // GetLength() of a URL is now exact
        StateChanged,   // a stream stalled, resumed or finished loading
    };

    explicit AudioPlayer(AudioEngineOptions options = {}, std::function<void()> wakeup = {});
    ~AudioPlayer();
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    bool EnsureInitialized();
    bool OpenFile(const wxString& path);
    // Returns once loading has started; a URL that cannot be loaded drops
    // the medium later with Notice::MediaFailed.
    bool OpenUrl(const wxString& url);
    bool Play(bool restart);
    bool Pause();
    bool Stop();
    bool SeekBy(double deltaSeconds);
    bool SetVolume(float volume);
    float GetVolume() const { return volume_; }
    double GetLength() const;
    double GetPosition() const;
    bool HasMedia() const;
    bool IsPlaying() const;
    bool IsPaused() const;
    wxString GetSource() const { return source_; }
    wxString GetLastError() const { return lastError_; }
    std::vector<OutputDevice> ListOutputDevices();
    // The device sound goes to: the one switched to, or while following the
    // system's default, the device the sound server names as its default;
    // -1 when unknown or not initialized.
    int GetCurrentDevice() const;
    // With a medium loaded, returns once the new output has opened (true) or
    // has failed and the old one plays on with the medium as it was (false).
    bool SwitchOutputDevice(int device);
    void Release();

    void SetNoticeHandler(std::function<void(Notice)> handler) { notice_ = std::move(handler); }
    void DrainEvents() { engine_.DrainEvents(); }
    bool WaitUntil(const std::function<bool()>& done, double timeoutSeconds) {
        return engine_.WaitUntil(done, timeoutSeconds);
    }

private:
    // What plays, and where, before an output switch.
    struct Held {
        std::string outputId;
        wxString source;
        bool isUrl = false;
        double position = 0;
        bool wasPlaying = false;
        bool wasPaused = false;
    };

    bool Fail(const wxString& context, AudioErrorCode code);
    bool Open(const wxString& source, bool isUrl);
    void OnEngineNotice(AudioEngine::Notice notice);
    bool MoveOutput(const std::string& outputId);
    void WaitForOutput();
    void Restore(const Held& held);

    AudioEngine engine_;
    wxString source_;
    bool isUrl_ = false;
    bool stopped_ = false;
    wxString lastError_;
    float volume_ = 1.0f;
    int device_ = -1;
    std::string deviceId_;
    bool switching_ = false;     // inside MoveOutput
    bool mediumDropped_ = false;  // the medium failed during the switch
    std::function<void(Notice)> notice_;
};

// The description of a failure code, e.g. "无法打开文件".
wxString DescribeAudioError(AudioErrorCode code);

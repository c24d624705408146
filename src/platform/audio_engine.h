// The audio layer the player stands on: one medium at a time played by
// libmpv, with exact lengths from our own probe and failures mapped to
// AudioErrorCode. GUI-free and single-threaded from the caller's view:
// mpv only signals through the wake-up callback (any thread), and the
// owner answers it by calling DrainEvents() on its own thread.
#pragma once

#include "platform/audio_default_output.h"
#include "platform/audio_errors.h"
#include "platform/mpv_handle.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct AudioEngineOptions {
    // mpv's "ao" list; the first driver that works is used, null is silent.
    std::string audioOutputs = "pulse,null";
    double networkTimeoutSeconds = 10;
    // How long opening a local file may take before it counts as loaded.
    double localLoadTimeoutSeconds = 10;
    // Further mpv options, e.g. where the "pcm" output writes its file.
    std::vector<std::pair<std::string, std::string>> extraOptions = {};
};

struct AudioOutput {
    std::string id;    // mpv device name, e.g. "pulse/sink"
    std::string name;  // as the sound server describes it
};

class AudioEngine {
public:
    enum class Notice { Loaded, Failed, Ended, LengthKnown, StateChanged };

    AudioEngine(AudioEngineOptions options, std::function<void()> wakeup);
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // outputId empty: the system's default output.
    AudioErrorCode Start(const std::string& outputId);
    void Shutdown();
    bool IsStarted() const { return mpv_.IsOpen(); }

    // A local file is loaded before this returns (its exact length is
    // counted meanwhile on a worker thread); a URL only starts loading, and
    // a failure arrives later as Notice::Failed.
    AudioErrorCode LoadFile(const std::string& path);
    AudioErrorCode LoadUrl(const std::string& url);
    void Unload();

    bool HasMedium() const { return entry_ != 0; }
    bool IsLoaded() const { return entry_ != 0 && loaded_; }
    bool IsEnded() const;
    bool IsStalled() const;
    bool IsPauseSet() const;
    AudioErrorCode SetPaused(bool paused);
    AudioErrorCode SeekTo(double seconds);
    // The medium was opened and has neither played nor moved since: it is
    // at its start already.
    bool IsUntouched() const { return entry_ != 0 && untouched_; }
    double Position() const;
    // A local file's length waits for its count if that is still running;
    // a URL's is 0 until Notice::LengthKnown (the status line never waits
    // on the network).
    double Length() const;
    // The length a seek is bounded by: waits for a count still running, a
    // URL's too (at most the network time-out), starting it if need be.
    double SettledLength() const;
    AudioErrorCode SetVolume(float linear);
    // Why the last medium was dropped after Notice::Failed.
    AudioErrorCode FailureCode() const { return failure_; }
    // Whether that medium had loaded (and so failed while playing or held).
    bool FailedAfterLoading() const { return failedLoaded_; }

    // Outputs of the sound server (never the null output); works unstarted.
    // A started engine answers from the list mpv reports on every change.
    std::vector<AudioOutput> ListOutputs() const;
    AudioErrorCode SetOutput(const std::string& outputId);
    // The output sound goes to: the chosen one, or while following the
    // system's default, the sound server's default sink; empty when unknown
    // or not started.
    std::string CurrentOutput() const;
    // The driver of the output now open ("pulse", "null"); empty while none
    // is open, e.g. while mpv reopens it after SetOutput.
    std::string OpenDriver() const { return mpv_.GetString("current-ao"); }

    void SetNoticeHandler(std::function<void(Notice)> handler) { notice_ = std::move(handler); }
    // Handles every pending mpv event without waiting.
    void DrainEvents();
    // Handles events as they come until done() holds or the time is up.
    bool WaitUntil(const std::function<bool()>& done, double timeoutSeconds);
    // The same for a condition that only an event can change: sleeps until
    // mpv or the probe has news, never polls.
    bool WaitForEvents(const std::function<bool()>& done, double timeoutSeconds);

private:
    struct Probe;
    MpvHandle::Options HandleOptions(const std::string& outputId) const;
    AudioErrorCode LoadTarget(const std::string& target, bool isUrl);
    void Handle(const MpvEvent& event);
    std::vector<AudioOutput> OurOutputs(const std::vector<MpvDevice>& devices) const;
    void StartProbe(const std::string& source, bool isUrl);
    // Lets a held count start: soon after the sound has begun (playing),
    // or at once when asked for, or a URL's once it has loaded paused.
    void ReleaseProbe(bool playing) const;
    // The length as far as known now, without waiting; 0 when unknown.
    double KnownLength() const;
    void TakeProbeResult();
    void CancelProbe();
    // Drops what is known of the medium without telling mpv.
    void Forget();
    void Notify(Notice n);
    bool SeekPending() const;

    AudioEngineOptions options_;
    std::function<void()> wakeup_;
    std::function<void(Notice)> notice_;
    MpvHandle mpv_;
    float volume_ = 1.0f;
    bool volumeApplied_ = false;  // mpv's volume is volume_

    int64_t entry_ = 0;        // playlist entry of the current medium, 0 = none
    int64_t startedEntry_ = 0;
    bool isUrl_ = false;
    bool loaded_ = false;
    bool seekPending_ = false;
    bool untouched_ = false;
    std::chrono::steady_clock::time_point seekIssued_{};
    bool loadingNow_ = false;  // inside LoadFile's wait
    double pendingSeek_ = -1;
    double seekTarget_ = 0;
    double length_ = 0;
    bool lengthKnown_ = false;
    AudioErrorCode failure_ = AudioErrorCode::Ok;
    bool failedLoaded_ = false;
    std::chrono::steady_clock::time_point loadStart_{};
    std::shared_ptr<Probe> probe_;
    mutable std::optional<std::vector<AudioOutput>> outputs_;
    mutable std::unique_ptr<DefaultSinkWatch> defaultSink_;
};

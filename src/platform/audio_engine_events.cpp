// Everything that reaches the engine from elsewhere: mpv's events, and
// the length probe running on its own thread.
#include "platform/audio_engine.h"

#include "platform/audio_probe.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A first sound comes within a few milliseconds of Play (of the restart
// after a URL's load); the count starts this much later, so as not to
// compete with it for the CPU or the line.
constexpr auto kCountAfterPlay = std::chrono::milliseconds(20);

}  // namespace

// A length probe runs on a detached thread so that neither the first sound
// nor dropping the medium waits for it (nor, for a URL, on the network).
// A count is held until it is asked for or the medium has started to
// sound; a URL that loaded paused is counted at once, as nothing sounds.
// Once cancelled it never touches the engine again.
struct AudioEngine::Probe {
    std::mutex mutex;
    std::condition_variable finished;
    std::condition_variable go;
    bool released = false;
    Clock::time_point releaseAt = Clock::time_point::max();
    std::atomic<bool> cancelled{false};
    bool done = false;
    AudioProbeResult result;
    std::function<void()> notify;  // wakes the engine's owner; cleared on cancel
};

void AudioEngine::StartProbe(const std::string& source, bool isUrl) {
    auto probe = std::make_shared<Probe>();
    probe->notify = [this] {
        mpv_.Wakeup();
        if (wakeup_) wakeup_();
    };
    probe_ = probe;
    double timeout = isUrl ? options_.networkTimeoutSeconds : 0;
    std::thread([probe, source, isUrl, timeout] {
        // The count yields to mpv's threads, which have the sound to make.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
        {
            std::unique_lock lock(probe->mutex);
            while (!probe->released && !probe->cancelled && Clock::now() < probe->releaseAt) {
                if (probe->releaseAt == Clock::time_point::max()) {
                    probe->go.wait(lock);
                } else {
                    probe->go.wait_until(lock, probe->releaseAt);
                }
            }
            if (probe->cancelled) return;
        }
        AudioProbeResult result = ProbeAudio(source, isUrl, timeout, &probe->cancelled);
        std::lock_guard lock(probe->mutex);
        if (probe->cancelled) return;
        probe->result = result;
        probe->done = true;
        probe->finished.notify_all();
        if (probe->notify) probe->notify();
    }).detach();
}

void AudioEngine::CancelProbe() {
    if (!probe_) return;
    // Keep our share until the lock is released: it may be the last one.
    std::shared_ptr<Probe> probe = std::move(probe_);
    std::lock_guard lock(probe->mutex);
    probe->cancelled = true;
    probe->notify = nullptr;
    probe->go.notify_all();
}

void AudioEngine::ReleaseProbe(bool playing) const {
    if (!probe_) return;
    std::lock_guard lock(probe_->mutex);
    if (playing) {
        probe_->releaseAt = std::min(probe_->releaseAt, Clock::now() + kCountAfterPlay);
    } else if (probe_->releaseAt == Clock::time_point::max()) {
        probe_->released = true;  // asked for while nothing sounds: count now
    }
    probe_->go.notify_all();
}

void AudioEngine::Notify(Notice n) {
    if (notice_) notice_(n);
}

void AudioEngine::DrainEvents() {
    if (!mpv_.IsOpen()) return;
    for (MpvEvent e = mpv_.WaitEvent(0); e.kind != MpvEvent::Kind::None; e = mpv_.WaitEvent(0)) Handle(e);
    TakeProbeResult();
}

bool AudioEngine::WaitForEvents(const std::function<bool()>& done, double timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    DrainEvents();
    while (!done()) {
        double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0 || !mpv_.IsOpen()) return false;
        // Returns with the next event, or when the probe wakes the handle.
        MpvEvent e = mpv_.WaitEvent(left);
        if (e.kind != MpvEvent::Kind::None) Handle(e);
        DrainEvents();
    }
    return true;
}

bool AudioEngine::WaitUntil(const std::function<bool()>& done, double timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    DrainEvents();
    while (!done()) {
        double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0 || !mpv_.IsOpen()) return false;
        // Short slices: conditions on the position change without an event.
        MpvEvent e = mpv_.WaitEvent(std::min(left, 0.002));
        if (e.kind != MpvEvent::Kind::None) Handle(e);
        DrainEvents();
    }
    return true;
}

void AudioEngine::Handle(const MpvEvent& e) {
    switch (e.kind) {
        case MpvEvent::Kind::StartFile: startedEntry_ = e.entryId; break;
        case MpvEvent::Kind::FileLoaded:
            if (entry_ == 0 || startedEntry_ != entry_) break;
            loaded_ = true;
            if (pendingSeek_ >= 0) {
                double target = pendingSeek_;
                pendingSeek_ = -1;
                SeekTo(target);
            }
            // Nothing sounds yet: a URL's count need not wait for Play.
            if (isUrl_ && IsPauseSet()) ReleaseProbe(false);
            Notify(Notice::Loaded);
            break;
        case MpvEvent::Kind::EndFile:
            if (entry_ == 0 || e.entryId != entry_) break;  // an earlier medium's end
            if (e.endReason == MpvEvent::EndReason::Error) {
                failure_ = AudioErrorFromMpv(e.error, isUrl_);
                double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - loadStart_).count();
                if (isUrl_ && !loaded_ && failure_ == AudioErrorCode::NoNetwork &&
                    elapsed >= 0.9 * options_.networkTimeoutSeconds) {
                    failure_ = AudioErrorCode::Timeout;
                }
            } else {
                failure_ = AudioErrorCode::Ended;
            }
            failedLoaded_ = loaded_;
            Forget();
            if (!loadingNow_) Notify(Notice::Failed);
            break;
        case MpvEvent::Kind::PlaybackRestart:
            seekPending_ = false;
            // A URL played before it had loaded sounds from here on.
            if (isUrl_ && loaded_ && !IsPauseSet()) ReleaseProbe(true);
            break;
        case MpvEvent::Kind::PropertyChange:
            if (e.devices) {
                outputs_ = OurOutputs(*e.devices);
            } else if (e.property == "eof-reached" && e.flag.value_or(false) && IsLoaded()) {
                Notify(Notice::Ended);
            } else if (e.property == "paused-for-cache") {
                Notify(Notice::StateChanged);
            }
            break;
        default: break;
    }
}

void AudioEngine::TakeProbeResult() {
    if (!probe_) return;
    AudioProbeResult result;
    {
        std::lock_guard lock(probe_->mutex);
        if (!probe_->done) return;
        result = probe_->result;
    }
    probe_.reset();
    // A failed probe leaves the verdict to mpv, which may still play it.
    length_ = result.error == AudioErrorCode::Ok ? result.lengthSeconds : 0;
    lengthKnown_ = true;
    // A local file's length reads as known from the start (Length waits).
    if (isUrl_) Notify(Notice::LengthKnown);
}

double AudioEngine::KnownLength() const {
    if (entry_ == 0) return 0;
    if (lengthKnown_) return length_;
    if (!probe_) return 0;
    std::lock_guard lock(probe_->mutex);
    return probe_->done && probe_->result.error == AudioErrorCode::Ok ? probe_->result.lengthSeconds : 0;
}

double AudioEngine::Length() const {
    if (entry_ == 0) return 0;
    if (isUrl_) return KnownLength();
    return SettledLength();
}

double AudioEngine::SettledLength() const {
    if (entry_ == 0) return 0;
    if (lengthKnown_ || !probe_) return KnownLength();
    ReleaseProbe(false);
    // A count takes milliseconds (26 ms for 20 minutes of MP3, 52 ms over
    // loopback http); the bound only keeps a hung disk or server from
    // holding the caller for ever.
    const double bound = isUrl_ ? options_.networkTimeoutSeconds : options_.localLoadTimeoutSeconds;
    std::unique_lock lock(probe_->mutex);
    probe_->finished.wait_for(lock, std::chrono::duration<double>(bound), [&] { return probe_->done; });
    return probe_->done && probe_->result.error == AudioErrorCode::Ok ? probe_->result.lengthSeconds : 0;
}

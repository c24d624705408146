#include "platform/audio_engine.h"

#include "platform/audio_default_output.h"
#include "platform/audio_probe.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <unistd.h>

namespace {

// mpv error numbers (mpv/client.h), repeated here so that only the handle
// wrapper includes the mpv headers.
constexpr int kNoMem = -1;
constexpr int kUninitialized = -8;
constexpr int kLoadingFailed = -13;
constexpr int kAoInitFailed = -14;
constexpr int kNothingToPlay = -16;
constexpr int kUnknownFormat = -17;
constexpr int kUnsupported = -18;

constexpr uint64_t kObserveEof = 1;
constexpr uint64_t kObserveCache = 2;
constexpr uint64_t kObserveDevices = 3;

}  // namespace

AudioErrorCode AudioErrorFromMpv(int mpvError, bool isUrl) {
    switch (mpvError) {
        case 0: return AudioErrorCode::Ok;
        case kNoMem: return AudioErrorCode::Memory;
        case kUninitialized: return AudioErrorCode::NotInitialized;
        case kLoadingFailed: return isUrl ? AudioErrorCode::NoNetwork : AudioErrorCode::FileOpen;
        case kAoInitFailed: return AudioErrorCode::Driver;
        case kNothingToPlay:
        case kUnknownFormat:
        case kUnsupported: return AudioErrorCode::Format;
        default: return static_cast<AudioErrorCode>(-1);
    }
}

AudioEngine::AudioEngine(AudioEngineOptions options, std::function<void()> wakeup)
    : options_(std::move(options)), wakeup_(std::move(wakeup)) {}

AudioEngine::~AudioEngine() { Shutdown(); }

MpvHandle::Options AudioEngine::HandleOptions(const std::string& outputId) const {
    MpvHandle::Options options = {
        {"config", "no"},
        {"terminal", "no"},
        {"vid", "no"},  // an MP4 would otherwise open a video window
        {"audio-display", "no"},
        {"sid", "no"},
        {"idle", "yes"},
        {"ytdl", "no"},
        {"load-scripts", "no"},
        {"input-default-bindings", "no"},
        {"audio-file-auto", "no"},
        // Without this the end arrives when decoding ends, before the sound does.
        {"gapless-audio", "no"},
        // An ended medium stays open at its end, as a stopped stream.
        {"keep-open", "yes"},
        {"pause", "yes"},
        {"ao", options_.audioOutputs},
        {"audio-device", outputId.empty() ? "auto" : outputId},
        {"network-timeout", std::to_string(options_.networkTimeoutSeconds)},
        {"volume-max", "100"},
    };
    options.insert(options.end(), options_.extraOptions.begin(), options_.extraOptions.end());
    return options;
}

AudioErrorCode AudioEngine::Start(const std::string& outputId) {
    if (mpv_.IsOpen()) return AudioErrorCode::Ok;
    int rc = mpv_.Create(HandleOptions(outputId), wakeup_);
    if (rc < 0) return rc == kNoMem ? AudioErrorCode::Memory : AudioErrorCode::Driver;
    mpv_.ObserveFlag(kObserveEof, "eof-reached");
    mpv_.ObserveFlag(kObserveCache, "paused-for-cache");
    volumeApplied_ = false;
    SetVolume(volume_);
    return AudioErrorCode::Ok;
}

void AudioEngine::Shutdown() {
    Forget();
    mpv_.Destroy();
    outputs_.reset();
    defaultSink_.reset();
}

void AudioEngine::Unload() {
    if (entry_ != 0) mpv_.Command({"stop"});
    Forget();
}

void AudioEngine::Forget() {
    CancelProbe();
    entry_ = startedEntry_ = 0;
    loaded_ = seekPending_ = untouched_ = false;
    pendingSeek_ = -1;
    length_ = 0;
    lengthKnown_ = false;
}

AudioErrorCode AudioEngine::LoadFile(const std::string& path) {
    Forget();  // loadfile replaces the old medium; a refusal before it stops it
    if (!mpv_.IsOpen()) return AudioErrorCode::NotInitialized;
    AudioErrorCode rc = AudioErrorCode::Ok;
    std::error_code ec;
    const std::filesystem::path fsPath(path);
    // An absolute path keeps mpv and libavformat from reading "x:y" as a protocol.
    // Paths are UTF-8 bytes on Linux; string() keeps them as they are.
    std::string absolute = std::filesystem::absolute(fsPath, ec).string();
    if (path.empty() || ec || !std::filesystem::is_regular_file(fsPath, ec) || access(path.c_str(), R_OK) != 0) {
        rc = AudioErrorCode::FileOpen;
    }
    if (rc == AudioErrorCode::Ok) rc = LoadTarget(absolute, false);
    if (rc != AudioErrorCode::Ok) {
        Forget();
        mpv_.Command({"stop"});
        return rc;
    }
    // Counting an MP3's packets takes milliseconds that the first sound
    // should not wait for: a worker counts once the sound has begun.
    StartProbe("file:" + absolute, false);
    // Local files load in milliseconds; waiting keeps the medium's state
    // exact the moment this returns. mpv's verdict on the contents is the
    // answer: a failure found here is this call's, not news for the owner.
    loadingNow_ = true;
    WaitForEvents([this] { return entry_ == 0 || loaded_; }, options_.localLoadTimeoutSeconds);
    loadingNow_ = false;
    if (entry_ == 0) return failure_;
    return AudioErrorCode::Ok;
}

AudioErrorCode AudioEngine::LoadUrl(const std::string& url) {
    Forget();
    if (!mpv_.IsOpen()) return AudioErrorCode::NotInitialized;
    AudioErrorCode rc = LoadTarget(url, true);
    if (rc != AudioErrorCode::Ok) {
        mpv_.Command({"stop"});
        return rc;
    }

    StartProbe(url, true);
    return AudioErrorCode::Ok;
}

AudioErrorCode AudioEngine::LoadTarget(const std::string& target, bool isUrl) {
    failure_ = AudioErrorCode::Ok;
    mpv_.SetFlag("pause", true);
    int64_t id = 0;
    int rc = mpv_.LoadFile(target, &id);
    if (rc < 0) return AudioErrorFromMpv(rc, isUrl);
    entry_ = id;
    isUrl_ = isUrl;
    untouched_ = true;
    loadStart_ = std::chrono::steady_clock::now();
    return AudioErrorCode::Ok;
}

bool AudioEngine::IsEnded() const {
    if (!IsLoaded() || SeekPending()) return false;
    return mpv_.GetFlag("eof-reached").value_or(false);
}

bool AudioEngine::IsStalled() const {
    return IsLoaded() && mpv_.GetFlag("paused-for-cache").value_or(false);
}

bool AudioEngine::IsPauseSet() const { return mpv_.GetFlag("pause").value_or(true); }

AudioErrorCode AudioEngine::SetPaused(bool paused) {
    if (!mpv_.IsOpen()) return AudioErrorCode::NotInitialized;
    if (!paused) {
        untouched_ = false;
        // A URL still loading has not sounded yet: its count waits for the
        // restart after the load.
        if (!isUrl_ || loaded_) ReleaseProbe(true);
    }
    return AudioErrorFromMpv(mpv_.SetFlag("pause", paused), isUrl_);
}

AudioErrorCode AudioEngine::SeekTo(double seconds) {
    if (entry_ == 0) return AudioErrorCode::Handle;
    untouched_ = false;
    if (!loaded_) {
        pendingSeek_ = seconds;  // applied once the medium has loaded
        return AudioErrorCode::Ok;
    }
    int rc = mpv_.Command({"seek", std::to_string(seconds), "absolute+exact"});
    if (rc < 0) return AudioErrorFromMpv(rc, isUrl_);
    seekPending_ = true;
    seekIssued_ = std::chrono::steady_clock::now();
    seekTarget_ = seconds;
    return AudioErrorCode::Ok;
}

bool AudioEngine::SeekPending() const {
    // mpv confirms a seek with a restart; should that ever not come (a
    // stream that cannot seek), mpv's own figures count again soon.
    return seekPending_ && std::chrono::steady_clock::now() - seekIssued_ < std::chrono::seconds(2);
}

double AudioEngine::Position() const {
    if (!IsLoaded()) return 0;
    if (IsEnded()) {
        double length = Length();
        if (length > 0) return length;
    }
    // While the count runs the position is not held back by it.
    double length = KnownLength();
    // Until mpv has carried out a seek, time-pos still names the old place.
    double pos = SeekPending() ? seekTarget_ : std::max(0.0, mpv_.GetDouble("time-pos").value_or(0));
    // An MP3's encoder-delay arithmetic leaves time-pos a rounding error
    // away from zero at the start (e.g. 2.8e-17); the start is the start.
    if (pos < 1e-6) pos = 0;
    return length > 0 ? std::min(pos, length) : pos;
}


AudioErrorCode AudioEngine::SetVolume(float linear) {
    const float volume = std::clamp(linear, 0.0f, 1.0f);
    // mpv keeps its volume from one medium to the next; setting it again
    // would only wait for mpv's core while it opens a new file.
    if (volumeApplied_ && volume == volume_ && mpv_.IsOpen()) return AudioErrorCode::Ok;
    volume_ = volume;
    volumeApplied_ = false;
    if (!mpv_.IsOpen()) return AudioErrorCode::Ok;
    // mpv's gain is (volume/100)^3; the caller's scale is linear amplitude.
    int rc = mpv_.SetDouble("volume", 100.0 * std::cbrt(static_cast<double>(volume_)));
    volumeApplied_ = rc >= 0;
    return AudioErrorFromMpv(rc, false);
}

std::vector<AudioOutput> AudioEngine::ListOutputs() const {
    if (mpv_.IsOpen()) {
        if (!outputs_) {
            // Watched only once asked for: listing the devices makes mpv ask
            // every sound system, which a player that only plays never needs.
            outputs_ = OurOutputs(mpv_.GetDeviceList());
            mpv_.ObserveDeviceList(kObserveDevices);
        }
        return *outputs_;
    }
    MpvHandle temporary;
    if (temporary.Create({{"config", "no"}, {"terminal", "no"}, {"ao", options_.audioOutputs}}, {}) < 0) return {};
    return OurOutputs(temporary.GetDeviceList());
}

std::vector<AudioOutput> AudioEngine::OurOutputs(const std::vector<MpvDevice>& devices) const {
    // Only the devices of the drivers we would use, never the null output.
    std::vector<std::string> prefixes;
    std::string list = options_.audioOutputs + ",";
    for (size_t start = 0, comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1) {
        std::string driver = list.substr(start, comma - start);
        if (!driver.empty() && driver != "null") prefixes.push_back(driver + "/");
    }
    std::vector<AudioOutput> outputs;
    for (const MpvDevice& d : devices) {
        bool ours = std::any_of(prefixes.begin(), prefixes.end(),
                                [&](const std::string& p) { return d.name.rfind(p, 0) == 0; });
        if (ours) outputs.push_back({d.name, d.description});
    }
    return outputs;
}

std::string AudioEngine::CurrentOutput() const {
    if (!mpv_.IsOpen()) return {};
    std::string chosen = mpv_.GetString("audio-device");
    if (!chosen.empty() && chosen != "auto") return chosen;
    // mpv's "auto" lets the sound server pick its default sink. Only the
    // pulse driver is asked for it; other drivers stay unknown.
    const std::string list = "," + options_.audioOutputs + ",";
    if (list.find(",pulse,") == std::string::npos) return {};
    // The status line asks twice a second: the watch answers from what the
    // server last announced, and so follows a default changed in the desktop.
    if (!defaultSink_) defaultSink_ = std::make_unique<DefaultSinkWatch>();
    const std::string sink = defaultSink_->Current(0.5);
    return sink.empty() ? std::string() : "pulse/" + sink;
}

AudioErrorCode AudioEngine::SetOutput(const std::string& outputId) {
    if (!mpv_.IsOpen()) return Start(outputId);
    int rc = mpv_.SetString("audio-device", outputId.empty() ? "auto" : outputId);
    return rc < 0 ? AudioErrorCode::Driver : AudioErrorCode::Ok;
}

#include "platform/sound_cue.h"

#include "platform/library_symbols.h"

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace platform {
namespace {

// Every cue uses the same id, which lets a new cue cancel the previous one.
constexpr uint32_t kCueId = 1;
// Cues last well under a second; this only guards against a server that
// never reports the end.
constexpr auto kLongestWait = std::chrono::seconds(5);

// libcanberra is opened with the first cue rather than linked, so it and
// its sound-file libraries stay out of start-up.
struct CanberraApi {
    decltype(&ca_context_create) context_create;
    decltype(&ca_context_destroy) context_destroy;
    decltype(&ca_context_set_driver) context_set_driver;
    decltype(&ca_context_change_props) context_change_props;
    decltype(&ca_context_cancel) context_cancel;
    decltype(&ca_context_play_full) context_play_full;
    decltype(&ca_proplist_create) proplist_create;
    decltype(&ca_proplist_destroy) proplist_destroy;
    decltype(&ca_proplist_sets) proplist_sets;
};

// Null when the library cannot be opened: cues are then silent.
const CanberraApi* LoadCanberra() {
    return LoadLibraryOnce<CanberraApi>("libcanberra.so.0", [](SymbolResolver& r, CanberraApi& api) {
        r(api.context_create, "ca_context_create");
        r(api.context_destroy, "ca_context_destroy");
        r(api.context_set_driver, "ca_context_set_driver");
        r(api.context_change_props, "ca_context_change_props");
        r(api.context_cancel, "ca_context_cancel");
        r(api.context_play_full, "ca_context_play_full");
        r(api.proplist_create, "ca_proplist_create");
        r(api.proplist_destroy, "ca_proplist_destroy");
        r(api.proplist_sets, "ca_proplist_sets");
        return true;
    });
}

struct Finish {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};

void OnFinished(ca_context*, uint32_t, int, void* userdata) {
    // The heap handle keeps the state alive even when the waiter gave up.
    auto* handle = static_cast<std::shared_ptr<Finish>*>(userdata);
    {
        std::lock_guard<std::mutex> lock((*handle)->mutex);
        (*handle)->finished = true;
    }
    (*handle)->done.notify_all();
    delete handle;
}

// The file itself is at fault: a fresh connection would not help.
bool IsFileError(int rc) {
    return rc == CA_ERROR_NOTFOUND || rc == CA_ERROR_CORRUPT || rc == CA_ERROR_NOTSUPPORTED ||
           rc == CA_ERROR_TOOBIG || rc == CA_ERROR_INVALID || rc == CA_ERROR_ACCESS;
}

// One context for the run, connected lazily on the first play. When the
// sound server goes away (or restarts), the context is dropped and the next
// cue connects afresh; without a server each attempt fails in well under a
// millisecond.
class CuePlayer {
public:
    ~CuePlayer() { Drop(); }

    bool Play(const std::string& path, bool wait) {
        std::lock_guard<std::mutex> lock(mutex_);
        lib_ = LoadCanberra();
        if (!lib_) return false;
        int rc = TryPlay(path, wait);
        if (rc != CA_SUCCESS && !IsFileError(rc)) {
            Drop();
            rc = TryPlay(path, wait);
        }
        return rc == CA_SUCCESS;
    }

private:
    int TryPlay(const std::string& path, bool wait) {
        if (!context_ && !Create()) return CA_ERROR_STATE;
        ca_proplist* props = nullptr;
        if (lib_->proplist_create(&props) != CA_SUCCESS) return CA_ERROR_OOM;
        lib_->proplist_sets(props, CA_PROP_MEDIA_FILENAME, path.c_str());
        lib_->proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
        // Read the file each time it plays, so a changed cue file is heard at once.
        lib_->proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "never");

        lib_->context_cancel(context_, kCueId);
        if (!wait) {
            int rc = lib_->context_play_full(context_, kCueId, props, nullptr, nullptr);
            lib_->proplist_destroy(props);
            return rc;
        }
        auto finish = std::make_shared<Finish>();
        auto* handle = new std::shared_ptr<Finish>(finish);
        int rc = lib_->context_play_full(context_, kCueId, props, OnFinished, handle);
        lib_->proplist_destroy(props);
        if (rc != CA_SUCCESS) {
            // The finish callback never runs after a failed start.
            delete handle;
            return rc;
        }
        std::unique_lock<std::mutex> lock(finish->mutex);
        finish->done.wait_for(lock, kLongestWait, [&] { return finish->finished; });
        return CA_SUCCESS;
    }

    bool Create() {
        if (lib_->context_create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return false;
        }
        // Debian's base package only has ALSA, which complains on every call
        // without a device; PulseAudio and PipeWire both speak pulse.
        lib_->context_set_driver(context_, "pulse");
        lib_->context_change_props(context_, CA_PROP_APPLICATION_NAME, "Quillery",
                                   CA_PROP_APPLICATION_ID, "quillery", nullptr);
        return true;
    }

    void Drop() {
        if (context_) lib_->context_destroy(context_);
        context_ = nullptr;
    }

    std::mutex mutex_;
    const CanberraApi* lib_ = nullptr;
    ca_context* context_ = nullptr;
};

// Plays the cues that nobody waits for, one after another, so the caller
// never waits for the sound server: the first cue opens the library and
// connects. A cue not yet begun gives way to a newer one, as a sounding
// cue does.
class CueThread {
public:
    explicit CueThread(CuePlayer& player) : player_(player) {}
    ~CueThread() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

    // False when no thread could be started.
    bool Post(const std::string& path) {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) {
            try {
                thread_ = std::thread([this] { Run(); });
            } catch (const std::system_error&) {
                return false;
            }
        }
        pending_ = path;
        wake_.notify_all();
        return true;
    }

    void DropPending() {
        std::lock_guard lock(mutex_);
        pending_.reset();
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || pending_; });
            if (stopping_) return;
            std::string path = std::move(*pending_);
            pending_.reset();
            lock.unlock();
            player_.Play(path, false);
            lock.lock();
        }
    }

    CuePlayer& player_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::string> pending_;
    bool stopping_ = false;
    std::thread thread_;
};

// The thread is made after the player, so it ends first at exit.
CuePlayer& Player() {
    static CuePlayer player;
    return player;
}

CueThread& Thread() {
    static CueThread thread(Player());
    return thread;
}

}  // namespace

bool PlaySoundFile(const std::string& path, bool wait) {
    if (path.empty()) return false;
    CuePlayer& player = Player();
    // A cue posted earlier but not yet begun must not sound after this one.
    Thread().DropPending();
    return player.Play(path, wait);
}

void StartSoundFile(const std::string& path) {
    if (path.empty()) return;
    if (!Thread().Post(path)) PlaySoundFile(path, false);
}

}  // namespace platform

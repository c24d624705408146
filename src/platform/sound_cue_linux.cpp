#include "platform/sound_cue.h"

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace platform {
namespace {

// Every cue uses the same id, which lets a new cue cancel the previous one.
constexpr uint32_t kCueId = 1;
// Cues last well under a second; this only guards against a server that
// never reports the end.
constexpr auto kLongestWait = std::chrono::seconds(5);

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
        if (ca_proplist_create(&props) != CA_SUCCESS) return CA_ERROR_OOM;
        ca_proplist_sets(props, CA_PROP_MEDIA_FILENAME, path.c_str());
        ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
        // Read the file each time it plays, so a changed cue file is heard at once.
        ca_proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "never");

        ca_context_cancel(context_, kCueId);
        if (!wait) {
            int rc = ca_context_play_full(context_, kCueId, props, nullptr, nullptr);
            ca_proplist_destroy(props);
            return rc;
        }
        auto finish = std::make_shared<Finish>();
        auto* handle = new std::shared_ptr<Finish>(finish);
        int rc = ca_context_play_full(context_, kCueId, props, OnFinished, handle);
        ca_proplist_destroy(props);
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
        if (ca_context_create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return false;
        }
        // Debian's base package only has ALSA, which complains on every call
        // without a device; PulseAudio and PipeWire both speak pulse.
        ca_context_set_driver(context_, "pulse");
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Quillery",
                                CA_PROP_APPLICATION_ID, "quillery", nullptr);
        return true;
    }

    void Drop() {
        if (context_) ca_context_destroy(context_);
        context_ = nullptr;
    }

    std::mutex mutex_;
    ca_context* context_ = nullptr;
};

}  // namespace

bool PlaySoundFile(const std::string& path, bool wait) {
    if (path.empty()) return false;
    static CuePlayer player;
    return player.Play(path, wait);
}

}  // namespace platform

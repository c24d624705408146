#include "platform/audio_default_output.h"

#include "platform/audio_library_api.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

// One connection on libpulse's own thread. Its callbacks only record what
// the server says; the owner's thread reads it under the mutex.
struct DefaultSinkWatch::Connection {
    const PulseApi* pa = nullptr;
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    std::mutex mutex;
    std::condition_variable changed;
    std::string sink;
    bool answered = false;  // the server answered, or the connection ended
    bool ended = false;
    std::chrono::steady_clock::time_point opened = std::chrono::steady_clock::now();

    void Record(const char* name, bool end) {
        std::lock_guard lock(mutex);
        if (name) sink = name;
        if (end) {
            sink.clear();
            ended = true;
        }
        answered = true;
        changed.notify_all();
    }

    static void OnInfo(pa_context*, const pa_server_info* info, void* data) {
        static_cast<Connection*>(data)->Record(info && info->default_sink_name ? info->default_sink_name : "", false);
    }

    static void OnEvent(pa_context* c, pa_subscription_event_type_t type, uint32_t, void* data) {
        const PulseApi* pa = static_cast<Connection*>(data)->pa;
        if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) != PA_SUBSCRIPTION_EVENT_SERVER) return;
        if (pa_operation* op = pa->context_get_server_info(c, OnInfo, data)) pa->operation_unref(op);
    }

    static void OnState(pa_context* c, void* data) {
        auto* self = static_cast<Connection*>(data);
        const PulseApi* pa = self->pa;
        switch (pa->context_get_state(c)) {
            case PA_CONTEXT_READY:
                pa->context_set_subscribe_callback(c, OnEvent, data);
                if (pa_operation* op = pa->context_subscribe(c, PA_SUBSCRIPTION_MASK_SERVER, nullptr, nullptr)) {
                    pa->operation_unref(op);
                }
                if (pa_operation* op = pa->context_get_server_info(c, OnInfo, data)) pa->operation_unref(op);
                break;
            case PA_CONTEXT_FAILED:
            case PA_CONTEXT_TERMINATED: self->Record(nullptr, true); break;
            default: break;
        }
    }

    bool Open() {
        pa = LoadPulse();
        if (!pa) return false;
        loop = pa->threaded_mainloop_new();
        if (!loop) return false;
        context = pa->context_new(pa->threaded_mainloop_get_api(loop), "quillery");
        if (!context) return false;
        pa->context_set_state_callback(context, OnState, this);
        // The server this process would play to: PULSE_SERVER, then the
        // session's own; never start one just to ask.
        if (pa->context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
        return pa->threaded_mainloop_start(loop) >= 0;
    }

    ~Connection() {
        if (!loop) return;
        pa->threaded_mainloop_stop(loop);
        if (context) {
            pa->context_set_state_callback(context, nullptr, nullptr);
            pa->context_set_subscribe_callback(context, nullptr, nullptr);
            pa->context_disconnect(context);
            pa->context_unref(context);
        }
        pa->threaded_mainloop_free(loop);
    }
};

DefaultSinkWatch::DefaultSinkWatch() = default;

DefaultSinkWatch::~DefaultSinkWatch() = default;

std::string DefaultSinkWatch::Current(double timeoutSeconds) {
    const auto now = std::chrono::steady_clock::now();
    if (connection_) {
        std::lock_guard lock(connection_->mutex);
        if (connection_->ended && now - connection_->opened > std::chrono::seconds(1)) connection_.reset();
    }
    if (!connection_) {
        auto fresh = std::make_shared<Connection>();
        if (!fresh->Open()) fresh->Record(nullptr, true);
        connection_ = fresh;
    }
    std::unique_lock lock(connection_->mutex);
    connection_->changed.wait_for(lock, std::chrono::duration<double>(timeoutSeconds),
                                  [this] { return connection_->answered; });
    return connection_->sink;
}

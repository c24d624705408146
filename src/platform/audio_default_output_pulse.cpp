#include "platform/audio_default_output.h"

#include <pulse/pulseaudio.h>

#include <chrono>

namespace {

struct Query {
    std::string sink;
    bool done = false;
};

void OnServerInfo(pa_context*, const pa_server_info* info, void* data) {
    auto* query = static_cast<Query*>(data);
    if (info && info->default_sink_name) query->sink = info->default_sink_name;
    query->done = true;
}

}  // namespace

std::string DefaultPulseSink(double timeoutSeconds) {
    pa_mainloop* loop = pa_mainloop_new();
    if (!loop) return {};
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "quillery");
    Query query;
    // The server this process would play to: PULSE_SERVER, then the
    // session's own; never start one just to ask.
    if (context && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
        pa_operation* operation = nullptr;
        while (!query.done) {
            pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) break;
            if (state == PA_CONTEXT_READY && !operation) {
                operation = pa_context_get_server_info(context, OnServerInfo, &query);
                if (!operation) break;
            }
            auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
            if (left <= 0) break;
            if (pa_mainloop_prepare(loop, static_cast<int>(left)) < 0 || pa_mainloop_poll(loop) < 0 ||
                pa_mainloop_dispatch(loop) < 0) {
                break;
            }
        }
        if (operation) {
            pa_operation_cancel(operation);
            pa_operation_unref(operation);
        }
        pa_context_disconnect(context);
    }
    if (context) pa_context_unref(context);
    pa_mainloop_free(loop);
    return query.sink;
}

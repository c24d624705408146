#include "platform/audio_library.h"
#include "platform/audio_library_api.h"
#include "platform/library_symbols.h"

#include <atomic>
#include <initializer_list>
#include <mutex>
#include <utility>
#include <vector>

#include <dlfcn.h>

namespace {

#define QUILLERY_STR2(x) #x
#define QUILLERY_STR(x) QUILLERY_STR2(x)

// The file names are the ABI versions the headers describe, so that the
// structures this layer reads match the library it runs with.
constexpr const char* kMpvLibrary = "libmpv.so.2";
constexpr const char* kAvFormatLibrary = "libavformat.so." QUILLERY_STR(LIBAVFORMAT_VERSION_MAJOR);
constexpr const char* kAvCodecLibrary = "libavcodec.so." QUILLERY_STR(LIBAVCODEC_VERSION_MAJOR);
constexpr const char* kAvUtilLibrary = "libavutil.so." QUILLERY_STR(LIBAVUTIL_VERSION_MAJOR);
constexpr const char* kPulseLibrary = "libpulse.so.0";

std::mutex& LoadMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& MpvName() {
    static std::string name;
    return name;
}

using platform::OpenLibrary;
using Resolver = platform::SymbolResolver;

std::atomic<const MpvApi*> gMpv{nullptr};
std::atomic<const AvApi*> gAv{nullptr};
std::atomic<const PulseApi*> gPulse{nullptr};

}  // namespace

// libmpv's client API major version has no macro of its own.
static_assert(MPV_CLIENT_API_VERSION >> 16 == 2, "libmpv.so.2 is the library this layer loads");

bool AudioEngineLoaded() { return gMpv.load() != nullptr; }

void SetMpvLibraryNameForTesting(const std::string& fileName) {
    std::lock_guard lock(LoadMutex());
    MpvName() = fileName;
}

const MpvApi* LoadMpv() {
    if (const MpvApi* api = gMpv.load()) return api;
    std::lock_guard lock(LoadMutex());
    if (const MpvApi* api = gMpv.load()) return api;
    void* lib = OpenLibrary(MpvName().empty() ? kMpvLibrary : MpvName().c_str());
    if (!lib) return nullptr;
    static MpvApi api;
    Resolver r({lib});
    r(api.create, "mpv_create");
    r(api.set_option_string, "mpv_set_option_string");
    r(api.initialize, "mpv_initialize");
    r(api.set_wakeup_callback, "mpv_set_wakeup_callback");
    r(api.terminate_destroy, "mpv_terminate_destroy");
    r(api.command, "mpv_command");
    r(api.command_ret, "mpv_command_ret");
    r(api.free_node_contents, "mpv_free_node_contents");
    r(api.set_property, "mpv_set_property");
    r(api.set_property_string, "mpv_set_property_string");
    r(api.get_property, "mpv_get_property");
    r(api.get_property_string, "mpv_get_property_string");
    r(api.free, "mpv_free");
    r(api.observe_property, "mpv_observe_property");
    r(api.wait_event, "mpv_wait_event");
    r(api.wakeup, "mpv_wakeup");
    if (!r.Complete()) {
        dlclose(lib);
        return nullptr;
    }
    // Kept open for the life of the process: mpv's threads run its code.
    gMpv.store(&api);
    return &api;
}

const AvApi* LoadAv() {
    if (const AvApi* api = gAv.load()) return api;
    std::lock_guard lock(LoadMutex());
    if (const AvApi* api = gAv.load()) return api;
    void* format = OpenLibrary(kAvFormatLibrary);
    void* codec = OpenLibrary(kAvCodecLibrary);
    void* util = OpenLibrary(kAvUtilLibrary);
    static AvApi api;
    Resolver r({format, codec, util});
    r(api.format_alloc_context, "avformat_alloc_context");
    r(api.format_open_input, "avformat_open_input");
    r(api.format_find_stream_info, "avformat_find_stream_info");
    r(api.format_close_input, "avformat_close_input");
    r(api.find_best_stream, "av_find_best_stream");
    r(api.read_frame, "av_read_frame");
    r(api.io_size, "avio_size");
    r(api.packet_alloc, "av_packet_alloc");
    r(api.packet_unref, "av_packet_unref");
    r(api.packet_free, "av_packet_free");
    r(api.packet_get_side_data, "av_packet_get_side_data");
    r(api.dict_set, "av_dict_set");
    r(api.dict_free, "av_dict_free");
    r(api.log_set_level, "av_log_set_level");
    if (!r.Complete()) {
        for (void* lib : {format, codec, util}) {
            if (lib) dlclose(lib);
        }
        return nullptr;
    }
    gAv.store(&api);
    return &api;
}

const PulseApi* LoadPulse() {
    if (const PulseApi* api = gPulse.load()) return api;
    std::lock_guard lock(LoadMutex());
    if (const PulseApi* api = gPulse.load()) return api;
    void* lib = OpenLibrary(kPulseLibrary);
    if (!lib) return nullptr;
    static PulseApi api;
    Resolver r({lib});
    r(api.threaded_mainloop_new, "pa_threaded_mainloop_new");
    r(api.threaded_mainloop_free, "pa_threaded_mainloop_free");
    r(api.threaded_mainloop_start, "pa_threaded_mainloop_start");
    r(api.threaded_mainloop_stop, "pa_threaded_mainloop_stop");
    r(api.threaded_mainloop_get_api, "pa_threaded_mainloop_get_api");
    r(api.context_new, "pa_context_new");
    r(api.context_unref, "pa_context_unref");
    r(api.context_connect, "pa_context_connect");
    r(api.context_disconnect, "pa_context_disconnect");
    r(api.context_get_state, "pa_context_get_state");
    r(api.context_set_state_callback, "pa_context_set_state_callback");
    r(api.context_set_subscribe_callback, "pa_context_set_subscribe_callback");
    r(api.context_subscribe, "pa_context_subscribe");
    r(api.context_get_server_info, "pa_context_get_server_info");
    r(api.operation_unref, "pa_operation_unref");
    if (!r.Complete()) {
        dlclose(lib);
        return nullptr;
    }
    gPulse.store(&api);
    return &api;
}

#include "platform/mpv_handle.h"

#include "platform/audio_library_api.h"

#include <clocale>
#include <cstring>

namespace {

void WakeupTrampoline(void* data) {
    auto* fn = static_cast<std::function<void()>*>(data);
    if (fn && *fn) (*fn)();
}

MpvEvent::EndReason ToEndReason(mpv_end_file_reason r) {
    switch (r) {
        case MPV_END_FILE_REASON_EOF: return MpvEvent::EndReason::Eof;
        case MPV_END_FILE_REASON_STOP: return MpvEvent::EndReason::Stop;
        case MPV_END_FILE_REASON_QUIT: return MpvEvent::EndReason::Quit;
        case MPV_END_FILE_REASON_ERROR: return MpvEvent::EndReason::Error;
        case MPV_END_FILE_REASON_REDIRECT: return MpvEvent::EndReason::Redirect;
    }
    return MpvEvent::EndReason::Unknown;
}

const mpv_node* MapValue(const mpv_node& map, const char* key) {
    if (map.format != MPV_FORMAT_NODE_MAP) return nullptr;
    for (int i = 0; i < map.u.list->num; ++i) {
        if (std::strcmp(map.u.list->keys[i], key) == 0) return &map.u.list->values[i];
    }
    return nullptr;
}

std::string NodeText(const mpv_node* node) {
    if (node && node->format == MPV_FORMAT_STRING && node->u.string) return node->u.string;
    return {};
}

std::vector<MpvDevice> NodeDevices(const mpv_node& list) {
    std::vector<MpvDevice> devices;
    if (list.format != MPV_FORMAT_NODE_ARRAY) return devices;
    for (int i = 0; i < list.u.list->num; ++i) {
        const mpv_node& entry = list.u.list->values[i];
        devices.push_back({NodeText(MapValue(entry, "name")), NodeText(MapValue(entry, "description"))});
    }
    return devices;
}

}  // namespace

MpvHandle::MpvHandle() = default;

MpvHandle::~MpvHandle() { Destroy(); }

int MpvHandle::Create(const Options& options, std::function<void()> wakeup) {
    Destroy();
    // mpv refuses to start under a locale whose decimal point is not '.'.
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    if (!numeric || std::strcmp(numeric, "C") != 0) std::setlocale(LC_NUMERIC, "C");

    // libmpv is opened on the first handle; without it there is no output
    // to initialize.
    api_ = LoadMpv();
    if (!api_) return MPV_ERROR_UNINITIALIZED;
    handle_ = api_->create();
    if (!handle_) return MPV_ERROR_NOMEM;
    for (const auto& [name, value] : options) {
        int rc = api_->set_option_string(handle_, name.c_str(), value.c_str());
        if (rc < 0) {
            Destroy();
            return rc;
        }
    }
    int rc = api_->initialize(handle_);
    if (rc < 0) {
        Destroy();
        return rc;
    }
    wakeup_ = std::make_unique<std::function<void()>>(std::move(wakeup));
    api_->set_wakeup_callback(handle_, WakeupTrampoline, wakeup_.get());
    return 0;
}

void MpvHandle::Destroy() {
    if (!handle_) return;
    api_->set_wakeup_callback(handle_, nullptr, nullptr);
    api_->terminate_destroy(handle_);
    handle_ = nullptr;
    wakeup_.reset();
}

int MpvHandle::Command(const std::vector<std::string>& args) {
    if (!handle_) return MPV_ERROR_UNINITIALIZED;
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    return api_->command(handle_, argv.data());
}

int MpvHandle::LoadFile(const std::string& target, int64_t* entryId) {
    if (!handle_) return MPV_ERROR_UNINITIALIZED;
    const char* argv[] = {"loadfile", target.c_str(), "replace", nullptr};
    mpv_node result{};
    int rc = api_->command_ret(handle_, argv, &result);
    if (rc >= 0) {
        const mpv_node* id = MapValue(result, "playlist_entry_id");
        *entryId = (id && id->format == MPV_FORMAT_INT64) ? id->u.int64 : 0;
        api_->free_node_contents(&result);
    }
    return rc;
}

int MpvHandle::SetFlag(const char* name, bool value) {
    if (!handle_) return MPV_ERROR_UNINITIALIZED;
    int flag = value ? 1 : 0;
    return api_->set_property(handle_, name, MPV_FORMAT_FLAG, &flag);
}

int MpvHandle::SetDouble(const char* name, double value) {
    if (!handle_) return MPV_ERROR_UNINITIALIZED;
    return api_->set_property(handle_, name, MPV_FORMAT_DOUBLE, &value);
}

int MpvHandle::SetString(const char* name, const std::string& value) {
    if (!handle_) return MPV_ERROR_UNINITIALIZED;
    return api_->set_property_string(handle_, name, value.c_str());
}

std::string MpvHandle::GetString(const char* name) const {
    if (!handle_) return {};
    char* value = api_->get_property_string(handle_, name);
    if (!value) return {};
    std::string text = value;
    api_->free(value);
    return text;
}

std::optional<bool> MpvHandle::GetFlag(const char* name) const {
    int flag = 0;
    if (!handle_ || api_->get_property(handle_, name, MPV_FORMAT_FLAG, &flag) < 0) return std::nullopt;
    return flag != 0;
}

std::optional<double> MpvHandle::GetDouble(const char* name) const {
    double value = 0;
    if (!handle_ || api_->get_property(handle_, name, MPV_FORMAT_DOUBLE, &value) < 0) return std::nullopt;
    return value;
}

std::vector<MpvDevice> MpvHandle::GetDeviceList() const {
    std::vector<MpvDevice> devices;
    mpv_node list{};
    if (!handle_ || api_->get_property(handle_, "audio-device-list", MPV_FORMAT_NODE, &list) < 0) return devices;
    devices = NodeDevices(list);
    api_->free_node_contents(&list);
    return devices;
}

int MpvHandle::ObserveFlag(uint64_t id, const char* name) {
    if (!handle_) return MPV_ERROR_UNINITIALIZED;
    return api_->observe_property(handle_, id, name, MPV_FORMAT_FLAG);
}

int MpvHandle::ObserveDeviceList(uint64_t id) const {
    if (!handle_) return MPV_ERROR_UNINITIALIZED;
    return api_->observe_property(handle_, id, "audio-device-list", MPV_FORMAT_NODE);
}

MpvEvent MpvHandle::WaitEvent(double timeoutSeconds) {
    MpvEvent out;
    if (!handle_) return out;
    const mpv_event* e = api_->wait_event(handle_, timeoutSeconds);
    switch (e->event_id) {
        case MPV_EVENT_NONE: break;
        case MPV_EVENT_START_FILE:
            out.kind = MpvEvent::Kind::StartFile;
            out.entryId = static_cast<const mpv_event_start_file*>(e->data)->playlist_entry_id;
            break;
        case MPV_EVENT_FILE_LOADED: out.kind = MpvEvent::Kind::FileLoaded; break;
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<const mpv_event_end_file*>(e->data);
            out.kind = MpvEvent::Kind::EndFile;
            out.entryId = end->playlist_entry_id;
            out.endReason = ToEndReason(end->reason);
            out.error = end->error;
            break;
        }
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* prop = static_cast<const mpv_event_property*>(e->data);
            out.kind = MpvEvent::Kind::PropertyChange;
            out.property = prop->name ? prop->name : "";
            if (prop->format == MPV_FORMAT_FLAG && prop->data) out.flag = *static_cast<const int*>(prop->data) != 0;
            if (prop->format == MPV_FORMAT_NODE && prop->data) {
                out.devices = NodeDevices(*static_cast<const mpv_node*>(prop->data));
            }
            break;
        }
        case MPV_EVENT_PLAYBACK_RESTART: out.kind = MpvEvent::Kind::PlaybackRestart; break;
        case MPV_EVENT_SHUTDOWN: out.kind = MpvEvent::Kind::Shutdown; break;
        default: out.kind = MpvEvent::Kind::Other; break;
    }
    return out;
}

void MpvHandle::Wakeup() {
    if (handle_) api_->wakeup(handle_);
}

// MPRIS over GDBus. The bus connection lives in GLib's default main
// context, which the toolkit runs, so every method call and property
// request reaches the player on the UI thread.
#include "platform/mpris.h"

#include <gio/gio.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

const char kObjectPath[] = "/org/mpris/MediaPlayer2";
const char kRootInterface[] = "org.mpris.MediaPlayer2";
const char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
const char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

const char kIntrospection[] = R"(<node>
  <interface name="org.mpris.MediaPlayer2">
    <method name="Raise"/>
    <method name="Quit"/>
    <property name="CanQuit" type="b" access="read"/>
    <property name="CanRaise" type="b" access="read"/>
    <property name="CanSetFullscreen" type="b" access="read"/>
    <property name="Fullscreen" type="b" access="read"/>
    <property name="HasTrackList" type="b" access="read"/>
    <property name="Identity" type="s" access="read"/>
    <property name="DesktopEntry" type="s" access="read"/>
    <property name="SupportedUriSchemes" type="as" access="read"/>
    <property name="SupportedMimeTypes" type="as" access="read"/>
  </interface>
  <interface name="org.mpris.MediaPlayer2.Player">
    <method name="Next"/>
    <method name="Previous"/>
    <method name="Pause"/>
    <method name="PlayPause"/>
    <method name="Stop"/>
    <method name="Play"/>
    <method name="Seek"><arg direction="in" name="Offset" type="x"/></method>
    <method name="SetPosition">
      <arg direction="in" name="TrackId" type="o"/>
      <arg direction="in" name="Position" type="x"/>
    </method>
    <method name="OpenUri"><arg direction="in" name="Uri" type="s"/></method>
    <signal name="Seeked"><arg name="Position" type="x"/></signal>
    <property name="PlaybackStatus" type="s" access="read"/>
    <property name="LoopStatus" type="s" access="readwrite"/>
    <property name="Rate" type="d" access="readwrite"/>
    <property name="Shuffle" type="b" access="readwrite"/>
    <property name="Metadata" type="a{sv}" access="read"/>
    <property name="Volume" type="d" access="readwrite"/>
    <property name="Position" type="x" access="read"/>
    <property name="MinimumRate" type="d" access="read"/>
    <property name="MaximumRate" type="d" access="read"/>
    <property name="CanGoNext" type="b" access="read"/>
    <property name="CanGoPrevious" type="b" access="read"/>
    <property name="CanPlay" type="b" access="read"/>
    <property name="CanPause" type="b" access="read"/>
    <property name="CanSeek" type="b" access="read"/>
    <property name="CanControl" type="b" access="read"/>
  </interface>
</node>)";

const char* const kMimeTypes[] = {"audio/mpeg", "audio/x-wav", "audio/flac", "audio/mp4",
                                  "audio/aac",  "audio/ogg",   "audio/x-ms-wma", nullptr};

int64_t NowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

GVariant* Metadata(const std::optional<MprisTrack>& track) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a{sv}"));
    const char* id = track && g_variant_is_object_path(track->id.c_str()) ? track->id.c_str() : kNoTrack;
    g_variant_builder_add(&builder, "{sv}", "mpris:trackid", g_variant_new_object_path(id));
    if (track) {
        if (track->lengthUs > 0) {
            g_variant_builder_add(&builder, "{sv}", "mpris:length", g_variant_new_int64(track->lengthUs));
        }
        g_variant_builder_add(&builder, "{sv}", "xesam:title", g_variant_new_string(track->title.c_str()));
        if (!track->album.empty()) {
            g_variant_builder_add(&builder, "{sv}", "xesam:album", g_variant_new_string(track->album.c_str()));
        }
        if (!track->url.empty()) {
            g_variant_builder_add(&builder, "{sv}", "xesam:url", g_variant_new_string(track->url.c_str()));
        }
    }
    return g_variant_builder_end(&builder);
}

// Text that is not UTF-8 would make GLib refuse the whole answer.
std::string ValidUtf8(const std::string& text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return text;
    gchar* fixed = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(fixed);
    g_free(fixed);
    return result;
}

class GdbusMprisService final : public MprisService {
public:
    GdbusMprisService(const MprisIdentity& identity, MprisPlayer& player)
        : identity_(identity), player_(player), cancellable_(g_cancellable_new()) {}

    ~GdbusMprisService() override {
        // A connection still on its way is dropped unseen (OnBus).
        g_cancellable_cancel(cancellable_);
        g_object_unref(cancellable_);
        if (ownerId_) g_bus_unown_name(ownerId_);
        for (guint id : registrations_) {
            if (id) g_dbus_connection_unregister_object(connection_, id);
        }
        if (nodeInfo_) g_dbus_node_info_unref(nodeInfo_);
        if (connection_) g_object_unref(connection_);
    }

    // Connects to the session bus without waiting for it: the window is
    // being built meanwhile. The service registers once connected.
    void Connect() { g_bus_get(G_BUS_TYPE_SESSION, cancellable_, &OnBus, this); }

    void Refresh() override {
        if (!connection_) return;  // not registered yet: nobody has heard anything
        RefreshRegistered();
    }

    std::string BusName() const override { return busName_; }

private:
    static void OnBus(GObject*, GAsyncResult* result, gpointer data) {
        GError* error = nullptr;
        // Cancelled means the service is gone: `data` must not be touched.
        GDBusConnection* connection = g_bus_get_finish(result, &error);
        if (!connection) {
            g_clear_error(&error);
            return;
        }
        auto* self = static_cast<GdbusMprisService*>(data);
        self->connection_ = connection;
        self->Register();
    }

    bool Register() {
        nodeInfo_ = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
        if (!nodeInfo_) return false;
        static const GDBusInterfaceVTable vtable = {&OnMethodCall, &OnGetProperty, &OnSetProperty, {}};
        for (int i = 0; i < 2; ++i) {
            registrations_[i] = g_dbus_connection_register_object(
                connection_, kObjectPath, nodeInfo_->interfaces[i], &vtable, this, nullptr, nullptr);
            if (!registrations_[i]) return false;
        }
        sent_ = player_.State();
        lastPositionUs_ = player_.PositionUs();
        lastRefreshUs_ = NowUs();
        Own("org.mpris.MediaPlayer2." + identity_.busSuffix);
        return true;
    }

    void RefreshRegistered() {
        MprisState now = player_.State();
        int64_t position = player_.PositionUs();
        int64_t clock = NowUs();
        if (!(now == sent_)) SendChanges(now);
        // While playing the position runs with the clock; anything else
        // that moved it by more than a second was a seek.
        bool sameTrack = now.track == sent_.track;
        int64_t expected = lastPositionUs_ + (sent_.playbackStatus == "Playing" ? clock - lastRefreshUs_ : 0);
        if (sameTrack && now.track && std::llabs(position - expected) > 1'000'000) {
            g_dbus_connection_emit_signal(connection_, nullptr, kObjectPath, kPlayerInterface, "Seeked",
                                          g_variant_new("(x)", static_cast<gint64>(position)), nullptr);
        }
        sent_ = std::move(now);
        lastPositionUs_ = position;
        lastRefreshUs_ = clock;
    }

    void Own(const std::string& name) {
        requestedName_ = name;
        ownerId_ = g_bus_own_name_on_connection(connection_, name.c_str(), G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE,
                                                &OnNameAcquired, &OnNameLost, this, nullptr);
    }

    static void OnNameAcquired(GDBusConnection*, const gchar* name, gpointer data) {
        static_cast<GdbusMprisService*>(data)->busName_ = name;
    }

    static void OnNameLost(GDBusConnection*, const gchar* name, gpointer data) {
        auto* self = static_cast<GdbusMprisService*>(data);
        std::string instance = "org.mpris.MediaPlayer2." + self->identity_.busSuffix + ".instance" +
                               std::to_string(static_cast<long>(getpid()));
        // Another copy of the program has the plain name: take our own.
        if (name && self->requestedName_ != instance && self->busName_.empty()) {
            g_bus_unown_name(self->ownerId_);
            self->Own(instance);
        }
    }

    void SendChanges(const MprisState& now) {
        GVariantBuilder changed;
        g_variant_builder_init(&changed, G_VARIANT_TYPE("a{sv}"));
        auto add = [&changed](const char* name, GVariant* value) {
            g_variant_builder_add(&changed, "{sv}", name, value);
        };
        if (now.playbackStatus != sent_.playbackStatus) add("PlaybackStatus", g_variant_new_string(now.playbackStatus.c_str()));
        if (now.loopStatus != sent_.loopStatus) add("LoopStatus", g_variant_new_string(now.loopStatus.c_str()));
        if (now.shuffle != sent_.shuffle) add("Shuffle", g_variant_new_boolean(now.shuffle));
        if (now.volume != sent_.volume) add("Volume", g_variant_new_double(now.volume));
        if (!(now.track == sent_.track)) add("Metadata", Metadata(Clean(now.track)));
        if (now.canGoNext != sent_.canGoNext) add("CanGoNext", g_variant_new_boolean(now.canGoNext));
        if (now.canGoPrevious != sent_.canGoPrevious) add("CanGoPrevious", g_variant_new_boolean(now.canGoPrevious));
        if (now.canPlay != sent_.canPlay) add("CanPlay", g_variant_new_boolean(now.canPlay));
        if (now.canPause != sent_.canPause) add("CanPause", g_variant_new_boolean(now.canPause));
        if (now.canSeek != sent_.canSeek) add("CanSeek", g_variant_new_boolean(now.canSeek));
        g_dbus_connection_emit_signal(connection_, nullptr, kObjectPath, "org.freedesktop.DBus.Properties",
                                      "PropertiesChanged",
                                      g_variant_new("(sa{sv}as)", kPlayerInterface, &changed, nullptr), nullptr);
    }

    static std::optional<MprisTrack> Clean(std::optional<MprisTrack> track) {
        if (track) {
            track->title = ValidUtf8(track->title);
            track->album = ValidUtf8(track->album);
            track->url = ValidUtf8(track->url);
        }
        return track;
    }

    GVariant* RootProperty(const std::string& name) {
        if (name == "CanQuit" || name == "CanRaise") return g_variant_new_boolean(TRUE);
        if (name == "CanSetFullscreen" || name == "Fullscreen" || name == "HasTrackList") {
            return g_variant_new_boolean(FALSE);
        }
        if (name == "Identity") return g_variant_new_string(ValidUtf8(identity_.identity).c_str());
        if (name == "DesktopEntry") return g_variant_new_string(ValidUtf8(identity_.desktopEntry).c_str());
        if (name == "SupportedUriSchemes") {
            const char* const schemes[] = {"file", nullptr};
            return g_variant_new_strv(schemes, -1);
        }
        if (name == "SupportedMimeTypes") return g_variant_new_strv(kMimeTypes, -1);
        return nullptr;
    }

    GVariant* PlayerProperty(const std::string& name) {
        if (name == "Position") return g_variant_new_int64(player_.PositionUs());
        if (name == "Rate" || name == "MinimumRate" || name == "MaximumRate") return g_variant_new_double(1.0);
        if (name == "CanControl") return g_variant_new_boolean(TRUE);
        MprisState state = player_.State();
        if (name == "PlaybackStatus") return g_variant_new_string(state.playbackStatus.c_str());
        if (name == "LoopStatus") return g_variant_new_string(state.loopStatus.c_str());
        if (name == "Shuffle") return g_variant_new_boolean(state.shuffle);
        if (name == "Volume") return g_variant_new_double(state.volume);
        if (name == "Metadata") return Metadata(Clean(state.track));
        if (name == "CanGoNext") return g_variant_new_boolean(state.canGoNext);
        if (name == "CanGoPrevious") return g_variant_new_boolean(state.canGoPrevious);
        if (name == "CanPlay") return g_variant_new_boolean(state.canPlay);
        if (name == "CanPause") return g_variant_new_boolean(state.canPause);
        if (name == "CanSeek") return g_variant_new_boolean(state.canSeek);
        return nullptr;
    }

    static GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar* interfaceName,
                                   const gchar* propertyName, GError** error, gpointer data) {
        auto* self = static_cast<GdbusMprisService*>(data);
        GVariant* value = g_strcmp0(interfaceName, kRootInterface) == 0 ? self->RootProperty(propertyName)
                                                                         : self->PlayerProperty(propertyName);
        if (!value) {
            g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "No property %s", propertyName);
        }
        return value;
    }

    static gboolean OnSetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar* interfaceName,
                                  const gchar* propertyName, GVariant* value, GError** error, gpointer data) {
        auto* self = static_cast<GdbusMprisService*>(data);
        std::string name = propertyName;
        bool player = g_strcmp0(interfaceName, kPlayerInterface) == 0;
        if (player && name == "LoopStatus" && g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) {
            self->player_.SetLoopStatus(g_variant_get_string(value, nullptr));
        } else if (player && name == "Shuffle" && g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN)) {
            self->player_.SetShuffle(g_variant_get_boolean(value));
        } else if (player && name == "Volume" && g_variant_is_of_type(value, G_VARIANT_TYPE_DOUBLE)) {
            self->player_.SetVolume(g_variant_get_double(value));
        } else if (player && name == "Rate" && g_variant_is_of_type(value, G_VARIANT_TYPE_DOUBLE)) {
            // Only the normal rate is offered; other rates are ignored.
        } else {
            g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_PROPERTY_READ_ONLY, "Cannot set %s", propertyName);
            return FALSE;
        }
        self->Refresh();
        return TRUE;
    }

    static void OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar* interfaceName,
                             const gchar* methodName, GVariant* parameters, GDBusMethodInvocation* invocation,
                             gpointer data) {
        auto* self = static_cast<GdbusMprisService*>(data);
        MprisPlayer& p = self->player_;
        std::string method = methodName;
        bool root = g_strcmp0(interfaceName, kRootInterface) == 0;
        if (method == "OpenUri") {
            const gchar* uri = nullptr;
            g_variant_get(parameters, "(&s)", &uri);
            if (p.OpenUri(uri ? uri : "")) {
                g_dbus_method_invocation_return_value(invocation, nullptr);
            } else {
                g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                                      "Only local audio files can be opened: %s", uri ? uri : "");
            }
            self->Refresh();
            return;
        }
        // Answer first: Quit may end the program before the call returns.
        g_dbus_method_invocation_return_value(invocation, nullptr);
        if (root && method == "Raise") p.Raise();
        else if (root && method == "Quit") { p.Quit(); return; }
        else if (method == "Play") p.Play();
        else if (method == "Pause") p.Pause();
        else if (method == "PlayPause") p.PlayPause();
        else if (method == "Stop") p.Stop();
        else if (method == "Next") p.Next();
        else if (method == "Previous") p.Previous();
        else if (method == "Seek") {
            gint64 offset = 0;
            g_variant_get(parameters, "(x)", &offset);
            p.Seek(offset);
        } else if (method == "SetPosition") {
            const gchar* track = nullptr;
            gint64 position = 0;
            g_variant_get(parameters, "(&ox)", &track, &position);
            p.SetPosition(track ? track : "", position);
        }
        self->Refresh();
    }

    GDBusConnection* connection_ = nullptr;
    MprisIdentity identity_;
    MprisPlayer& player_;
    GCancellable* cancellable_;
    GDBusNodeInfo* nodeInfo_ = nullptr;
    guint registrations_[2] = {0, 0};
    guint ownerId_ = 0;
    std::string requestedName_;
    std::string busName_;
    MprisState sent_;
    int64_t lastPositionUs_ = 0;
    int64_t lastRefreshUs_ = 0;
};

}  // namespace

std::unique_ptr<MprisService> MprisService::Start(const MprisIdentity& identity, MprisPlayer& player) {
    // Without a session bus (a bare console, some test runs) there is no
    // one to serve. Asking anyway would make GLib start a bus of its own
    // through X11 autolaunch, which nobody would listen to.
    const gchar* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!address || !*address) {
        const gchar* runtime = g_getenv("XDG_RUNTIME_DIR");
        if (!runtime) return nullptr;
        gchar* socket = g_build_filename(runtime, "bus", nullptr);
        bool present = g_file_test(socket, G_FILE_TEST_EXISTS);
        g_free(socket);
        if (!present) return nullptr;
    }
    auto service = std::make_unique<GdbusMprisService>(identity, player);
    service->Connect();
    return service;
}

}  // namespace platform

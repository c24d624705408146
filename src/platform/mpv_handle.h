// A thin owner of one libmpv client handle. It turns mpv's C calls, nodes
// and events into plain C++ values so that no other file needs the mpv
// headers; it adds no policy of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct mpv_handle;
struct MpvApi;

struct MpvDevice {
    std::string name;         // e.g. "pulse/alsa_output.pci-0000_00_1b.0.analog-stereo"
    std::string description;  // as the sound server names it
};

struct MpvEvent {
    enum class Kind { None, StartFile, FileLoaded, EndFile, PropertyChange, PlaybackRestart, Shutdown, Other };
    enum class EndReason { Eof, Stop, Quit, Error, Redirect, Unknown };

    Kind kind = Kind::None;
    int64_t entryId = 0;              // StartFile, EndFile
    EndReason endReason = EndReason::Unknown;
    int error = 0;                    // EndFile with reason Error: an mpv error code (< 0)
    std::string property;             // PropertyChange
    std::optional<bool> flag;         // PropertyChange of a flag property, if available
    // PropertyChange of "audio-device-list" observed with ObserveDeviceList.
    std::optional<std::vector<MpvDevice>> devices;
};

class MpvHandle {
public:
    using Options = std::vector<std::pair<std::string, std::string>>;

    MpvHandle();
    ~MpvHandle();
    MpvHandle(const MpvHandle&) = delete;
    MpvHandle& operator=(const MpvHandle&) = delete;

    // Creates and initializes a client with the given options; returns 0 or
    // an mpv error code (MPV_ERROR_UNINITIALIZED when libmpv cannot be
    // loaded). The wake-up runs on an mpv thread.
    int Create(const Options& options, std::function<void()> wakeup);
    // Clears the wake-up first, so it never runs after this returns.
    void Destroy();
    bool IsOpen() const { return handle_ != nullptr; }

    int Command(const std::vector<std::string>& args);
    // loadfile … replace; on success fills the new playlist entry's id.
    int LoadFile(const std::string& target, int64_t* entryId);

    int SetFlag(const char* name, bool value);
    int SetDouble(const char* name, double value);
    int SetString(const char* name, const std::string& value);
    std::optional<bool> GetFlag(const char* name) const;
    std::optional<double> GetDouble(const char* name) const;
    // Empty when the property is unavailable (e.g. "current-ao" while no
    // output is open).
    std::string GetString(const char* name) const;
    std::vector<MpvDevice> GetDeviceList() const;

    int ObserveFlag(uint64_t id, const char* name);
    // mpv then sends the list at once and again whenever the sound server's
    // devices change.
    int ObserveDeviceList(uint64_t id) const;
    // Waits up to timeout seconds (0: does not wait) for the next event.
    MpvEvent WaitEvent(double timeoutSeconds);
    // Makes a pending WaitEvent return at once (thread-safe).
    void Wakeup();

private:
    const MpvApi* api_ = nullptr;  // set whenever handle_ is
    mpv_handle* handle_ = nullptr;
    std::unique_ptr<std::function<void()>> wakeup_;
};

// A private PulseAudio server for tests that need a sound server: its own
// runtime folder and socket, null sinks only, started and stopped by the
// test, off the session bus so parallel tests never meet.
#pragma once

#include "support/temp_dir.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace qtest {

class PulseServer {
public:
    // Loads each module line (e.g. "module-null-sink sink_name=a") before the
    // socket opens, so a running server already has them.
    explicit PulseServer(const std::vector<std::string>& modules = {"module-null-sink"});
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // False when pulseaudio could not start (not installed, refused).
    bool running() const { return running_; }
    // The value for PULSE_SERVER.
    std::string address() const { return "unix:" + socket_; }
    // pactl's output for the arguments, run against this server.
    std::string Pactl(const std::string& args) const;
    // Ends the server now, as when the sound server goes away under a
    // program; running() is false afterwards.
    void Stop();

private:
    TempDir dir_;
    std::string socket_;
    pid_t pid_ = -1;
    bool running_ = false;
};

}  // namespace qtest

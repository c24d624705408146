// A private PulseAudio server with a null sink, for tests that need a sound
// server: its own runtime folder and socket, started and stopped by the test.
#pragma once

#include "support/temp_dir.h"

#include <string>
#include <sys/types.h>

namespace qtest {

class PulseServer {
public:
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // False when pulseaudio could not start (not installed, refused).
    bool running() const { return running_; }
    // The value for PULSE_SERVER.
    std::string address() const { return "unix:" + socket_; }

private:
    TempDir dir_;
    std::string socket_;
    pid_t pid_ = -1;
    bool running_ = false;
};

}  // namespace qtest

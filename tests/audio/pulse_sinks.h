// A private PulseAudio server with two null sinks ("Alpha", "Beta") for
// device tests; this process is pointed at it through PULSE_SERVER.
// Available() is false when pulseaudio cannot be started here.
#pragma once

#include "support/pulse_server.h"

#include <string>

namespace qtest {

class PulseSinks {
public:
    PulseSinks();
    ~PulseSinks();
    PulseSinks(const PulseSinks&) = delete;
    PulseSinks& operator=(const PulseSinks&) = delete;

    bool Available() const { return available_; }
    // The sink name ("a" or "b") each playing stream is on, in stream order.
    std::string SinksOfStreams() const;
    // Suspends a sink ("a" or "b"): new streams on it are refused, so a
    // switch to it fails once the player tries to use it.
    void Suspend(const std::string& sink) const;
    // Makes a sink ("a" or "b") the server's default, where a program that
    // asks for no device in particular plays.
    void SetDefault(const std::string& sink) const;
    // A third sink, "c" described as "Gamma", plugged in.
    void AddSink() const;
    // The sound server goes away.
    void StopServer() { server_.Stop(); }

private:
    PulseServer server_;
    bool available_ = false;
};

}  // namespace qtest

// Which output the sound server plays to when a program asks for "the
// default": libmpv plays there when no device is chosen, but cannot say
// which one it is.
#pragma once

#include <memory>
#include <string>

// Keeps one connection to the PulseAudio (or PipeWire-Pulse) server and
// learns the default sink from the server's change notices, so asking is
// free however often the status line asks.
class DefaultSinkWatch {
public:
    DefaultSinkWatch();
    ~DefaultSinkWatch();
    DefaultSinkWatch(const DefaultSinkWatch&) = delete;
    DefaultSinkWatch& operator=(const DefaultSinkWatch&) = delete;

    // The default sink's name, as mpv's device names use it after "pulse/";
    // empty when no server answers. Waits up to timeoutSeconds only for the
    // first answer after connecting; a server that went away is asked again
    // at most once a second.
    std::string Current(double timeoutSeconds);

private:
    struct Connection;
    std::shared_ptr<Connection> connection_;
};

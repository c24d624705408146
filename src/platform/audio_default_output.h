// Which output the sound server plays to when a program asks for "the
// default": libmpv plays there when no device is chosen, but cannot say
// which one it is.
#pragma once

#include <string>

// The name of the PulseAudio (or PipeWire-Pulse) server's default sink, as
// mpv's device names use it after "pulse/"; empty when no server answers
// within the timeout.
std::string DefaultPulseSink(double timeoutSeconds);

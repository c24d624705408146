// Reads a medium's container before or beside playback: whether it holds a
// playable sound track, and its exact length. mpv estimates the length of
// an MP3 without a Xing header from its first frames, which can be off by
// half; counting the packets gives what the user actually hears.
#pragma once

#include "platform/audio_errors.h"

#include <atomic>
#include <string>

struct AudioProbeResult {
    AudioErrorCode error = AudioErrorCode::Ok;
    double lengthSeconds = 0;  // 0 when unknown, e.g. a live stream
};

// source: a local path or an http(s) URL (UTF-8). Blocks while it reads:
// the engine calls it on a worker thread. cancel (may be null) aborts
// early; timeoutSeconds bounds each network wait.
AudioProbeResult ProbeAudio(const std::string& source, bool isUrl, double timeoutSeconds,
                            const std::atomic<bool>* cancel);

// Helpers shared by the audio tests: a player on the null output and
// waits that pump the player's events.
#pragma once

#include "music/audio_player.h"

#include <wx/string.h>

#include <memory>
#include <string>

namespace qtest {

inline AudioEngineOptions NullOutput(double networkTimeout = 5) {
    AudioEngineOptions options;
    options.audioOutputs = "null";
    options.networkTimeoutSeconds = networkTimeout;
    return options;
}

inline wxString U8(const std::string& s) { return wxString::FromUTF8(s.c_str()); }

// Waits (pumping events) until the position has moved past `seconds`.
inline bool WaitForPosition(AudioPlayer& player, double seconds, double timeout = 5) {
    return player.WaitUntil([&] { return player.GetPosition() > seconds; }, timeout);
}

inline bool WaitForEnd(AudioPlayer& player, double timeout) {
    return player.WaitUntil([&] { return player.HasMedia() && !player.IsPlaying() && !player.IsPaused(); },
                            timeout);
}

}  // namespace qtest

// Short sound effects through the desktop sound server, independent of the
// music player: a cue can sound over music that plays.
#pragma once

#include <string>

namespace platform {

// Plays a WAV or Ogg file by path and returns whether the sound started.
// A missing file, an unreadable file or no sound server all fail silently
// and at once. A new cue cuts off the one still sounding, so quick key
// presses do not pile up sounds. With `wait` set the call returns when the
// sound has finished (never longer than a few seconds, should the server
// stop answering); without it the call returns at once.
bool PlaySoundFile(const std::string& path, bool wait);

// Plays a file as PlaySoundFile does without waiting, but from a thread of
// its own: the caller does not wait even for the first cue, which loads the
// sound library and connects to the server. Cues play in the order given;
// one not yet begun when a newer one comes is skipped.
void StartSoundFile(const std::string& path);

}  // namespace platform

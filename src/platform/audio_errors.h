// Failure codes of the audio layer. The numbers are the ones the player's
// error-text table is keyed by, so that texts stay the same whatever
// library decodes underneath.
#pragma once

enum class AudioErrorCode : int {
    Ok = 0,
    Memory = 1,
    FileOpen = 2,
    Driver = 3,
    Handle = 5,
    Format = 6,
    NotInitialized = 8,
    Already = 14,
    NoNetwork = 32,
    Timeout = 40,
    FileFormat = 41,
    Codec = 44,
    Ended = 45,
};

// Maps a libmpv error (negative) to a code; isUrl tells network from disk.
AudioErrorCode AudioErrorFromMpv(int mpvError, bool isUrl);

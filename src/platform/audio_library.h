// The audio engine's shared libraries (libmpv, libav*, libpulse) are
// opened with dlopen on first use rather than linked, so that a program
// that never plays a sound never loads them, and a system without them
// still starts: the player then answers with its usual error text.
#pragma once

#include <string>

// Whether libmpv has been loaded into this process.
bool AudioEngineLoaded();

// Tests name a library file that does not exist here to see a failed load;
// an empty name restores the real one. Only before the first successful
// load has an effect.
void SetMpvLibraryNameForTesting(const std::string& fileName);

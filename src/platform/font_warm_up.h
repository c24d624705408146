// The font configuration, read on a thread of its own while the program
// starts: the toolkit reads it before the window's first text is measured,
// and would otherwise wait for it there.
#pragma once

#include <thread>

namespace platform {

class FontWarmUp {
public:
    FontWarmUp();
    // Waits for the reading (long finished by the time the program ends).
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread thread_;
};

}  // namespace platform

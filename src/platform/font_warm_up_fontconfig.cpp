#include "platform/font_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace platform {

// fontconfig reads its configuration once per process, whichever thread
// asks first; the toolkit's own first call then finds it done.
FontWarmUp::FontWarmUp() {
    try {
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to be had: the toolkit reads it when it needs it.
    }
}

FontWarmUp::~FontWarmUp() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace platform

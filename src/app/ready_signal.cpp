#include "app/ready_signal.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

void SignalFirstViewShown()
{
    const char* value = std::getenv("QUILLERY_READY_FD");
    if (!value) return;
    std::string text = value;
    // Only once, and never for the programs this one starts.
    unsetenv("QUILLERY_READY_FD");
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return;
    int fd = std::atoi(text.c_str());
    // The standard streams are never taken for it.
    if (fd < 3) return;
    static const char kLine[] = "ready\n";
    ssize_t written;
    do {
        written = ::write(fd, kLine, sizeof kLine - 1);
    } while (written < 0 && errno == EINTR);
    ::close(fd);
}

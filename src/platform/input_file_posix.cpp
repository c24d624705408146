#include "platform/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

InputFile::InputFile(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY))
{
}

InputFile::~InputFile()
{
    if (fd_ >= 0) ::close(fd_);
}

int64_t InputFile::Length() const
{
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

size_t InputFile::ReadFully(char* dest, size_t size)
{
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd_, dest + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    return got;
}

}  // namespace platform

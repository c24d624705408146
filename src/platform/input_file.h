// Reading a local file's bytes in one go, for sending it whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class InputFile {
public:
    // `path` in the file system's own bytes. Opening never blocks, even on
    // a FIFO with no writer.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // The length of a regular file; -1 for anything else (a FIFO, a device
    // or a folder has no length to trust) or when it cannot be read.
    int64_t Length() const;
    // Reads until `size` bytes are in `dest` or the file ends; returns how
    // many arrived.
    size_t ReadFully(char* dest, size_t size);

private:
    int fd_ = -1;
};

}  // namespace platform

#pragma once

// Blocking socket chores shared by the loopback test peers (the recording
// server and the forward proxy).

#include <cstddef>
#include <string>

namespace qtest {

// Sends every byte; false once the peer has gone.
bool SendAll(int fd, const char* data, size_t size);

// Reads more bytes into `buf`; false on EOF, error or 10 s of silence.
bool ReadMore(int fd, std::string& buf);

// Reads until `buf` holds a whole request head; returns the offset of its
// closing blank line, or npos when the peer went quiet, closed, or sent
// more than 1 MiB without one.
size_t ReadHead(int fd, std::string& buf);

}  // namespace qtest

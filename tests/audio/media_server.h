// A loopback http server for media tests: files of a folder under /media/
// (with Range support, so seeking works), /live.mp3 as a stream of unknown
// length, and /slow.mp3 that keeps the client waiting for two seconds.
#pragma once

#include <wx/string.h>

#include <memory>
#include <string>

namespace qtest {

class MediaServer {
public:
    explicit MediaServer(const std::string& dir);
    ~MediaServer();
    MediaServer(const MediaServer&) = delete;
    MediaServer& operator=(const MediaServer&) = delete;

    // "http://127.0.0.1:<port>" + path
    wxString Url(const std::string& path) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qtest

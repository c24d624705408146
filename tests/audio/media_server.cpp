#include "audio/media_server.h"

#include "support/temp_dir.h"
#include "support/test_media.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace qtest {

struct MediaServer::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    std::atomic<bool> stopping{false};
};

MediaServer::MediaServer(const std::string& dir) : impl_(std::make_unique<Impl>()) {
    httplib::Server& server = impl_->server;
    server.set_mount_point("/media", dir);
    // No length announced: a radio-like stream. It runs well past the
    // seeks made into it, so that a seek never meets its end, whatever the
    // timing: the tone is sent five times over (MP3 frames join).
    std::string live;
    for (int i = 0; i < 5; ++i) live += ReadFile(SharedMedia().mp3);
    server.Get("/live.mp3", [live](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("audio/mpeg", [live](size_t offset, httplib::DataSink& sink) {
            if (offset >= live.size()) {
                sink.done();
                return true;
            }
            size_t n = std::min<size_t>(4096, live.size() - offset);
            return sink.write(live.data() + offset, n);
        });
    });
    Impl* impl = impl_.get();
    server.Get("/slow.mp3", [impl](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < 40 && !impl->stopping; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        res.set_content("", "audio/mpeg");
    });
    impl_->port = server.bind_to_any_port("127.0.0.1");
    impl_->thread = std::thread([impl] { impl->server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

MediaServer::~MediaServer() {
    impl_->stopping = true;
    impl_->server.stop();
    impl_->thread.join();
}

wxString MediaServer::Url(const std::string& path) const {
    return wxString::FromUTF8("http://127.0.0.1:" + std::to_string(impl_->port) + path);
}

}  // namespace qtest

#include "support/local_forum_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

extern char** environ;

namespace qtest {
namespace {

using Clock = std::chrono::steady_clock;

// Waits up to `limit` for the child; true when it has ended.
bool WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    auto end = Clock::now() + limit;
    while (Clock::now() < end) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || r < 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace

std::string LocalForumProcess::BinaryPath() {
    return std::string(QUILLERY_BINARY_DIR) + "/tools/local-forum/local-forum";
}

LocalForumProcess::LocalForumProcess(std::vector<std::string> extraArgs) {
    logPath_ = dir_.file("server.log");
    filesDir_ = dir_.file("files");
    std::vector<std::string> args = {BinaryPath(), "--db", dir_.file("forum.db"), "--files", filesDir_,
                                     "--port", "0", "--exit-with-parent", "--media-cache",
                                     std::string(QUILLERY_BINARY_DIR) + "/tools/local-forum/media-cache"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        pid_ = -1;
        error_ = "cannot start " + BinaryPath() + " (is the local-forum target built?)";
        return;
    }

    // Generating the seed media the first time takes a second or two.
    static const std::regex listening("listening on 127\\.0\\.0\\.1:(\\d+)");
    auto end = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < end) {
        std::smatch m;
        std::string text = log();
        if (std::regex_search(text, m, listening)) {
            port_ = std::stoi(m[1].str());
            return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            error_ = "local-forum exited at start: " + text;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    error_ = "local-forum did not report its port within 30 s: " + log();
    Stop();
}

LocalForumProcess::~LocalForumProcess() { Stop(); }

std::string LocalForumProcess::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string LocalForumProcess::log() const { return ReadFile(logPath_); }

std::string LocalForumProcess::LastVerifyCode(const std::string& mobile) const {
    std::regex line("verify-code " + mobile + " (\\S+)");
    std::string text = log(), code;
    for (std::sregex_iterator it(text.begin(), text.end(), line), e; it != e; ++it) code = (*it)[1].str();
    return code;
}

void LocalForumProcess::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (!WaitFor(pid_, std::chrono::seconds(3))) {
        kill(pid_, SIGKILL);
        WaitFor(pid_, std::chrono::seconds(3));
    }
    pid_ = -1;
    port_ = 0;
}

}  // namespace qtest

#include "cue/pulse_server.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qtest {
namespace {

bool CanConnect(const std::string& path) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    path.copy(addr.sun_path, sizeof(addr.sun_path) - 1);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    close(fd);
    return ok;
}

}  // namespace

PulseServer::PulseServer() : socket_(dir_.file("native")) {
    std::string protocol = "module-native-protocol-unix socket=" + socket_ + " auth-anonymous=1";
    pid_ = fork();
    if (pid_ == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
        setenv("HOME", dir_.path().c_str(), 1);
        // Off the session bus: two servers there fight over one bus name,
        // which would make parallel tests skip.
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        unsetenv("DISPLAY");
        execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
               "--use-pid-file=no", "-L", "module-null-sink", "-L", protocol.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid_ < 0) return;
    for (int i = 0; i < 100 && !running_; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        running_ = CanConnect(socket_);
        if (!running_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

PulseServer::~PulseServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

}  // namespace qtest

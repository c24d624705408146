#include "support/pulse_server.h"

#include <chrono>
#include <csignal>
#include <cstdio>
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

PulseServer::PulseServer(const std::vector<std::string>& modules) : socket_(dir_.file("native")) {
    // The protocol module comes last: once its socket answers, every module
    // before it is loaded.
    std::vector<std::string> args = {"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                     "--use-pid-file=no", "--disable-shm=yes"};
    for (const std::string& m : modules) {
        args.push_back("-L");
        args.push_back(m);
    }
    args.push_back("-L");
    args.push_back("module-native-protocol-unix socket=" + socket_ + " auth-anonymous=1");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

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
        execvp("pulseaudio", argv.data());
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

PulseServer::~PulseServer() { Stop(); }

void PulseServer::Stop() {
    running_ = false;
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string PulseServer::Pactl(const std::string& args) const {
    std::string command = "PULSE_SERVER='" + address() + "' pactl " + args + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

}  // namespace qtest

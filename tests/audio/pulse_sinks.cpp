#include "audio/pulse_sinks.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

namespace qtest {

PulseSinks::PulseSinks() {
    server_ = "unix:" + dir_.file("native");
    std::string socketArg = "module-native-protocol-unix auth-anonymous=1 socket=" + dir_.file("native");
    pid_ = fork();
    if (pid_ == 0) {
        setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
        setenv("HOME", dir_.path().c_str(), 1);
        // On a shared session bus (or one started for the X display) a second
        // server would find the first one's name taken and quit; tests run
        // side by side.
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        unsetenv("DISPLAY");
        freopen("/dev/null", "w", stderr);
        freopen("/dev/null", "w", stdout);
        execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
               "--disable-shm=yes", "-L", socketArg.c_str(), "-L",
               "module-null-sink sink_name=a sink_properties=device.description=Alpha", "-L",
               "module-null-sink sink_name=b sink_properties=device.description=Beta", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid_ < 0) return;
    setenv("PULSE_SERVER", server_.c_str(), 1);
    for (int i = 0; i < 100; ++i) {
        if (Pactl("list short sinks").find("b\t") != std::string::npos) return;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

PulseSinks::~PulseSinks() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    unsetenv("PULSE_SERVER");
}

std::string PulseSinks::Pactl(const std::string& args) const {
    std::string command = "PULSE_SERVER='" + server_ + "' pactl " + args + " 2>/dev/null";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

void PulseSinks::Suspend(const std::string& sink) const { Pactl("suspend-sink " + sink + " 1"); }

std::string PulseSinks::SinksOfStreams() const {
    std::map<std::string, std::string> sinkNames;  // index -> name
    std::istringstream sinks(Pactl("list short sinks"));
    for (std::string line; std::getline(sinks, line);) {
        std::istringstream fields(line);
        std::string index, name;
        fields >> index >> name;
        sinkNames[index] = name;
    }
    std::string result;
    std::istringstream inputs(Pactl("list short sink-inputs"));
    for (std::string line; std::getline(inputs, line);) {
        std::istringstream fields(line);
        std::string index, sink;
        fields >> index >> sink;
        result += sinkNames.count(sink) ? sinkNames[sink] : "?";
    }
    return result;
}

}  // namespace qtest

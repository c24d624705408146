// A server started for a test must not outlive the test process when that
// process is killed.
#include "support/local_forum_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// True while `pid` is a live process (a zombie waiting for init counts as gone).
bool Alive(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidText, name, state;
    if (!(stat >> pidText >> name >> state)) return false;
    return state != "Z" && state != "X";
}

TEST(ForumLifetime, ServerStartedWithExitWithParentEndsWithItsParent) {
    qtest::TempDir dir;
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t parent = fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        // The stand-in parent: starts the server, then dies without stopping it.
        close(pipeFds[0]);
        pid_t server = fork();
        if (server == 0) {
            dup2(pipeFds[1], 1);
            std::string bin = qtest::LocalForumProcess::BinaryPath();
            std::string db = dir.file("forum.db"), files = dir.file("files");
            execl(bin.c_str(), bin.c_str(), "--db", db.c_str(), "--files", files.c_str(), "--port", "0",
                  "--no-media", "--exit-with-parent", static_cast<char*>(nullptr));
            _exit(127);
        }
        dprintf(pipeFds[1], "pid %d\n", static_cast<int>(server));
        // Long enough for the server to come up and say so on the pipe.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        _exit(0);
    }
    close(pipeFds[1]);
    FILE* in = fdopen(pipeFds[0], "r");
    ASSERT_NE(in, nullptr);
    int server = 0;
    char line[256];
    bool listening = false;
    while (fgets(line, sizeof line, in) != nullptr) {
        if (std::sscanf(line, "pid %d", &server) == 1) continue;
        if (std::string(line).rfind("listening on", 0) == 0) listening = true;
        if (server != 0 && listening) break;
    }
    ASSERT_GT(server, 0);
    ASSERT_TRUE(listening);
    int status = 0;
    waitpid(parent, &status, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Alive(server) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    bool stillAlive = Alive(server);
    if (stillAlive) kill(server, SIGKILL);
    fclose(in);
    EXPECT_FALSE(stillAlive) << "the server outlived the process that started it";
}

}  // namespace

// Uploading 64 MiB to the local forum on loopback: the client's whole
// upload (reading the file, building the body, sending it, reading the
// answer) next to `curl -F file=@…` posting the same file to the same
// endpoint, the two alternating; and the uploading process's peak memory
// growth against the file's size.
//
//   build/bench/upload_bench [rounds]
//
// Each side runs in a fresh process so that its peak memory is its own.
#include "median.h"
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "api/api_client.h"
#include "support/local_forum_process.h"

namespace {

using Clock = std::chrono::steady_clock;

long PeakRssKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

long CurrentRssKb()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The child: one upload; prints "<ms> <peak growth in KiB>".
int UploadOnce(int port, const char* token, const char* cookies, const char* path)
{
    const ApiClient client(ServerEndpoint{wxS("127.0.0.1"), port});
    const long before = CurrentRssKb();
    const auto start = Clock::now();
    const UploadResult r = client.UploadFile(wxString::FromUTF8(token), wxString::FromUTF8(cookies),
                                             wxString::FromUTF8(path), UploadKind::File);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!r.ok) {
        std::fprintf(stderr, "upload failed: %s\n", static_cast<const char*>(r.message.utf8_str()));
        return 1;
    }
    std::printf("%.3f %ld\n", ms, PeakRssKb() - before);
    return 0;
}

// Runs `argv` and returns its wall time; its standard output goes to `out`.
double Run(const std::vector<std::string>& args, std::string* out)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) std::exit(1);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        close(pipeFds[0]);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    char buf[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buf, sizeof buf)) > 0) {
        if (out) out->append(buf, static_cast<size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", args[0].c_str());
        std::exit(1);
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::string(argv[1]) == "--child") {
        return UploadOnce(std::atoi(argv[2]), argv[3], argv[4], argv[5]);
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    qtest::LocalForumProcess forum;
    if (!forum.ok()) {
        std::fprintf(stderr, "local forum: %s\n", forum.error().c_str());
        return 1;
    }
    const ApiClient client(ServerEndpoint{wxS("127.0.0.1"), forum.port()});
    const LoginResult login = client.Login(wxString::FromUTF8(qtest::LocalForumProcess::kUserMobile),
                                           wxString::FromUTF8(qtest::LocalForumProcess::kUserPassword));
    if (!login.ok) return 1;
    const std::string token(login.token.utf8_str()), cookies(login.cookies.utf8_str());

    qtest::TempDir dir;
    const std::string path = dir.write("upload.bin", "");
    constexpr off_t kSize = 64 * 1024 * 1024;
    if (truncate(path.c_str(), kSize) != 0) return 1;

    const std::string self = "/proc/self/exe";
    std::string exe(4096, '\0');
    exe.resize(static_cast<size_t>(std::max<ssize_t>(0, readlink(self.c_str(), exe.data(), exe.size()))));
    const std::vector<std::string> ours = {exe, "--child", std::to_string(forum.port()), token, cookies, path};
    const std::vector<std::string> curl = {
        "curl", "-sS", "-o", "/dev/null", "-H", "token: " + token, "-H", "Cookie: " + cookies,
        "-F", "file=@" + path, forum.baseUrl() + "/api/file"};

    std::vector<double> ratios, oursMs, curlMs, growth;
    for (int i = 0; i < rounds; ++i) {
        // Alternate which side goes first, so neither always meets a
        // warmer page cache or a busier server.
        std::string line;
        double c = 0;
        if (i % 2) c = Run(curl, nullptr);
        // Both sides are timed as whole processes, start-up included.
        const double ms = Run(ours, &line);
        if (i % 2 == 0) c = Run(curl, nullptr);
        double inner = 0;
        long kb = 0;
        if (std::sscanf(line.c_str(), "%lf %ld", &inner, &kb) != 2) return 1;
        oursMs.push_back(ms);
        curlMs.push_back(c);
        ratios.push_back(ms / c);
        growth.push_back(static_cast<double>(kb) * 1024.0 / static_cast<double>(kSize));
    }
    std::printf("upload 64 MiB: ours %.1f ms, curl -F %.1f ms (medians of %d), median ratio %.2fx\n",
                Median(oursMs), Median(curlMs), rounds, Median(ratios));
    std::printf("peak memory growth while uploading: %.2fx the file size (median)\n", Median(growth));
    return 0;
}

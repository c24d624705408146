#include "seed_media.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace forum {
namespace {

namespace fs = std::filesystem;

struct Recipe {
    SeedFile file;
    std::vector<std::string> argv;  // "OUT" stands for the output path
};

std::vector<Recipe> Recipes() {
    auto ff = [](std::vector<std::string> middle) {
        std::vector<std::string> a = {"ffmpeg", "-nostdin", "-v", "error", "-y"};
        a.insert(a.end(), middle.begin(), middle.end());
        a.push_back("OUT");
        return a;
    };
    return {
        {{"audio1", "晨曦小品.ogg", "seed-audio-1.ogg", 0, 0},
         {"sox", "-n", "-r", "22050", "-c", "2", "OUT", "synth", "3", "sine", "440", "sine", "660",
          "fade", "0.1", "3", "0.5"}},
        {{"audio2", "夜曲片段.mp3", "seed-audio-2.mp3", 0, 0},
         ff({"-f", "lavfi", "-i", "sine=frequency=523:duration=4", "-ac", "1", "-ar", "22050", "-b:a", "48k"})},
        {{"video", "演奏现场.mp4", "seed-video-1.mp4", 2, 0},
         ff({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=3", "-f", "lavfi", "-i",
             "sine=frequency=330:duration=3", "-c:v", "mpeg4", "-q:v", "10", "-c:a", "aac", "-b:a", "48k",
             "-shortest", "-movflags", "+faststart"})},
        {{"cover", "演奏现场封面.png", "seed-cover-1.png", 1, 0},
         ff({"-f", "lavfi", "-i", "color=c=0x3060a0:s=160x120", "-frames:v", "1"})},
    };
}

pid_t Start(std::vector<std::string> argv, const std::string& out) {
    for (auto& a : argv)
        if (a == "OUT") a = out;
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

bool Copy(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return !ec;
}

}  // namespace

std::vector<SeedFile> PrepareSeedMedia(const Options& options) {
    std::vector<SeedFile> made;
    std::error_code ec;
    fs::path files = options.filesDir;
    fs::path where = options.mediaCache.empty() ? files : fs::path(options.mediaCache);
    fs::create_directories(where, ec);

    // Make what is missing, all tools at once; each writes a private name
    // and is renamed when complete, so concurrent servers sharing a cache
    // never see half a file.
    auto privateName = [&](const Recipe& r) {
        return where / ("tmp-" + std::to_string(getpid()) + "-" + r.file.stored);
    };
    std::vector<std::pair<Recipe, pid_t>> running;
    for (auto& r : Recipes()) {
        fs::path target = where / r.file.stored;
        if (fs::exists(target, ec)) {
            running.emplace_back(r, 0);
            continue;
        }
        pid_t pid = Start(r.argv, privateName(r).string());
        if (pid < 0) std::fprintf(stderr, "local-forum: %s not found; seeding without %s\n",
                                  r.argv[0].c_str(), r.file.stored.c_str());
        running.emplace_back(r, pid);
    }
    for (auto& [r, pid] : running) {
        fs::path target = where / r.file.stored;
        if (pid > 0) {
            int status = 0;
            waitpid(pid, &status, 0);
            fs::path tmp = privateName(r);
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs::file_size(tmp, ec) > 0 && !ec) {
                fs::rename(tmp, target, ec);
            } else {
                std::fprintf(stderr, "local-forum: %s failed; seeding without %s\n", r.argv[0].c_str(),
                             r.file.stored.c_str());
                fs::remove(tmp, ec);
            }
        } else if (pid < 0) {
            continue;
        }
        if (!fs::exists(target, ec)) continue;
        if (where != files && !Copy(target, files / r.file.stored)) continue;
        SeedFile f = r.file;
        f.size = static_cast<std::int64_t>(fs::file_size(files / f.stored, ec));
        made.push_back(f);
    }

    // A small text attachment needs no tool.
    SeedFile notes{"notes", "演奏说明.txt", "seed-notes.txt", 0, 0};
    std::string text = "这两段小品是用合成器生成的演示音频，仅供测试播放器使用。\n";
    std::ofstream(files / notes.stored, std::ios::binary) << text;
    notes.size = static_cast<std::int64_t>(text.size());
    made.push_back(notes);
    return made;
}

}  // namespace forum

#include "support/test_media.h"

#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>

namespace qtest {
namespace {

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

void Run(const std::string& command) {
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        throw std::runtime_error("media tool failed: " + command);
    }
}

std::string Seconds(double s) { return std::to_string(s); }

// A tone as WAV; `quietStart` makes the first second nearly silent.
void Tone(const std::string& path, double seconds, bool quietStart) {
    if (!quietStart || seconds <= 1.0) {
        Run("sox -n -r 44100 -c 2 -b 16 " + Quote(path) + " synth " + Seconds(seconds) + " sine 440 vol 0.5");
        return;
    }
    Run("sox -n -r 44100 -c 2 -b 16 " + Quote(path) + " synth " + Seconds(seconds) +
        " sine 440 vol 0.5 fade t 1 0 0");
}

}  // namespace

std::string MakeMedia(const std::string& dir, const std::string& name, MediaKind kind, double seconds) {
    namespace fs = std::filesystem;
    static int counter = 0;
    std::string out = (fs::path(dir) / fs::u8path(name)).string();
    std::string wav = (fs::path(dir) / ("source-" + std::to_string(counter++) + ".wav")).string();
    bool mp3 = kind == MediaKind::Mp3 || kind == MediaKind::Mp3NoXing;
    Tone(kind == MediaKind::Wav ? out : wav, seconds, mp3);
    switch (kind) {
        case MediaKind::Wav: return out;
        case MediaKind::Mp3: Run("lame --quiet -V 2 " + Quote(wav) + " " + Quote(out)); break;
        case MediaKind::Mp3NoXing: Run("lame --quiet -t -V 2 " + Quote(wav) + " " + Quote(out)); break;
        case MediaKind::Flac: Run("flac --silent -f -o " + Quote(out) + " " + Quote(wav)); break;
        case MediaKind::Ogg: Run("oggenc -Q -o " + Quote(out) + " " + Quote(wav)); break;
        case MediaKind::M4a: Run("ffmpeg -nostdin -v error -y -i " + Quote(wav) + " -c:a aac " + Quote(out)); break;
        case MediaKind::Mp4Video:
            Run("ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=160x120:rate=10 -i " + Quote(wav) +
                " -map 0:v -map 1:a -t " + Seconds(seconds) + " -c:v mpeg4 -c:a aac " + Quote(out));
            break;
    }
    fs::remove(wav);
    return out;
}

std::string MakeGarbage(const std::string& dir, const std::string& name, size_t bytes) {
    namespace fs = std::filesystem;
    std::string out = (fs::path(dir) / fs::u8path(name)).string();
    std::mt19937 rng(42);
    std::string data(bytes, '\0');
    for (char& c : data) c = static_cast<char>(rng() & 0xff);
    std::ofstream(out, std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
    return out;
}

const MediaSet& SharedMedia() {
    static std::unique_ptr<TempDir> dir;
    static MediaSet set;
    if (dir) return set;
    dir = std::make_unique<TempDir>();
    const std::string& d = dir->path();
    set.dir = d;
    set.seconds = 3.0;
    set.wav = MakeMedia(d, "tone.wav", MediaKind::Wav, set.seconds);
    set.mp3 = MakeMedia(d, "tone.mp3", MediaKind::Mp3, set.seconds);
    set.mp3NoXing = MakeMedia(d, "tone-noxing.mp3", MediaKind::Mp3NoXing, set.seconds);
    set.flac = MakeMedia(d, "tone.flac", MediaKind::Flac, set.seconds);
    set.ogg = MakeMedia(d, "tone.ogg", MediaKind::Ogg, set.seconds);
    set.m4a = MakeMedia(d, "tone.m4a", MediaKind::M4a, set.seconds);
    set.mp4 = MakeMedia(d, "clip.mp4", MediaKind::Mp4Video, set.seconds);
    set.chineseName = MakeMedia(d, "测试 音频 文件.wav", MediaKind::Wav, set.seconds);
    set.garbage = MakeGarbage(d, "坏的 文件.mp3");
    return set;
}

}  // namespace qtest

// Real audio files made for a test run with sox, lame, flac, oggenc and
// ffmpeg (Debian packages listed in scripts/setup). Every file is a sine
// tone of a known length, so lengths and positions can be checked exactly.
//
//   qtest::TempDir dir;
//   std::string mp3 = qtest::MakeMedia(dir.path(), "a.mp3", qtest::MediaKind::Mp3, 3.0);
//   const qtest::MediaSet& set = qtest::SharedMedia();  // made once per test binary
#pragma once

#include <string>

namespace qtest {

enum class MediaKind {
    Wav,        // 44.1 kHz stereo PCM
    Mp3,        // VBR with a Xing/LAME header
    Mp3NoXing,  // VBR without a Xing header (lame -t): only counting frames gives the length
    Flac,
    Ogg,        // Vorbis
    M4a,        // AAC in MP4
    Mp4Video,   // a small video track and an AAC sound track
};

// Writes dir/name (name may hold Chinese characters and spaces) and returns
// its path; throws std::runtime_error when a tool fails. VBR MP3s start with
// a quiet second so that a bitrate guess from the first frames is wrong.
std::string MakeMedia(const std::string& dir, const std::string& name, MediaKind kind, double seconds);

// A file of pseudo-random bytes that no decoder accepts.
std::string MakeGarbage(const std::string& dir, const std::string& name, size_t bytes = 64 * 1024);

// One file of every kind, made on first use in a folder removed at exit.
struct MediaSet {
    std::string dir;
    double seconds = 0;  // the length of every file below
    std::string wav, mp3, mp3NoXing, flac, ogg, m4a, mp4;
    std::string chineseName;  // a WAV named "测试 音频 文件.wav"
    std::string garbage;      // "坏的 文件.mp3"
};
const MediaSet& SharedMedia();

}  // namespace qtest

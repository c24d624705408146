// The demo post's audio, video and cover, made with sox and ffmpeg on the
// first start (never downloaded) and copied into the files folder.
#pragma once

#include "options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace forum {

struct SeedFile {
    std::string key;       // "audio1", "audio2", "video", "cover", "notes"
    std::string name;      // the name shown to users
    std::string stored;    // file name below --files
    int kind = 0;          // upload kind: 0 file, 1 image, 2 video
    std::int64_t size = 0;
};

// Whatever could be made; a missing tool is reported on stderr and its
// files are left out.
std::vector<SeedFile> PrepareSeedMedia(const Options& options);

}  // namespace forum

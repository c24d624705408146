// A private folder in memory (/dev/shm, so the settings writer's flush to
// disk costs nothing) for harnesses that read files, removed at exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_check.h"

namespace fuzz {

inline std::string Folder()
{
    // A plain array outlives every static object, so the clean-up at exit
    // can still read it.
    static char name[] = "/dev/shm/quillery-fuzz-XXXXXX";
    static const bool made = [] {
        FUZZ_CHECK(::mkdtemp(name));
        std::atexit([] { std::filesystem::remove_all(name); });
        return true;
    }();
    (void)made;
    return name;
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace fuzz

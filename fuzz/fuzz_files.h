// A private folder in memory (/dev/shm, so the settings writer's flush to
// disk costs nothing) for harnesses that read files, removed at exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <iterator>
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

// Puts bytes at path as a new file. The settings store keeps the document
// it last read or wrote while the file stays that version; a new file makes
// its next load parse what is on disk, as the program's next start would.
inline void ReplaceFile(const std::string& path, const std::string& bytes)
{
    WriteFile(path + ".new", bytes);
    FUZZ_CHECK(std::rename((path + ".new").c_str(), path.c_str()) == 0);
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Makes the store's next load read the file again.
inline void Reread(const std::string& path)
{
    ReplaceFile(path, ReadFile(path));
}

}  // namespace fuzz

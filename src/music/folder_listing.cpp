#include "music/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <unordered_map>

namespace folder_listing_detail {

struct Dir {
    DIR* handle;
};

Dir* Open(const std::string& folder)
{
    if (folder.empty()) return nullptr;
    DIR* handle = opendir(folder.c_str());
    return handle ? new Dir{handle} : nullptr;
}

bool Next(Dir* dir, FolderEntry& entry)
{
    for (;;) {
        const dirent* e = readdir(dir->handle);  // NULL at the end and on a read error alike
        if (!e) return false;
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
        entry.name = n;
        entry.type = e->d_type;
        entry.folderFd = dirfd(dir->handle);
        return true;
    }
}

void Close(Dir* dir)
{
    closedir(dir->handle);
    delete dir;
}

}  // namespace folder_listing_detail

bool FolderEntry::IsRegularFile() const
{
    if (type == DT_REG) return true;
    if (type != DT_LNK && type != DT_UNKNOWN) return false;
    struct stat st;
    return fstatat(folderFd, std::string(name).c_str(), &st, 0) == 0 && S_ISREG(st.st_mode);
}

namespace {

// Below this many files in one folder, asking for each file is cheaper
// than listing a folder that may hold many more.
constexpr size_t kListFrom = 8;

bool StatRegular(std::string_view path)
{
    struct stat st;
    return !path.empty() && stat(std::string(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

struct Split {
    std::string_view folder;
    std::string_view name;
};

Split SplitPath(std::string_view path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {".", path};
    return {slash == 0 ? std::string_view("/") : path.substr(0, slash), path.substr(slash + 1)};
}

// The wanted names of one folder in an open-addressing table: one
// allocation for the lot, however many songs the folder holds.
class NameTable {
public:
    explicit NameTable(size_t count)
    {
        size_t size = 16;
        while (size < count * 2) size *= 2;
        slots_.assign(size, -1);
        names_.reserve(count);
        state_.reserve(count);
    }
    // The slot of name, added when new.
    int Add(std::string_view name)
    {
        size_t i = Home(name);
        while (slots_[i] >= 0) {
            if (names_[slots_[i]] == name) return slots_[i];
            i = (i + 1) & (slots_.size() - 1);
        }
        slots_[i] = static_cast<int>(names_.size());
        names_.push_back(name);
        state_.push_back(0);
        return slots_[i];
    }
    int Find(std::string_view name) const
    {
        for (size_t i = Home(name); slots_[i] >= 0; i = (i + 1) & (slots_.size() - 1)) {
            if (names_[slots_[i]] == name) return slots_[i];
        }
        return -1;
    }
    // 0 not seen in the listing, 1 listed but not a file, 2 a file.
    char& State(int id) { return state_[id]; }

private:
    size_t Home(std::string_view name) const { return std::hash<std::string_view>{}(name) & (slots_.size() - 1); }

    std::vector<int> slots_;
    std::vector<std::string_view> names_;
    std::vector<char> state_;
};

}  // namespace

std::vector<bool> RegularFilesExist(const std::vector<std::string_view>& paths)
{
    std::vector<bool> exists(paths.size(), false);
    std::unordered_map<std::string_view, std::vector<size_t>> byFolder;
    std::string_view lastFolder;
    std::vector<size_t>* members = nullptr;
    for (size_t i = 0; i < paths.size(); ++i) {
        Split split = SplitPath(paths[i]);
        // "dir/" names no file; "." and ".." name folders.
        if (split.name.empty()) continue;
        if (!members || split.folder != lastFolder) {  // songs of one folder usually come together
            members = &byFolder[split.folder];
            lastFolder = split.folder;
        }
        members->push_back(i);
    }
    for (auto& [folder, indices] : byFolder) {
        if (indices.size() < kListFrom) {
            for (size_t i : indices) exists[i] = StatRegular(paths[i]);
            continue;
        }
        NameTable wanted(indices.size());
        std::vector<int> ids;
        ids.reserve(indices.size());
        for (size_t i : indices) ids.push_back(wanted.Add(SplitPath(paths[i]).name));
        ListFolder(std::string(folder), [&](const FolderEntry& entry) {
            int id = wanted.Find(entry.name);
            if (id >= 0 && wanted.State(id) == 0) wanted.State(id) = entry.IsRegularFile() ? 2 : 1;
        });
        for (size_t k = 0; k < indices.size(); ++k) {
            char seen = wanted.State(ids[k]);
            // A name the listing lacks may still open: a file system that
            // ignores case or normalizes names, or a folder that cannot be
            // read but can be searched. Ask for those one by one.
            exists[indices[k]] = seen == 0 ? StatRegular(paths[indices[k]]) : seen == 2;
        }
    }
    return exists;
}

// Reading a folder in one pass of readdir, for checks that would otherwise
// cost one stat per file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FolderEntry {
    std::string_view name;  // never "." or ".."
    // Whether the entry is a regular file, following links; asks the file
    // system only when the listing did not already tell.
    bool IsRegularFile() const;

    int folderFd = -1;
    unsigned char type = 0;  // d_type
};

// Calls visit(const FolderEntry&) for every entry of folder. False when the
// folder cannot be opened; a read error part way ends the listing early.
template <typename Visit>
bool ListFolder(const std::string& folder, Visit&& visit);

// Whether each UTF-8 path names an existing regular file (following links),
// as stat would say, in the order given. Folders that hold many of the paths
// are listed once instead of asking for each file.
std::vector<bool> RegularFilesExist(const std::vector<std::string_view>& paths);

// --- implementation of the template -------------------------------------

namespace folder_listing_detail {
struct Dir;
Dir* Open(const std::string& folder);
// Next entry into entry; false at the end or on a read error.
bool Next(Dir* dir, FolderEntry& entry);
void Close(Dir* dir);
}  // namespace folder_listing_detail

template <typename Visit>
bool ListFolder(const std::string& folder, Visit&& visit)
{
    using namespace folder_listing_detail;
    Dir* dir = Open(folder);
    if (!dir) return false;
    FolderEntry entry;
    while (Next(dir, entry)) visit(static_cast<const FolderEntry&>(entry));
    Close(dir);
    return true;
}

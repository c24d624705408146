// Which files the music player accepts and how folders become albums.
#pragma once

#include "music/music_types.h"

#include <wx/string.h>

#include <vector>

// True for the extensions mp3, wav, flac, m4a, aac, ogg and wma in any
// letter case; a name without extension is not supported.
bool IsSupportedAudio(const wxString& path);

// The last component of a folder path ("/a/b/" gives "b"); a path without
// components (the root) gives itself.
wxString AlbumNameOf(const wxString& folder);

// File name without folder and extension.
wxString SongNameOf(const wxString& path);

// True when path names an existing regular file (following links).
bool AudioFileExists(const wxString& path);

// AudioFileExists for each path, in order; folders holding many of the
// paths are listed once instead of asking for every file.
std::vector<bool> AudioFilesExist(const std::vector<wxString>& paths);

// Sorts songs by name without letter case (as wxString::CmpNoCase
// orders), equal names by path.
void SortSongs(std::vector<Song>& songs);

// Whether two folder paths that are equal but for letter case name one
// folder. Folders are matched without case, as the user may type either;
// but where both spellings exist as different folders (a case-sensitive
// file system), importing one must not replace the other's album.
bool SameFolder(const wxString& a, const wxString& b);

struct AlbumScan {
    bool opened = false;  // the folder exists and could be listed
    Album album;          // name, folder and sorted songs; songs empty when none
};

// Lists the supported files directly inside folder: files only, no hidden
// files, no subfolders. Songs are sorted by name, case-insensitively, and
// carry the album name as their source.
AlbumScan ScanAlbumFolder(const wxString& folder);

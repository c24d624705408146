#pragma once

// The levels of the main window's forum back stack and the rows they show.
// Music rows share the row record, so the music view includes this too.

#include <cstdint>
#include <vector>

#include <wx/string.h>

#include "api/page_info.h"

enum class ViewKind : int
{
    Home = 0,
    PostList = 1,
    FloorList = 2,
};

// Where a post list comes from; decides how its pages are fetched again.
enum class ListSource : int
{
    Section = 0,
    LatestTopics = 1,
    HotPosts = 2,
    LatestReplies = 3,
    Search = 4,
};

// What Enter does on a row. Value 2 is unused; the numbers are kept stable
// because other views (music) share them.
enum class EntryType : int
{
    LoginRow = 0,
    PersonalCenterRow = 1,
    NewPostRow = 3,
    MusicPlaylistRow = 4,
    MusicHotkeysRow = 5,
    MusicAlbumRow = 6,
    MusicSongRow = 7,
    LatestTopicsRow = 8,
    HotPostsRow = 9,
    LatestRepliesRow = 10,
    SearchRow = 11,
    SectionRow = 12,
    PostRow = 13,
    OpeningPostRow = 14,
    FloorRow = 15,
    PageSummaryRow = 16,
    PreviousPageRow = 17,
    NextPageRow = 18,
    FirstPageRow = 19,
    LastPageRow = 20,
    NoticeRow = 21,
};

struct ListEntry
{
    EntryType type = EntryType::LoginRow;
    wxString text;
    int32_t userId = 0;
    int32_t sectionId = 0;
    wxString listName;
    int32_t postId = 0;
    wxString postTitle;
    int32_t replyId = 0;
    int32_t floor = 0;
    int32_t parentId = 0;
    int32_t parentFloor = 0;
    wxString userName;
    int albumIndex = -1;
    int songIndex = -1;
};

struct View
{
    ViewKind kind = ViewKind::Home;
    wxString title;
    int32_t sectionId = 0;
    wxString listName;
    int32_t postId = 0;
    wxString postTitle;
    ListSource source = ListSource::Section;
    PageInfo paging;
    wxString keyword;
    bool starterOnly = false;
    int32_t starterUserId = 0;
    wxString starterName;
    std::vector<ListEntry> entries;
};

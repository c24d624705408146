#pragma once

// Records of what belongs to the signed-in user: albums, followed users and
// the generic lines of the record lists (messages, bills, purchases...),
// whose entries differ from list to list.

#include <cstdint>
#include <vector>

#include <wx/string.h>

#include "api/page_info.h"

struct AlbumEntry
{
    int32_t id = 0;
    wxString name;  // "name", or "title" when there is no name
};

struct AlbumList
{
    bool ok = false;
    std::vector<AlbumEntry> albums;
    wxString error;
};

struct FollowEntry
{
    int32_t id = 0;
    wxString name;  // "userName", or "name" when there is no user name
    wxString level;
    wxString avatar;
};

struct FollowList
{
    bool ok = false;
    std::vector<FollowEntry> users;
    wxString error;
};

// What a record line looks like, decided by the keys its entry has.
// The personal centre also builds lines of its own (users, albums, notices).
enum RecordKind : int32_t {
    kRecordPlain = 0,
    kRecordPost = 1,
    kRecordUser = 2,
    kRecordNamed = 3,  // an album, or another item with a name
    kRecordBill = 5,
    kRecordTrade = 6,  // a purchase or a sale
    kRecordQuestion = 7,
    kRecordGoods = 8,  // goods or a crowdfunding channel
    kRecordNotice = 9, // a single informative line
};

// One entry of a record list.
struct RecordLine
{
    int32_t kind = kRecordPlain;
    int32_t id = 0;
    int32_t objectId = 0;  // the post the entry refers to; 0 = none
    wxString title;
    wxString summary;  // the one line a list shows
    wxString details;  // every member, one "name：value" line each
};

struct PersonalListPage
{
    bool ok = false;
    PageInfo pageInfo;
    std::vector<RecordLine> items;
    wxString error;
};

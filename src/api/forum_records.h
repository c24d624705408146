#pragma once

// Records the forum's reading operations produce and the windows display.
// Plain values only: parsers live with the client, views only read these.

#include <cstdint>
#include <vector>

#include <wx/string.h>

#include "api/page_info.h"

// One entry of a post list.
struct PostSummary
{
    int32_t id = 0;
    wxString title;
    wxString userName;
    wxString createTime;  // whatever display form the server sent ("Cn" preferred)
    int32_t replyCount = 0;
    int32_t viewCount = 0;
    bool top = false;
    bool essence = false;
};

// Result of one post-list operation (front-page lists, search, section posts).
struct PostListPage
{
    bool ok = false;
    int32_t sectionId = 0;
    wxString title;
    PageInfo pageInfo;
    std::vector<PostSummary> items;
    wxString error;
};

// One forum section.
struct SectionInfo
{
    int32_t id = 0;
    wxString name;
    wxString description;
    bool allowAdmin = false;
    int32_t resource = 0;
};

struct SectionList
{
    bool ok = false;
    std::vector<SectionInfo> sections;
    wxString error;
};

// One reply (floor) of a post.
struct ReplyItem
{
    int32_t id = 0;
    int32_t userId = 0;
    int32_t parentId = 0;  // the reply this one answers; 0 = none
    int32_t floor = 0;
    int32_t parentFloor = 0;
    wxString userName;
    wxString body;
    wxString createTime;
    bool isManager = false;
};

struct ReplyPage
{
    bool ok = false;
    int32_t postId = 0;
    PageInfo pageInfo;
    std::vector<ReplyItem> items;
    wxString error;
};

// One entry of a post's audio, video, file or image list.
struct MediaItem
{
    int32_t id = 0;
    int32_t fileId = 0;
    int32_t attachFileId = 0;
    wxString url;
    wxString attachFileUrl;
    wxString desc;
    wxString fileName;
};

struct LinkItem
{
    wxString url;
    wxString desc;
};

// One post in full.
struct PostDetail
{
    int32_t id = 0;
    int32_t userId = 0;
    int32_t sectionId = 0;
    wxString title;
    wxString body;
    wxString userName;
    wxString createTime;
    bool isReply = true;
    int32_t replyForbidden = 0;
    int32_t status = 0;
    bool lock = false;
    bool top = false;
    bool topAll = false;
    bool essence = false;
    bool sink = false;
    bool isOwner = false;
    bool isManager = false;
    bool notify = false;
    int32_t rewardPoint = 0;
    double viewPrice = 0.0;
    double goodsPrice = 0.0;
    double attachmentPrice = 0.0;
    double mediaPrice = 0.0;
    double postPrice = 0.0;
    bool richBody = false;
    bool isResource = false;
    int32_t mediaDownload = 0;
    int32_t resourceType = 0;
    wxString downloadType;
    wxString resourceDesc;
    int32_t albumId = 0;  // the album the post belongs to; 0 = none
    std::vector<MediaItem> audioList;
    std::vector<MediaItem> videoList;
    std::vector<MediaItem> fileList;
    std::vector<MediaItem> imageList;
    std::vector<LinkItem> linkList;
};

struct PostDetailResult
{
    bool ok = false;
    PostDetail detail;
    wxString error;
};

// Whether the user manages a section; `answered` is false when no attempt
// got a definite answer from the server.
struct ManagerCheck
{
    bool answered = false;
    bool isManager = false;
    wxString error;
};

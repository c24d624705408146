// The values of a post to publish or save, as the composer hands them to
// CreatePost and EditPost.
#pragma once

#include <cstdint>
#include <vector>

#include <wx/string.h>

#include "api/forum_records.h"

// One uploaded (or already attached) file of a post.
struct AttachmentEntry {
    int32_t fileId = 0;   // the server's file number
    int32_t coverId = 0;  // a video's cover image; 0 when none or not a video
    wxString name;        // shown, and sent as the description
    wxString url;
    wxString localPath;   // the uploaded local file; empty for files of an edited post
};

struct PostInput {
    int32_t id = 0;  // 0 for a new post
    int32_t sectionId = 0;
    wxString title;
    wxString body;
    bool notify = false;
    int32_t rewardPoint = 0;
    double viewPrice = 0.0;
    double goodsPrice = 0.0;
    double attachmentPrice = 0.0;
    double mediaPrice = 0.0;
    double postPrice = 0.0;
    int32_t albumId = 0;  // 0 = none; an edited post keeps the album it is in
    bool richBody = false;
    bool isResource = false;
    int32_t mediaDownload = 0;  // 0 or 1
    int32_t resourceType = 0;
    wxString downloadType;
    wxString resourceDesc;
    // An edited post keeps the reply switch it was loaded with.
    int32_t replyForbidden = 0;
    std::vector<LinkItem> linkList;
    std::vector<AttachmentEntry> imageList;
    std::vector<AttachmentEntry> audioList;
    std::vector<AttachmentEntry> videoList;
    std::vector<AttachmentEntry> fileList;
};

// The post body of create and edit: which of the client's two forms it is,
// what it sets, and storing it. Members that a body leaves out keep their
// stored value, so the short form never wipes prices or attachments.
#pragma once

#include "database.h"

#include <rapidjson/document.h>

#include <optional>
#include <string>
#include <vector>

namespace forum {

struct MediaInput {
    int fileId = 0;
    int coverId = 0;
    std::string desc;
};

struct LinkInput {
    std::string url, desc;
};

struct PostInput {
    std::string form;  // "JSON兼容版" or "JSON回退版"
    std::optional<int> id, sectionId, rewardPoint, albumId, mediaDownload, resourceType;
    std::optional<std::string> title, body, summary, downloadType, resourceDesc;
    std::optional<bool> notify, richBody, isResource;
    std::optional<double> viewPrice, goodsPrice, attachmentPrice, mediaPrice, postPrice;
    std::optional<std::vector<LinkInput>> links;
    std::optional<std::vector<MediaInput>> images, audios, videos, files;
};

// Reads and checks the shape; false with a Chinese message.
bool ReadPostInput(const rapidjson::Value& doc, PostInput& out, std::string& error);

// Checks references (section, files, album of `userId`); false with a message.
bool CheckPostInput(Database& db, const PostInput& in, int userId, std::string& error);

// Writes every member the input carries into post `postId`.
void StorePostInput(Database& db, int postId, const PostInput& in);

// The one-line summary of a body: line breaks become blanks, 120 characters.
std::string MakeSummary(const std::string& body);

}  // namespace forum

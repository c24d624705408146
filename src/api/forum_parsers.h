// Reading forum records out of the server's JSON, with each record's keep
// rule and the three flag rules (they differ on purpose: list entries take
// only numbers, post details also take true/false).
#pragma once

#include <type_traits>
#include <utility>
#include <vector>

#include "api/forum_records.h"
#include "api/json_read.h"

// Non-zero integer (a JSON true is not set).
bool IntFlag(const JsonValue* object, const char* name);
// Non-zero integer, or else JSON true.
bool LenientFlag(const JsonValue* object, const char* name);

// The paging group of the object holding "list"; defaults are the
// requested page and size, 1 page and 0 entries.
PageInfo ReadPageInfo(const JsonValue* holder, int32_t pageNum, int32_t pageSize);

PostSummary ReadPostSummary(const JsonValue& entry);
// For lists whose entries are not posts of the usual shape: the title may
// come from "objectTitle" and the name from "name".
PostSummary ParsePostSummaryLoose(const JsonValue& entry);
bool KeepPostSummary(const PostSummary& post);

SectionInfo ReadSectionInfo(const JsonValue& entry);
bool KeepSectionInfo(const SectionInfo& section);

ReplyItem ReadReplyItem(const JsonValue& entry);
bool KeepReplyItem(const ReplyItem& reply);

// Every object element of `array`, read by `read` and kept when `keep`
// says so, in answer order; other elements are skipped.
template <typename Read, typename Keep>
auto ReadEntries(const JsonValue& array, Read read, Keep keep)
{
    std::vector<std::invoke_result_t<Read&, const JsonValue&>> items;
    for (const JsonValue& entry : array.GetArray()) {
        if (!entry.IsObject()) continue;
        auto item = read(entry);
        if (keep(item)) items.push_back(std::move(item));
    }
    return items;
}

// Fill a list result from a list answer's "data" (an object holding
// "list" and the paging members). On a shape failure `error` is set to
// `badFormat` ("data" not an object) or `noList` and `ok` stays false.
// `read` chooses the entry rule (ReadPostSummary or ParsePostSummaryLoose).
void FillPostListPage(const JsonValue* data, int32_t pageNum, int32_t pageSize, PostListPage& page,
                      const wxString& badFormat, const wxString& noList,
                      PostSummary (*read)(const JsonValue&) = ReadPostSummary);
// The paging group is read before the list is looked for, so it survives
// a missing list.
void FillReplyPage(const JsonValue* data, int32_t pageNum, int32_t pageSize, ReplyPage& page);

// Every field of one post; media and link lists keep only usable entries.
PostDetail ReadPostDetail(const JsonValue& data);

// How forum rows are written into answers: post summaries, post details,
// paging members and time texts, plus the permission questions
// several endpoint groups ask.
#pragma once

#include "json_io.h"
#include "router.h"

#include <cstdint>
#include <functional>
#include <string>

namespace forum {

// "2026-11-01 08:00:00" and "2026年11月1日 08:00", China time.
std::string FormatTime(std::int64_t epoch);
std::string FormatTimeCn(std::int64_t epoch);
std::int64_t Now();

// Writes the members (or the whole element) of one query row.
using RowWriter = std::function<void(JsonWriter&, const Statement&)>;

struct Paging {
    int pageNum = 1;
    int pageSize = 20;
    std::int64_t Offset() const { return static_cast<std::int64_t>(pageNum - 1) * pageSize; }
};

// Reads pageNum/pageSize from the query (defaults 1 and 20, size capped at
// 100). False with a Chinese message when either is not a number.
bool ReadPaging(const httplib::Request& req, Paging& out, std::string& error);
// Writes "pageNum","pageSize","pages","total" into the open object.
void PutPageInfo(JsonWriter& w, const Paging& paging, int total);
// Writes the object {"list":[...], page info}; `items` writes the elements.
void WritePage(JsonWriter& w, const Paging& paging, int total, const std::function<void()>& items);

// Writes one post summary from a PostPage row.
void WriteSummary(JsonWriter& w, const Statement& row);

// One page of the posts of "posts p JOIN users u" that match `where`, in
// `order`, as a WritePage object. `bind` binds the clause's numbered
// parameters (?1, ?2, ...); `item` writes one row's element.
std::string PostPage(Database& db, const Paging& paging, const std::string& where, const std::string& order,
                     const std::function<void(Statement&)>& bind = {},
                     const RowWriter& item = WriteSummary);

// Writes the whole detail object of a visible post; false when the post
// does not exist or is deleted.
bool WriteDetail(JsonWriter& w, Call& call, int postId, int viewerId);


bool IsAdmin(Database& db, int userId);
bool ManagesSection(Database& db, int userId, int sectionId);
bool ManagesAnySection(Database& db, int userId);
// Section of a live post, or 0 when the post is missing or deleted.
int PostSection(Database& db, int postId);
std::string FileUrl(const Call& call, const std::string& stored);

std::string ToJson(const std::function<void(JsonWriter&)>& write);

// Writes one object per remaining row of `st` into an array; `members`
// puts that row's members into the open object.
void WriteRowObjects(JsonWriter& w, Statement& st,
                     const RowWriter& members);

}  // namespace forum

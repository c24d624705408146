#include "forum_rows.h"

#include <cstdio>
#include <ctime>

namespace forum {
namespace {

constexpr std::int64_t kChinaOffset = 8 * 3600;

std::tm ChinaTime(std::int64_t epoch) {
    std::time_t t = static_cast<std::time_t>(epoch + kChinaOffset);
    std::tm tm{};
    gmtime_r(&t, &tm);
    return tm;
}

void WriteMediaList(JsonWriter& w, Call& call, int postId, const char* kind, const char* key) {
    auto st = call.db().Prepare(
        "SELECT m.id, m.file_id, m.cover_id, m.descr, f.stored, f.name, c.stored "
        "FROM post_media m LEFT JOIN files f ON f.id = m.file_id "
        "LEFT JOIN files c ON c.id = m.cover_id "
        "WHERE m.post_id = ? AND m.kind = ? ORDER BY m.sort, m.id");
    st.Bind(1, postId).Bind(2, std::string(kind));
    w.Key(key);
    w.StartArray();
    while (st.Step()) {
        w.StartObject();
        Put(w, "id", st.Int(0));
        Put(w, "fileId", st.Int(1));
        Put(w, "attachFileId", st.Int(2));
        Put(w, "url", st.IsNull(4) ? std::string() : FileUrl(call, st.Text(4)));
        Put(w, "attachFileUrl", st.IsNull(6) ? std::string() : FileUrl(call, st.Text(6)));
        Put(w, "desc", st.Text(3));
        Put(w, "fileName", st.Text(5));
        w.EndObject();
    }
    w.EndArray();
}

}  // namespace

std::string FormatTime(std::int64_t epoch) {
    std::tm tm = ChinaTime(epoch);
    char buf[40];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

std::string FormatTimeCn(std::int64_t epoch) {
    std::tm tm = ChinaTime(epoch);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d年%d月%d日 %02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min);
    return buf;
}

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

bool ReadPaging(const httplib::Request& req, Paging& out, std::string& error) {
    if (req.has_param("pageNum") && !ParseInt(req.get_param_value("pageNum"), out.pageNum)) {
        error = "分页参数 pageNum 不是有效的数字。";
        return false;
    }
    if (req.has_param("pageSize") && !ParseInt(req.get_param_value("pageSize"), out.pageSize)) {
        error = "分页参数 pageSize 不是有效的数字。";
        return false;
    }
    if (out.pageNum < 1) out.pageNum = 1;
    if (out.pageSize < 1) out.pageSize = 20;
    if (out.pageSize > 100) out.pageSize = 100;
    return true;
}

void PutPageInfo(JsonWriter& w, const Paging& paging, int total) {
    int pages = total == 0 ? 1 : (total + paging.pageSize - 1) / paging.pageSize;
    Put(w, "pageNum", paging.pageNum);
    Put(w, "pageSize", paging.pageSize);
    Put(w, "pages", pages);
    Put(w, "total", total);
}

void WritePage(JsonWriter& w, const Paging& paging, int total, const std::function<void()>& items) {
    w.StartObject();
    w.Key("list");
    w.StartArray();
    items();
    w.EndArray();
    PutPageInfo(w, paging, total);
    w.EndObject();
}

// The columns of a PostPage row, as WriteSummary reads them.
const char* const kSummaryColumns =
    "p.id, p.title, u.name, p.user_id, p.section_id, p.created, p.reply_count, p.view_count, "
    "p.top, p.essence, p.sink, p.lock, p.status, p.top_all, p.summary, p.last_reply";

void WriteSummary(JsonWriter& w, const Statement& row) {
    w.StartObject();
    Put(w, "id", row.Int(0));
    Put(w, "title", row.Text(1));
    Put(w, "userName", row.Text(2));
    Put(w, "userId", row.Int(3));
    Put(w, "sectionId", row.Int(4));
    Put(w, "createTime", FormatTime(row.Int64(5)));
    Put(w, "createTimeCn", FormatTimeCn(row.Int64(5)));
    Put(w, "replyCount", row.Int(6));
    Put(w, "viewCount", row.Int(7));
    Put(w, "top", row.Int(8));
    Put(w, "essence", row.Int(9));
    Put(w, "sink", row.Int(10));
    Put(w, "lock", row.Int(11));
    Put(w, "status", row.Int(12));
    Put(w, "topAll", row.Int(13));
    Put(w, "summary", row.Text(14));
    if (row.Int64(15) > 0) Put(w, "lastReplyTime", FormatTime(row.Int64(15)));
    w.EndObject();
}

std::string PostPage(Database& db, const Paging& paging, const std::string& where, const std::string& order,
                     const std::function<void(Statement&)>& bind,
                     const RowWriter& item) {
    std::string from = " FROM posts p JOIN users u ON u.id = p.user_id WHERE " + where;
    auto count = db.Prepare(("SELECT COUNT(*)" + from).c_str());
    if (bind) bind(count);
    int total = count.Step() ? count.Int(0) : 0;
    // The numbers are ours, so they go into the text and leave the
    // parameter numbers to the clause.
    auto st = db.Prepare(("SELECT " + std::string(kSummaryColumns) + from + " ORDER BY " + order +
                          " LIMIT " + std::to_string(paging.pageSize) + " OFFSET " +
                          std::to_string(paging.Offset())).c_str());
    if (bind) bind(st);
    return ToJson([&](JsonWriter& w) {
        WritePage(w, paging, total, [&] {
            while (st.Step()) item(w, st);
        });
    });
}

bool WriteDetail(JsonWriter& w, Call& call, int postId, int viewerId) {
    auto st = call.db().Prepare(
        "SELECT p.id, p.user_id, p.section_id, p.title, p.body, u.name, p.created, p.is_reply, "
        "p.reply_forbidden, p.status, p.lock, p.top, p.top_all, p.essence, p.sink, p.notify, "
        "p.reward_point, p.view_price, p.goods_price, p.attachment_price, p.media_price, "
        "p.post_price, p.rich_body, p.is_resource, p.media_download, p.resource_type, "
        "p.download_type, p.resource_desc, p.reply_count, p.view_count, p.album_id, p.summary, "
        "s.name FROM posts p JOIN users u ON u.id = p.user_id "
        "LEFT JOIN sections s ON s.id = p.section_id WHERE p.id = ? AND p.deleted = 0");
    st.Bind(1, postId);
    if (!st.Step()) return false;
    int sectionId = st.Int(2);
    w.StartObject();
    Put(w, "id", st.Int(0));
    Put(w, "userId", st.Int(1));
    Put(w, "sectionId", sectionId);
    Put(w, "sectionName", st.Text(32));
    Put(w, "title", st.Text(3));
    Put(w, "body", st.Text(4));
    Put(w, "summary", st.Text(31));
    Put(w, "userName", st.Text(5));
    Put(w, "createTime", FormatTime(st.Int64(6)));
    PutBool(w, "isReply", st.Int(7) != 0);
    // A locked post cannot be answered, so say so where the client looks
    // before it offers the reply box.
    Put(w, "replyForbidden", (st.Int(8) != 0 || st.Int(10) != 0) ? 1 : 0);
    Put(w, "status", st.Int(9));
    Put(w, "lock", st.Int(10));
    Put(w, "top", st.Int(11));
    Put(w, "topAll", st.Int(12));
    Put(w, "essence", st.Int(13));
    Put(w, "sink", st.Int(14));
    PutBool(w, "isOwner", viewerId != 0 && viewerId == st.Int(1));
    Put(w, "isManager", viewerId != 0 && ManagesSection(call.db(), viewerId, sectionId) ? 1 : 0);
    Put(w, "notify", st.Int(15));
    Put(w, "rewardPoint", st.Int(16));
    Put(w, "viewPrice", st.Double(17));
    Put(w, "goodsPrice", st.Double(18));
    Put(w, "attachmentPrice", st.Double(19));
    Put(w, "mediaPrice", st.Double(20));
    Put(w, "postPrice", st.Double(21));
    Put(w, "richBody", st.Int(22));
    Put(w, "isResource", st.Int(23));
    Put(w, "mediaDownload", st.Int(24));
    Put(w, "resourceType", st.Int(25));
    Put(w, "downloadType", st.Text(26));
    Put(w, "resourceDesc", st.Text(27));
    Put(w, "replyCount", st.Int(28));
    Put(w, "viewCount", st.Int(29));
    Put(w, "albumId", st.Int(30));
    WriteMediaList(w, call, postId, "audio", "audioList");
    WriteMediaList(w, call, postId, "video", "videoList");
    WriteMediaList(w, call, postId, "file", "fileList");
    WriteMediaList(w, call, postId, "image", "imageList");
    auto links = call.db().Prepare("SELECT url, descr FROM post_links WHERE post_id = ? ORDER BY sort, rowid");
    links.Bind(1, postId);
    w.Key("linkList");
    w.StartArray();
    while (links.Step()) {
        w.StartObject();
        Put(w, "url", links.Text(0));
        Put(w, "desc", links.Text(1));
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    return true;
}

bool IsAdmin(Database& db, int userId) {
    return db.Scalar(0, "SELECT is_admin FROM users WHERE id = ?", userId) != 0;
}

bool ManagesSection(Database& db, int userId, int sectionId) {
    if (IsAdmin(db, userId)) return true;
    return db.Scalar(0, "SELECT 1 FROM section_managers WHERE section_id = ? AND user_id = ?",
                     sectionId, userId) != 0;
}

bool ManagesAnySection(Database& db, int userId) {
    if (IsAdmin(db, userId)) return true;
    return db.Scalar(0, "SELECT 1 FROM section_managers WHERE user_id = ? LIMIT 1", userId) != 0;
}

int PostSection(Database& db, int postId) {
    return static_cast<int>(
        db.Scalar(0, "SELECT section_id FROM posts WHERE id = ? AND deleted = 0", postId));
}

std::string FileUrl(const Call& call, const std::string& stored) {
    return call.BaseUrl() + "/files/" + stored;
}

std::string ToJson(const std::function<void(JsonWriter&)>& write) {
    rapidjson::StringBuffer sb;
    JsonWriter w(sb);
    write(w);
    return std::string(sb.GetString(), sb.GetSize());
}

void WriteRowObjects(JsonWriter& w, Statement& st,
                     const RowWriter& members) {
    w.StartArray();
    while (st.Step()) {
        w.StartObject();
        members(w, st);
        w.EndObject();
    }
    w.EndArray();
}

}  // namespace forum

// What belongs to the signed-in user: albums, follows, own posts, related
// posts, messages and the record lists of the personal centre.
#include "forum_rows.h"
#include "routes.h"
#include "sessions.h"

#include <algorithm>

namespace forum {
namespace {

// The rows of `sql`, whose one parameter is the signed-in user, as an
// array of objects.
Handler UserRows(const char* sql, RowWriter members) {
    return [sql, members](Call& call) {
        int user = SessionUser(call);
        if (!user) return Reply::NeedLogin();
        auto st = call.db().Prepare(sql);
        st.Bind(1, user);
        return Reply::Ok(ToJson([&](JsonWriter& w) { WriteRowObjects(w, st, members); }));
    };
}

void AlbumMembers(JsonWriter& o, const Statement& row) {
    Put(o, "id", row.Int(0));
    Put(o, "name", row.Text(1));
    Put(o, "postCount", row.Int(2));
}

void FollowedMembers(JsonWriter& o, const Statement& row) {
    Put(o, "id", row.Int(0));
    Put(o, "userName", row.Text(1));
    Put(o, "level", row.Text(2));
    Put(o, "avatar", row.Text(3));
}

// Related entries name the post as an object of the relation.
void WriteRelated(JsonWriter& w, const Statement& row) {
    w.StartObject();
    Put(w, "id", row.Int(0));
    Put(w, "postId", row.Int(0));
    Put(w, "objectTitle", row.Text(1));
    Put(w, "name", row.Text(2));
    Put(w, "replyCount", row.Int(6));
    Put(w, "viewCount", row.Int(7));
    Put(w, "createTimeCn", FormatTimeCn(std::max(row.Int64(5), row.Int64(15))));
    w.EndObject();
}

// `where` names the user as ?1.
Reply MyPostList(Call& call, const std::string& where, bool related) {
    int user = SessionUser(call);
    if (!user) return Reply::NeedLogin();
    Paging paging;
    std::string error;
    if (!ReadPaging(call.req, paging, error)) return BadRequest(error);
    return Reply::Ok(PostPage(call.db(), paging, "p.deleted = 0 AND " + where,
                              "MAX(p.created, p.last_reply) DESC, p.id DESC",
                              [user](Statement& st) { st.Bind(1, user); }, related ? WriteRelated : WriteSummary));
}

Reply MyPosts(Call& call) { return MyPostList(call, "p.user_id = ?1", false); }

// Posts the user answered, and the user's posts that others answered.
Reply MyReplies(Call& call) {
    return MyPostList(call,
                      "(p.id IN (SELECT post_id FROM replies WHERE user_id = ?1) OR "
                      "(p.user_id = ?1 AND p.reply_count > 0))",
                      true);
}

Reply Messages(Call& call) {
    int user = SessionUser(call);
    if (!user) return Reply::NeedLogin();
    Paging paging;
    std::string error;
    if (!ReadPaging(call.req, paging, error)) return BadRequest(error);
    int total = static_cast<int>(call.db().Scalar(
        0, "SELECT COUNT(*) FROM messages WHERE to_user = ? OR from_user = ?", user, user));
    auto st = call.db().Prepare(
        "SELECT m.id, m.from_user, f.name, m.to_user, t.name, m.content, m.created FROM messages m "
        "JOIN users f ON f.id = m.from_user JOIN users t ON t.id = m.to_user "
        "WHERE m.to_user = ? OR m.from_user = ? ORDER BY m.created DESC, m.id DESC LIMIT ? OFFSET ?");
    st.Bind(1, user).Bind(2, user).Bind(3, paging.pageSize).Bind(4, paging.Offset());
    return Reply::Ok(ToJson([&](JsonWriter& w) {
        WritePage(w, paging, total, [&] {
            while (st.Step()) {
                w.StartObject();
                Put(w, "id", st.Int(0));
                Put(w, "title", st.Int(1) == user ? "发给 " + st.Text(4) : "来自 " + st.Text(2));
                Put(w, "fromUserId", st.Int(1));
                Put(w, "fromUserName", st.Text(2));
                Put(w, "toUserId", st.Int(3));
                Put(w, "toUserName", st.Text(4));
                Put(w, "content", st.Text(5));
                Put(w, "createTime", FormatTime(st.Int64(6)));
                w.EndObject();
            }
        });
    }));
}

// Record lists hold seeded entries as stored JSON objects.
Handler RecordList(std::string list) {
    return [list](Call& call) {
        int user = SessionUser(call);
        if (!user) return Reply::NeedLogin();
        Paging paging;
        std::string error;
        if (!ReadPaging(call.req, paging, error)) return BadRequest(error);
        int total = static_cast<int>(call.db().Scalar(
            0, "SELECT COUNT(*) FROM records WHERE user_id = ? AND list = ?", user, list));
        auto st = call.db().Prepare(
            "SELECT json FROM records WHERE user_id = ? AND list = ? ORDER BY id LIMIT ? OFFSET ?");
        st.Bind(1, user).Bind(2, list).Bind(3, paging.pageSize).Bind(4, paging.Offset());
        return Reply::Ok(ToJson([&](JsonWriter& w) {
            WritePage(w, paging, total, [&] {
                while (st.Step()) {
                    std::string json = st.Text(0);
                    w.RawValue(json.data(), json.size(), rapidjson::kObjectType);
                }
            });
        }));
    };
}

}  // namespace

void RegisterPersonalRoutes(Router& r) {
    r.Get("/api/album",
          UserRows("SELECT a.id, a.name, "
                   "(SELECT COUNT(*) FROM posts p WHERE p.album_id = a.id AND p.deleted = 0) "
                   "FROM albums a WHERE a.user_id = ? ORDER BY a.id",
                   AlbumMembers));
    r.Get("/api/follow/followed",
          UserRows("SELECT u.id, u.name, u.level, u.avatar FROM follows f JOIN users u ON u.id = f.followed_id "
                   "WHERE f.user_id = ? ORDER BY u.id",
                   FollowedMembers));
    r.Get("/api/post/my", MyPosts);
    r.Get("/api/post/my-reply", MyReplies);
    r.Get("/api/msg/my", Messages);
    for (const char* list : {"/api/question/mine", "/api/post/buy-goods", "/api/post/buy-post",
                             "/api/crowdfund/order/my-channel", "/api/transaction/sale-attachment",
                             "/api/post/sale-goods", "/api/bill/my/zuanshi"})
        r.Get(list, RecordList(list));
}

}  // namespace forum

// Publishing, editing and deleting posts, and replies.
#include "forum_rows.h"
#include "post_input.h"
#include "routes.h"
#include "sessions.h"

namespace forum {
namespace {

constexpr std::size_t kReplyMax = 10000;

bool IsAnnouncementSection(Database& db, int sectionId) {
    return sectionId == 2014 ||
           db.Scalar(0, "SELECT allow_admin FROM sections WHERE id = ?", sectionId) != 0;
}

// Why `userId` may not speak now, or empty.
std::string Silenced(Database& db, int userId) {
    if (db.Scalar(0, "SELECT silenced_until FROM users WHERE id = ?", userId) > Now())
        return "你已被禁言，暂时不能发帖或回帖。";
    return {};
}

// Parses the post body and applies the strict post-form rule.
std::optional<Reply> ReadBody(Call& call, PostInput& in) {
    rapidjson::Document doc;
    std::string error;
    if (!ParseJsonBody(call.req.body, doc, error)) return BadRequest(error);
    if (!ReadPostInput(doc, in, error)) {
        if (doc.IsObject() && !call.forum.options.Allows(Family::Post, in.form))
            return WrongForm(call.forum.options, Family::Post, in.form);
        return BadRequest(error);
    }
    if (!call.forum.options.Allows(Family::Post, in.form))
        return WrongForm(call.forum.options, Family::Post, in.form);
    return std::nullopt;
}

Reply CreatePost(Call& call) {
    int user = SessionUser(call);
    if (!user) return Reply::NeedLogin();
    PostInput in;
    if (auto bad = ReadBody(call, in)) return *bad;
    if (!in.title) return BadRequest("标题不能为空。");
    if (!in.body) return BadRequest("内容不能为空。");
    if (!in.sectionId) return BadRequest("缺少字段：sectionId（版块）。");
    std::string error;
    if (!CheckPostInput(call.db(), in, user, error)) return BadRequest(error);
    if (auto why = Silenced(call.db(), user); !why.empty()) return Reply::Fail(kForbidden, why);
    if (IsAnnouncementSection(call.db(), *in.sectionId) && !ManagesSection(call.db(), user, *in.sectionId))
        return Reply::Fail(kForbidden, "只有版主可以在公告版块发帖。");
    call.db().Prepare("INSERT INTO posts(section_id, user_id, title, body, created) VALUES(?,?,?,?,?)")
        .Bind(1, *in.sectionId).Bind(2, user).Bind(3, *in.title).Bind(4, *in.body).Bind(5, Now()).Run();
    int id = static_cast<int>(call.db().LastInsertId());
    StorePostInput(call.db(), id, in);
    return Reply::Ok(ToJson([&](JsonWriter& w) {
        w.StartObject();
        Put(w, "id", id);
        w.EndObject();
    }));
}

Handler EditPost(bool asManager) {
    return [asManager](Call& call) {
        int user = SessionUser(call);
        if (!user) return Reply::NeedLogin();
        PostInput in;
        if (auto bad = ReadBody(call, in)) return *bad;
        if (!in.id || *in.id == 0) return BadRequest("缺少字段：id（帖子编号）。");
        auto st = call.db().Prepare("SELECT user_id, section_id FROM posts WHERE id = ? AND deleted = 0");
        st.Bind(1, *in.id);
        if (!st.Step()) return NotFound("帖子不存在或已被删除。");
        int owner = st.Int(0), section = st.Int(1);
        if (asManager && !ManagesSection(call.db(), user, section))
            return Reply::Fail(kForbidden, "你不是该版块的版主，不能管理这个帖子。");
        if (!asManager && owner != user) return Reply::Fail(kForbidden, "只能编辑自己的帖子。");
        std::string error;
        // The album belongs to the post's author, also when a manager saves.
        if (!CheckPostInput(call.db(), in, owner, error)) return BadRequest(error);
        if (in.sectionId && *in.sectionId != section && IsAnnouncementSection(call.db(), *in.sectionId) &&
            !ManagesSection(call.db(), user, *in.sectionId))
            return Reply::Fail(kForbidden, "只有版主可以在公告版块发帖。");
        StorePostInput(call.db(), *in.id, in);
        return Reply::Ok("null");
    };
}

Reply DeletePost(Call& call) {
    int user = SessionUser(call);
    if (!user) return Reply::NeedLogin();
    int id = call.PathId();
    auto st = call.db().Prepare("SELECT user_id, section_id FROM posts WHERE id = ? AND deleted = 0");
    st.Bind(1, id);
    if (!st.Step()) return NotFound("帖子不存在或已被删除。");
    if (st.Int(0) != user && !ManagesSection(call.db(), user, st.Int(1)))
        return Reply::Fail(kForbidden, "只能删除自己的帖子。");
    call.db().Prepare("UPDATE posts SET deleted = 1 WHERE id = ?").Bind(1, id).Run();
    call.db().Prepare("DELETE FROM top_all_sections WHERE post_id = ?").Bind(1, id).Run();
    return Reply::Ok("null");
}

Reply CreateReply(Call& call) {
    int user = SessionUser(call);
    if (!user) return Reply::NeedLogin();
    rapidjson::Document doc;
    std::string error;
    if (!ParseJsonBody(call.req.body, doc, error)) return BadRequest(error);
    auto postId = IntMember(doc, "postId");
    auto body = TextMember(doc, "body");
    if (!postId) return BadRequest("缺少字段：postId（帖子编号）。");
    if (!body || Trim(*body).empty()) return BadRequest("回复内容不能为空。");
    if (Utf8Length(*body) > kReplyMax) return BadRequest("回复内容不能超过 10000 个字。");
    auto st = call.db().Prepare(
        "SELECT lock, is_reply, reply_forbidden, status FROM posts WHERE id = ? AND deleted = 0");
    st.Bind(1, *postId);
    if (!st.Step()) return NotFound("帖子不存在或已被删除。");
    if (st.Int(0)) return Reply::Fail(kConflict, "帖子已锁定，不能回复。");
    if (!st.Int(1) || st.Int(2)) return Reply::Fail(kConflict, "当前帖子不允许回复。");
    if (st.Int(3)) return Reply::Fail(kConflict, "帖子已被屏蔽，不能回复。");
    if (auto why = Silenced(call.db(), user); !why.empty()) return Reply::Fail(kForbidden, why);
    int parent = IntMember(doc, "parentId").value_or(0);
    if (parent && !call.db().Scalar(0, "SELECT 1 FROM replies WHERE id = ? AND post_id = ?", parent, *postId))
        return BadRequest("要回复的楼层不存在。");
    int floor = static_cast<int>(
        call.db().Scalar(0, "SELECT COALESCE(MAX(floor), 0) FROM replies WHERE post_id = ?", *postId)) + 1;
    std::int64_t now = Now();
    call.db().Prepare("INSERT INTO replies(post_id, user_id, parent_id, floor, body, created) VALUES(?,?,?,?,?,?)")
        .Bind(1, *postId).Bind(2, user).Bind(3, parent).Bind(4, floor).Bind(5, *body).Bind(6, now).Run();
    int id = static_cast<int>(call.db().LastInsertId());
    call.db().Prepare("UPDATE posts SET reply_count = reply_count + 1, last_reply = ? WHERE id = ?")
        .Bind(1, now).Bind(2, *postId).Run();
    return Reply::Ok(ToJson([&](JsonWriter& w) {
        w.StartObject();
        Put(w, "id", id);
        Put(w, "floor", floor);
        w.EndObject();
    }));
}

}  // namespace

void RegisterWritingRoutes(Router& r) {
    r.Post("/api/post", CreatePost);
    r.Put("/api/post", EditPost(false));
    r.Put("/api/post/manage", EditPost(true));
    r.Delete(R"(/api/post/(-?\d+))", DeletePost);
    r.Post("/api/reply", CreateReply);
}

}  // namespace forum

// One post in full, its manage view, its replies (floors), and the question
// whether the user manages a section.
#include "forum_rows.h"
#include "routes.h"
#include "sessions.h"

namespace forum {
namespace {

Reply Detail(Call& call) {
    int id = call.PathId();
    int viewer = SessionUser(call);
    bool found = false;
    std::string data = ToJson([&](JsonWriter& w) { found = WriteDetail(w, call, id, viewer); });
    if (!found) return NotFound("帖子不存在或已被删除。");
    call.db().Prepare("UPDATE posts SET view_count = view_count + 1 WHERE id = ?").Bind(1, id).Run();
    return Reply::Ok(data);
}

Reply ManageDetail(Call& call) {
    int viewer = SessionUser(call);
    if (!viewer) return Reply::NeedLogin();
    int id = call.PathId();
    int section = PostSection(call.db(), id);
    if (!section) return NotFound("帖子不存在或已被删除。");
    if (!ManagesSection(call.db(), viewer, section))
        return Reply::Fail(kForbidden, "你不是该版块的版主，不能管理这个帖子。");
    return Reply::Ok(ToJson([&](JsonWriter& w) { WriteDetail(w, call, id, viewer); }));
}

// One page of floors. Whether a floor's author manages the post's section
// is part of the query, not a lookup per floor.
const char* const kReplyPage =
    "SELECT r.id, r.post_id, r.user_id, r.parent_id, r.floor, r.body, r.created, u.name, "
    "(SELECT pr.floor FROM replies pr WHERE pr.id = r.parent_id), "
    "u.is_admin != 0 OR EXISTS(SELECT 1 FROM section_managers m "
    "WHERE m.user_id = r.user_id AND m.section_id = p.section_id) "
    "FROM replies r JOIN users u ON u.id = r.user_id JOIN posts p ON p.id = r.post_id "
    "WHERE r.post_id = ? ORDER BY r.floor LIMIT ? OFFSET ?";

void WriteReply(JsonWriter& w, const Statement& row) {
    w.StartObject();
    Put(w, "id", row.Int(0));
    Put(w, "postId", row.Int(1));
    Put(w, "userId", row.Int(2));
    Put(w, "parentId", row.Int(3));
    Put(w, "floor", row.Int(4));
    Put(w, "parentFloor", row.IsNull(8) ? 0 : row.Int(8));
    Put(w, "userName", row.Text(7));
    Put(w, "body", row.Text(5));
    Put(w, "createTime", FormatTime(row.Int64(6)));
    Put(w, "isManager", row.Int(9) ? 1 : 0);
    w.EndObject();
}

bool ParamInt(const httplib::Request& req, const char* name, int& out) {
    return req.has_param(name) && ParseInt(req.get_param_value(name), out);
}

Reply Replies(Call& call) {
    int postId = 0;
    if (!ParamInt(call.req, "postId", postId)) return BadRequest("缺少有效的帖子编号 postId。");
    Paging paging;
    std::string error;
    if (!ReadPaging(call.req, paging, error)) return BadRequest(error);
    if (!PostSection(call.db(), postId)) return NotFound("帖子不存在或已被删除。");
    int total = static_cast<int>(call.db().Scalar(0, "SELECT COUNT(*) FROM replies WHERE post_id = ?", postId));
    auto st = call.db().Prepare(kReplyPage);
    st.Bind(1, postId).Bind(2, paging.pageSize).Bind(3, paging.Offset());
    return Reply::Ok(ToJson([&](JsonWriter& w) {
        w.StartObject();
        Put(w, "postId", postId);
        w.Key("list");
        w.StartArray();
        while (st.Step()) WriteReply(w, st);
        w.EndArray();
        PutPageInfo(w, paging, total);
        w.EndObject();
    }));
}

// Code 0: manager; 1: not a manager; -101: no such section.
Reply ManagerQuery(Call& call) {
    int viewer = SessionUser(call);
    if (!viewer) return Reply::NeedLogin();
    int section = 0;
    if (!ParamInt(call.req, "sectionId", section)) return BadRequest("缺少有效的版块编号 sectionId。");
    if (!call.db().Scalar(0, "SELECT 1 FROM sections WHERE id = ?", section))
        return Reply::Fail(-101, "版块不存在。");
    if (!ManagesSection(call.db(), viewer, section)) return Reply::Fail(1, "你不是该版块的版主。");
    return Reply::Ok("true");
}

}  // namespace

void RegisterDetailRoutes(Router& r) {
    r.Get(R"(/api/post/(-?\d+))", Detail);
    r.Get(R"(/api/post/manage/(-?\d+))", ManageDetail);
    r.Get("/api/reply", Replies);
    r.Get("/api/post/manager", ManagerQuery);
}

}  // namespace forum

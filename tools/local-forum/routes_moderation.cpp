// Moderation: the four toggles, shield, pin in all sections, ban, silence,
// report, move and site messages.
#include "forum_rows.h"
#include "routes.h"
#include "sessions.h"

namespace forum {
namespace {

constexpr std::int64_t kSilenceSeconds = 48 * 3600;

struct Target {
    int user = 0;      // the moderator
    int post = 0;
    int section = 0;
};

// Session, live post and section-manager right, in that order. A handler
// that had to know the session before reading its body passes it in `t`.
std::optional<Reply> NeedPostManager(Call& call, int postId, Target& t) {
    if (!t.user) t.user = SessionUser(call);
    if (!t.user) return Reply::NeedLogin();
    t.post = postId;
    t.section = PostSection(call.db(), postId);
    if (!t.section) return NotFound("帖子不存在或已被删除。");
    if (!ManagesSection(call.db(), t.user, t.section))
        return Reply::Fail(kForbidden, "你不是该版块的版主，不能管理这个帖子。");
    return std::nullopt;
}

std::optional<Reply> ReadObject(Call& call, rapidjson::Document& doc) {
    std::string error;
    if (!ParseJsonBody(call.req.body, doc, error)) return BadRequest(error);
    if (!doc.IsObject()) return BadRequest("请求体应为 JSON 对象。");
    return std::nullopt;
}

// A body naming the post only ("id") flips the switch; the other forms say
// the new state by "value", "status", "enabled" or the field's own name.
Handler Toggle(std::string field) {
    return [field](Call& call) {
        Target t;
        t.user = SessionUser(call);
        if (!t.user) return Reply::NeedLogin();
        rapidjson::Document doc;
        if (auto bad = ReadObject(call, doc)) return *bad;
        std::string key = Member(doc, "id") ? "id" : Member(doc, "postId") ? "postId" : "";
        if (key.empty()) return BadRequest("缺少帖子编号（id 或 postId）。");
        auto id = IntMember(doc, key.c_str());
        if (!id) return BadRequest("帖子编号不是有效的数字。");
        std::string form = key;
        std::optional<bool> state;
        for (const char* k : {"value", "status", "enabled", field.c_str()}) {
            if (!Member(doc, k)) continue;
            state = FlagMember(doc, k);
            if (!state) return BadRequest(std::string(k) + " 应为 true/false 或 1/0。");
            form = key + "+" + (k == field ? "field" : k);
            break;
        }
        if (!call.forum.options.Allows(Family::Toggle, form))
            return WrongForm(call.forum.options, Family::Toggle, form);
        if (auto bad = NeedPostManager(call, *id, t)) return *bad;
        std::string sql = "UPDATE posts SET " + field + " = " +
                          (state ? std::string(*state ? "1" : "0") : "1 - " + field) + " WHERE id = ?";
        call.db().Prepare(sql.c_str()).Bind(1, *id).Run();
        int now = static_cast<int>(call.db().Scalar(0, ("SELECT " + field + " FROM posts WHERE id = ?").c_str(), *id));
        return Reply::Ok(ToJson([&](JsonWriter& w) {
            w.StartObject();
            Put(w, "id", *id);
            Put(w, field.c_str(), now);
            w.EndObject();
        }));
    };
}

Handler Shield(int status) {
    return [status](Call& call) {
        Target t;
        if (auto bad = NeedPostManager(call, call.PathId(), t)) return *bad;
        call.db().Prepare("UPDATE posts SET status = ? WHERE id = ?").Bind(1, status).Bind(2, t.post).Run();
        return Reply::Ok("null");
    };
}

// Body: the sections to pin into; [0] or [] means every section.
Reply TopAll(Call& call) {
    Target t;
    if (auto bad = NeedPostManager(call, call.PathId(), t)) return *bad;
    rapidjson::Document doc;
    std::string error;
    if (!ParseJsonBody(call.req.body, doc, error)) return BadRequest(error);
    if (!doc.IsArray()) return BadRequest("请求体应为版块编号数组，例如 [3,7]。");
    std::vector<int> sections;
    for (const auto& v : doc.GetArray()) {
        if (!v.IsInt()) return BadRequest("版块编号应为整数。");
        if (v.GetInt() != 0 && !call.db().Scalar(0, "SELECT 1 FROM sections WHERE id = ?", v.GetInt()))
            return NotFound("版块不存在：" + std::to_string(v.GetInt()) + "。");
        sections.push_back(v.GetInt());
    }
    if (sections.empty()) sections.push_back(0);
    call.db().Prepare("DELETE FROM top_all_sections WHERE post_id = ?").Bind(1, t.post).Run();
    for (int s : sections)
        call.db().Prepare("INSERT OR IGNORE INTO top_all_sections(post_id, section_id) VALUES(?,?)")
            .Bind(1, t.post).Bind(2, s).Run();
    call.db().Prepare("UPDATE posts SET top_all = 1 WHERE id = ?").Bind(1, t.post).Run();
    return Reply::Ok("null");
}

Reply CancelTopAll(Call& call) {
    Target t;
    if (auto bad = NeedPostManager(call, call.PathId(), t)) return *bad;
    call.db().Prepare("DELETE FROM top_all_sections WHERE post_id = ?").Bind(1, t.post).Run();
    call.db().Prepare("UPDATE posts SET top_all = 0 WHERE id = ?").Bind(1, t.post).Run();
    return Reply::Ok("null");
}

// Ban and silence: any section manager may use them, never on themselves or
// on the site's administrators. `value` is the column's new value.
Handler UserSwitch(const char* column, std::function<std::int64_t()> value, bool endSessions) {
    return [column, value, endSessions](Call& call) {
        int user = SessionUser(call);
        if (!user) return Reply::NeedLogin();
        if (!ManagesAnySection(call.db(), user)) return Reply::Fail(kForbidden, "只有版主可以执行此操作。");
        int target = call.PathId();
        if (!call.db().Scalar(0, "SELECT 1 FROM users WHERE id = ?", target)) return NotFound("用户不存在。");
        if (target == user) return BadRequest("不能对自己执行此操作。");
        if (IsAdmin(call.db(), target)) return Reply::Fail(kForbidden, "不能对站长执行此操作。");
        call.db().Prepare((std::string("UPDATE users SET ") + column + " = ? WHERE id = ?").c_str())
            .Bind(1, value()).Bind(2, target).Run();
        if (endSessions) EndSessionsOf(call.db(), target);
        return Reply::Ok("null");
    };
}

Reply Complaint(Call& call) {
    int user = SessionUser(call);
    if (!user) return Reply::NeedLogin();
    rapidjson::Document doc;
    if (auto bad = ReadObject(call, doc)) return *bad;
    auto type = IntMember(doc, "type");
    const char* key = Member(doc, "objectId") ? "objectId" : "id";
    auto id = IntMember(doc, key);
    if (!type || (*type != 0 && *type != 1)) return BadRequest("举报类型 type 应为 0 或 1。");
    if (!id) return BadRequest("缺少被举报的帖子编号（objectId 或 id）。");
    std::string form = "type=" + std::to_string(*type) + "," + key;
    if (!call.forum.options.Allows(Family::Report, form))
        return WrongForm(call.forum.options, Family::Report, form);
    std::string reason = Trim(TextMember(doc, "reason").value_or(""));
    if (reason.empty()) return BadRequest("举报理由不能为空。");
    if (!PostSection(call.db(), *id)) return NotFound("帖子不存在或已被删除。");
    call.db().Prepare("INSERT INTO complaints(user_id, post_id, type, reason, created) VALUES(?,?,?,?,?)")
        .Bind(1, user).Bind(2, *id).Bind(3, *type).Bind(4, reason).Bind(5, Now()).Run();
    return Reply::Ok("null");
}

Reply Move(Call& call) {
    Target t;
    t.user = SessionUser(call);
    if (!t.user) return Reply::NeedLogin();
    rapidjson::Document doc;
    if (auto bad = ReadObject(call, doc)) return *bad;
    const char* postKey = Member(doc, "id") ? "id" : "postId";
    const char* sectionKey = Member(doc, "sectionId") ? "sectionId" : "targetSectionId";
    auto id = IntMember(doc, postKey);
    auto section = IntMember(doc, sectionKey);
    if (!id) return BadRequest("缺少帖子编号（id 或 postId）。");
    if (!section) return BadRequest("缺少目标版块（sectionId 或 targetSectionId）。");
    std::string form = std::string(postKey) + "+" + sectionKey;
    if (!call.forum.options.Allows(Family::Move, form))
        return WrongForm(call.forum.options, Family::Move, form);
    if (auto bad = NeedPostManager(call, *id, t)) return *bad;
    if (!call.db().Scalar(0, "SELECT 1 FROM sections WHERE id = ?", *section))
        return NotFound("目标版块不存在。");
    call.db().Prepare("UPDATE posts SET section_id = ? WHERE id = ?").Bind(1, *section).Bind(2, *id).Run();
    return Reply::Ok("null");
}

Reply Message(Call& call) {
    int user = SessionUser(call);
    if (!user) return Reply::NeedLogin();
    rapidjson::Document doc;
    if (auto bad = ReadObject(call, doc)) return *bad;
    const char* to = nullptr;
    for (const char* k : {"rUserId", "userId", "toUserId", "receiverId"})
        if (!to && Member(doc, k)) to = k;
    const char* textKey = Member(doc, "content") ? "content" : "body";
    if (!to) return BadRequest("缺少收信人（rUserId、userId、toUserId 或 receiverId）。");
    std::string form = std::string(to) + "+" + textKey;
    if (!call.forum.options.Allows(Family::Message, form))
        return WrongForm(call.forum.options, Family::Message, form);
    auto target = IntMember(doc, to);
    std::string text = Trim(TextMember(doc, textKey).value_or(""));
    if (!target) return BadRequest("收信人编号不是有效的数字。");
    if (text.empty()) return BadRequest("消息内容不能为空。");
    if (!call.db().Scalar(0, "SELECT 1 FROM users WHERE id = ?", *target)) return NotFound("收信人不存在。");
    if (*target == user) return BadRequest("不能给自己发送站内消息。");
    call.db().Prepare("INSERT INTO messages(from_user, to_user, content, created) VALUES(?,?,?,?)")
        .Bind(1, user).Bind(2, *target).Bind(3, text).Bind(4, Now()).Run();
    return Reply::Ok("null");
}

}  // namespace

void RegisterModerationRoutes(Router& r) {
    for (const char* f : {"essence", "lock", "sink", "top"})
        r.Patch(std::string("/api/post/") + f, Toggle(f));
    r.Patch(R"(/api/post/(-?\d+)/shield)", Shield(2));
    r.Patch(R"(/api/post/(-?\d+)/unshield)", Shield(0));
    r.Post(R"(/api/post/(-?\d+)/top-all)", TopAll);
    r.Delete(R"(/api/post/(-?\d+)/top-all)", CancelTopAll);
    auto fixed = [](std::int64_t v) { return [v] { return v; }; };
    r.Patch(R"(/api/user/(-?\d+)/ban)", UserSwitch("banned", fixed(1), true));
    r.Patch(R"(/api/user/(-?\d+)/cancelBan)", UserSwitch("banned", fixed(0), false));
    r.Patch(R"(/api/user/(-?\d+)/silence)",
            UserSwitch("silenced_until", [] { return Now() + kSilenceSeconds; }, false));
    r.Patch(R"(/api/user/(-?\d+)/cancelSilence)", UserSwitch("silenced_until", fixed(0), false));
    r.Post("/api/complaint", Complaint);
    r.Patch("/api/post/move", Move);
    r.Post("/api/msg", Message);
}

}  // namespace forum

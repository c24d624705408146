// Sections and the post lists: hot, latest topics, latest replies, search
// and the posts of one section.
#include "forum_rows.h"
#include "routes.h"

#include <string>

namespace forum {
namespace {

// Posts that front-page lists and search may show: live and not shielded.
const char* kPublic = "p.deleted = 0 AND p.status = 0";

Handler ListHandler(std::string where, std::string order) {
    return [where, order](Call& call) {
        Paging paging;
        std::string error;
        if (!ReadPaging(call.req, paging, error)) return BadRequest(error);
        return Reply::Ok(PostPage(call.db(), paging, where, order));
    };
}

Reply Search(Call& call) {
    Paging paging;
    std::string error;
    if (!ReadPaging(call.req, paging, error)) return BadRequest(error);
    // httplib has already percent-decoded the query value.
    std::string keyword = Trim(call.req.get_param_value("keyword"));
    if (keyword.empty()) return BadRequest("搜索关键词不能为空。");
    return Reply::Ok(PostPage(call.db(), paging,
                              std::string(kPublic) + " AND (instr(p.title, ?1) > 0 OR instr(p.body, ?1) > 0)",
                              "p.created DESC, p.id DESC", [&](Statement& st) { st.Bind(1, keyword); }));
}

Reply Sections(Call& call) {
    auto st = call.db().Prepare(
        "SELECT id, name, description, allow_admin, resource, "
        "(SELECT COUNT(*) FROM posts p WHERE p.section_id = s.id AND p.deleted = 0) "
        "FROM sections s ORDER BY sort, id");
    return Reply::Ok(ToJson([&](JsonWriter& w) {
        WriteRowObjects(w, st, [](JsonWriter& o, const Statement& row) {
            Put(o, "id", row.Int(0));
            Put(o, "name", row.Text(1));
            Put(o, "description", row.Text(2));
            Put(o, "allowAdmin", row.Int(3));
            Put(o, "resource", row.Int(4));
            Put(o, "postCount", row.Int(5));
        });
    }));
}

// Pinned posts first (also posts pinned into every section or into this
// one), sunk posts last, then by latest activity.
Reply SectionPosts(Call& call) {
    int id = call.PathId();
    Paging paging;
    std::string error;
    if (!ReadPaging(call.req, paging, error)) return BadRequest(error);
    auto sec = call.db().Prepare("SELECT id, name, description, allow_admin, resource FROM sections WHERE id = ?");
    sec.Bind(1, id);
    if (!sec.Step()) return NotFound("版块不存在。");
    std::string s = std::to_string(id);
    std::string pinnedHere = "p.id IN (SELECT post_id FROM top_all_sections WHERE section_id IN (0, " + s + "))";
    std::string where = "p.deleted = 0 AND (p.section_id = " + s + " OR " + pinnedHere + ")";
    std::string order = "(" + pinnedHere + ") DESC, p.top DESC, p.sink ASC, "
                        "MAX(p.created, p.last_reply) DESC, p.id DESC";
    std::string page = PostPage(call.db(), paging, where, order);
    return Reply::Ok(ToJson([&](JsonWriter& w) {
        w.StartObject();
        Put(w, "id", sec.Int(0));
        Put(w, "name", sec.Text(1));
        Put(w, "description", sec.Text(2));
        Put(w, "allowAdmin", sec.Int(3));
        Put(w, "resource", sec.Int(4));
        w.Key("postPage");
        w.RawValue(page.data(), page.size(), rapidjson::kObjectType);
        w.EndObject();
    }));
}

}  // namespace

Reply BadRequest(const std::string& message) { return Reply::Fail(kBadRequest, message); }
Reply NotFound(const std::string& message) { return Reply::Fail(kNotFound, message); }

Reply WrongForm(const Options& options, Family family, const std::string& form) {
    auto pinned = options.only.find(family);
    std::string only = pinned == options.only.end() ? std::string() : pinned->second;
    return Reply::Fail(kWrongForm, "本服务器处于严格模式（" + FamilyOption(family) + " " + only +
                                       "），不接受“" + form + "”形式的请求。");
}

void RegisterReadingRoutes(Router& r) {
    r.Get("/api/section", Sections);
    r.Get(R"(/api/section/(-?\d+))", SectionPosts);
    r.Get("/api/post/hot", ListHandler(std::string(kPublic) + " AND p.sink = 0",
                                       "(p.view_count + 10 * p.reply_count) DESC, p.id DESC"));
    r.Get("/api/post/new", ListHandler(kPublic, "p.created DESC, p.id DESC"));
    r.Get("/api/post/new-reply", ListHandler(std::string(kPublic) + " AND p.reply_count > 0",
                                             "p.last_reply DESC, p.id DESC"));
    r.Get("/api/post/search", Search);
}

}  // namespace forum

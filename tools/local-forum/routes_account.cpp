// Login, registration, password reset, verification codes, the profile and
// the two coin counts.
#include "forum_rows.h"
#include "routes.h"
#include "sessions.h"

#include <cstdint>
#include <random>

namespace forum {
namespace {

constexpr std::int64_t kCodeLifetime = 10 * 60;

bool ValidMobile(const std::string& m) {
    if (m.size() != 11 || m[0] != '1') return false;
    for (char c : m)
        if (c < '0' || c > '9') return false;
    return true;
}

struct Credentials {
    std::string mobile, password, code;
};

// Reads {"mobile","password"[,"code"]}; returns why not, or an empty text.
std::string ReadCredentials(const std::string& body, bool needCode, Credentials& out) {
    rapidjson::Document doc;
    std::string error;
    if (!ParseJsonBody(body, doc, error)) return error;
    if (!doc.IsObject()) return "请求体应为 JSON 对象。";
    auto mobile = TextMember(doc, "mobile");
    auto password = TextMember(doc, "password");
    if (!mobile || Trim(*mobile).empty()) return "缺少字段：mobile（手机号）。";
    if (!password || password->empty()) return "缺少字段：password（密码）。";
    out.mobile = Trim(*mobile);
    out.password = *password;
    if (!ValidMobile(out.mobile)) return "手机号格式不正确。";
    if (needCode) {
        auto code = TextMember(doc, "code");
        if (!code || Trim(*code).empty()) return "缺少字段：code（验证码）。";
        out.code = Trim(*code);
    }
    return {};
}

Reply SessionReply(Database& db, int userId) {
    Issued s = IssueSession(db, userId);
    Reply r = Reply::Ok(ToJson([&](JsonWriter& w) { w.String(s.token.c_str()); }));
    r.setCookies = s.setCookies;
    return r;
}

// A code is good once: it is removed when it matches.
bool TakeCode(Database& db, const std::string& mobile, const std::string& code) {
    auto st = db.Prepare("SELECT code, created FROM verify_codes WHERE mobile = ?");
    st.Bind(1, mobile);
    if (!st.Step() || st.Text(0) != code || Now() - st.Int64(1) > kCodeLifetime) return false;
    db.Prepare("DELETE FROM verify_codes WHERE mobile = ?").Bind(1, mobile).Run();
    return true;
}

Reply Login(Call& call) {
    Credentials c;
    std::string error = ReadCredentials(call.req.body, false, c);
    if (!error.empty()) return BadRequest(error);
    auto st = call.db().Prepare("SELECT id, password, banned FROM users WHERE mobile = ?");
    st.Bind(1, c.mobile);
    if (!st.Step() || st.Text(1) != c.password) return Reply::Fail(kForbidden, "手机号或密码错误。");
    if (st.Int(2)) return Reply::Fail(kForbidden, "该账号已被封禁，无法登录。");
    return SessionReply(call.db(), st.Int(0));
}

Reply Register(Call& call) {
    Credentials c;
    std::string error = ReadCredentials(call.req.body, true, c);
    if (!error.empty()) return BadRequest(error);
    // The client has its own text for a known number; code 1 alone says it.
    if (call.db().Scalar(0, "SELECT id FROM users WHERE mobile = ?", c.mobile)) {
        Reply r;
        r.code = 1;
        return r;
    }
    if (c.password.size() < 6) return BadRequest("密码至少需要 6 位。");
    if (!TakeCode(call.db(), c.mobile, c.code)) return BadRequest("验证码错误或已过期。");
    std::string name = "用户" + c.mobile.substr(7);
    call.db().Prepare("INSERT INTO users(mobile, password, name, level) VALUES(?,?,?,'LV1')")
        .Bind(1, c.mobile).Bind(2, c.password).Bind(3, name).Run();
    return SessionReply(call.db(), static_cast<int>(call.db().LastInsertId()));
}

Reply ResetPassword(Call& call) {
    Credentials c;
    std::string error = ReadCredentials(call.req.body, true, c);
    if (!error.empty()) return BadRequest(error);
    int id = static_cast<int>(call.db().Scalar(0, "SELECT id FROM users WHERE mobile = ?", c.mobile));
    if (!id) return NotFound("该手机号尚未注册。");
    if (c.password.size() < 6) return BadRequest("密码至少需要 6 位。");
    if (!TakeCode(call.db(), c.mobile, c.code)) return BadRequest("验证码错误或已过期。");
    if (call.db().Scalar(0, "SELECT banned FROM users WHERE id = ?", id))
        return Reply::Fail(kForbidden, "该账号已被封禁，无法登录。");
    call.db().Prepare("UPDATE users SET password = ? WHERE id = ?").Bind(1, c.password).Bind(2, id).Run();
    EndSessionsOf(call.db(), id);
    return SessionReply(call.db(), id);
}

// The body is the mobile number as a JSON string, as plain text, or as raw
// JSON text (a bare number); {"mobile": ...} is accepted too.
Reply VerifyCode(Call& call) {
    const std::string& body = call.req.body;
    std::string type = call.req.get_header_value("Content-Type");
    std::string form, mobile;
    rapidjson::Document doc;
    doc.Parse<rapidjson::kParseIterativeFlag>(body.c_str(), body.size());
    if (!doc.HasParseError() && doc.IsString()) {
        form = "JSON字符串";
        mobile = doc.GetString();
    } else if (type.rfind("text/plain", 0) == 0) {
        form = "纯文本";
        mobile = body;
    } else if (!doc.HasParseError() && doc.IsObject() && TextMember(doc, "mobile")) {
        form = "JSON对象";
        mobile = *TextMember(doc, "mobile");
    } else {
        form = "JSON原始文本";
        mobile = body;
    }
    if (!call.forum.options.Allows(Family::Verify, form))
        return WrongForm(call.forum.options, Family::Verify, form);
    mobile = Trim(mobile);
    if (mobile.empty()) return BadRequest("缺少手机号。");
    if (!ValidMobile(mobile)) return BadRequest("手机号格式不正确。");
    std::string code = call.forum.options.fixedVerifyCode;
    if (code.empty()) {
        static std::mt19937 rng{std::random_device{}()};
        code = std::to_string(100000 + rng() % 900000);
    }
    call.db().Prepare("INSERT OR REPLACE INTO verify_codes(mobile, code, created) VALUES(?,?,?)")
        .Bind(1, mobile).Bind(2, code).Bind(3, Now()).Run();
    call.forum.Log("verify-code " + mobile + " " + code);
    return Reply::Ok("null");
}

Reply Profile(Call& call) {
    int id = SessionUser(call);
    if (!id) return Reply::NeedLogin();
    auto st = call.db().Prepare(
        "SELECT id, name, avatar, point, mobile, gender, level, birth, balance, is_admin "
        "FROM users WHERE id = ?");
    st.Bind(1, id);
    if (!st.Step()) return Reply::NeedLogin();
    return Reply::Ok(ToJson([&](JsonWriter& w) {
        w.StartObject();
        Put(w, "id", st.Int(0));
        Put(w, "name", st.Text(1));
        Put(w, "avatar", st.Text(2));
        Put(w, "point", st.Int(3));
        Put(w, "mobile", st.Text(4));
        Put(w, "gender", st.Int(5));
        Put(w, "level", st.Text(6));
        Put(w, "birth", st.Text(7));
        Put(w, "balance", st.Double(8));
        Put(w, "isManager", st.Int(9));
        w.EndObject();
    }));
}

// Coins ("lanyin") answer a bare number, diamonds ("zuanshi") an object:
// the client reads both shapes.
Handler CountHandler(const char* column, bool bare) {
    return [column, bare](Call& call) {
        int viewer = SessionUser(call);
        if (!viewer) return Reply::NeedLogin();
        int id = call.PathId();
        if (id != viewer && !IsAdmin(call.db(), viewer))
            return Reply::Fail(kForbidden, "只能查看自己的资产。");
        auto st = call.db().Prepare((std::string("SELECT ") + column + " FROM users WHERE id = ?").c_str());
        st.Bind(1, id);
        if (!st.Step()) return NotFound("用户不存在。");
        int value = st.Int(0);
        if (bare) return Reply::Ok(std::to_string(value));
        return Reply::Ok(ToJson([&](JsonWriter& w) {
            w.StartObject();
            Put(w, "userId", id);
            Put(w, "count", value);
            w.EndObject();
        }));
    };
}

}  // namespace

void RegisterAccountRoutes(Router& r) {
    r.Post("/api/user/login", Login);
    r.Post("/api/user/register", Register);
    r.Post("/api/user/reset-password", ResetPassword);
    r.Post("/api/verify-code", VerifyCode);
    r.Get("/api/user", Profile);
    r.Get(R"(/api/user/(-?\d+)/lanyin)", CountHandler("coins", true));
    r.Get(R"(/api/user/(-?\d+)/zuanshi)", CountHandler("diamonds", false));
}

}  // namespace forum

#include "api/user_profile.h"

#include "api/api_client.h"

UserInfo ReadUserProfile(const JsonValue* data)
{
    UserInfo info;
    if (!data || !data->IsObject()) {
        info.error = wxS("用户资料数据格式不正确。");
        return info;
    }
    info.id = JsonInt(data, "id", 0);
    info.name = JsonText(data, "name");
    info.avatar = JsonText(data, "avatar");
    info.point = JsonInt(data, "point", 0);
    info.mobile = JsonText(data, "mobile");
    info.gender = JsonInt(data, "gender", 0);
    info.level = JsonText(data, "level");
    info.birth = JsonText(data, "birth");
    info.balance = JsonDouble(data, "balance", 0);
    info.isManager = JsonInt(data, "isManager", 0);
    if (info.id == 0 && info.name.empty()) {
        info.error = wxS("用户资料缺少关键字段。");
        return info;
    }
    info.ok = true;
    return info;
}

bool IsSessionExpiredText(const wxString& error)
{
    if (error.Contains(wxS("未登录"))) return true;
    // "code=-1000" is another code, not the expired session.
    const wxString marker = wxS("code=-100");
    for (size_t at = error.find(marker); at != wxString::npos; at = error.find(marker, at + 1)) {
        const size_t next = at + marker.length();
        if (next >= error.length() || error[next] < wxS('0') || error[next] > wxS('9')) return true;
    }
    return false;
}

UserInfo ApiClient::GetUserProfile(const wxString& token, const wxString& cookies) const
{
    rapidjson::Document doc;
    wxString message;
    // The walk tries many session forms. A server that knows only some of
    // them refuses the others as "not logged in" while the form it knows
    // may fail for another reason (a 500, an error page): the session is
    // expired only when every failed form was refused that way. Otherwise
    // the other failure is the one to report, and the session stands.
    wxString expired, other;
    bool otherFailure = false;
    const bool answered = SendGet(wxS("/api/user"), token, cookies, wxS("获取用户资料失败"), doc, message,
                                  [&](const wxString& attempt) {
                                      if (!IsSessionExpiredText(attempt)) {
                                          otherFailure = true;
                                          other = attempt;
                                      } else if (expired.empty()) {
                                          expired = attempt;
                                      }
                                  });
    if (!answered) {
        UserInfo info;
        info.sessionExpired = !otherFailure && !expired.empty();
        info.error = otherFailure ? other : expired.empty() ? message : expired;
        return info;
    }
    return ReadUserProfile(JsonData(&doc));
}

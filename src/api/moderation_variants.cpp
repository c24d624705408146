#include "api/moderation_variants.h"

#include <functional>

#include "api/body_encoding.h"

namespace {

const wxString kJson = wxS("application/json");

BodyVariant Variant(const wxString& label, const std::function<void(JsonBodyWriter&)>& members)
{
    JsonBodyWriter w;
    w.StartObject();
    members(w);
    w.EndObject();
    return BodyVariant{label, kJson, w.Body()};
}

}  // namespace

std::vector<BodyVariant> ToggleVariants(int32_t postId, bool on, const char* field)
{
    const int32_t flag = on ? 1 : 0;
    const wxString f = wxString::FromUTF8(field);
    std::vector<BodyVariant> v;
    v.push_back(Variant(wxS("id+value"), [&](auto& w) { w.Member("id", postId).Member("value", on); }));
    v.push_back(Variant(wxS("id+status"), [&](auto& w) { w.Member("id", postId).Member("status", flag); }));
    v.push_back(Variant(wxS("id+enabled"), [&](auto& w) { w.Member("id", postId).Member("enabled", on); }));
    v.push_back(Variant(wxS("id+") + f, [&](auto& w) { w.Member("id", postId).Member(field, flag); }));
    v.push_back(Variant(wxS("postId+value"), [&](auto& w) { w.Member("postId", postId).Member("value", on); }));
    v.push_back(Variant(wxS("postId+status"), [&](auto& w) { w.Member("postId", postId).Member("status", flag); }));
    v.push_back(Variant(wxS("postId+") + f, [&](auto& w) { w.Member("postId", postId).Member(field, flag); }));
    v.push_back(Variant(wxS("id"), [&](auto& w) { w.Member("id", postId); }));
    return v;
}

std::vector<BodyVariant> TopAllVariants(const std::vector<int32_t>& sectionIds)
{
    JsonBodyWriter w;
    w.StartArray();
    if (sectionIds.empty()) w.Value(int32_t{0});
    for (int32_t id : sectionIds) w.Value(id);
    w.EndArray();
    return {BodyVariant{wxS("sectionIdArray"), kJson, w.Body()}};
}

std::vector<BodyVariant> ComplaintVariants(int32_t postId, const wxString& reason)
{
    std::vector<BodyVariant> v;
    for (int32_t type : {1, 0}) {
        for (const char* key : {"objectId", "id"}) {
            v.push_back(Variant(wxString::Format(wxS("type=%d,%s"), type, key), [&](auto& w) {
                w.Member("type", type).Member(key, postId).Member("reason", reason);
            }));
        }
    }
    return v;
}

std::vector<BodyVariant> MoveVariants(int32_t postId, int32_t sectionId)
{
    std::vector<BodyVariant> v;
    for (const char* postKey : {"id", "postId"}) {
        for (const char* sectionKey : {"sectionId", "targetSectionId"}) {
            const wxString label = wxString::FromUTF8(postKey) + wxS("+") + wxString::FromUTF8(sectionKey);
            v.push_back(Variant(label, [&](auto& w) { w.Member(postKey, postId).Member(sectionKey, sectionId); }));
        }
    }
    return v;
}

std::vector<BodyVariant> MessageVariants(int32_t userId, const wxString& text)
{
    std::vector<BodyVariant> v;
    for (const char* userKey : {"rUserId", "userId", "toUserId", "receiverId"}) {
        for (const char* textKey : {"content", "body"}) {
            const wxString label = wxString::FromUTF8(userKey) + wxS("+") + wxString::FromUTF8(textKey);
            v.push_back(Variant(label, [&](auto& w) { w.Member(userKey, userId).Member(textKey, text); }));
        }
    }
    return v;
}

#include "api/personal_parsers.h"

#include "api/utf8_text.h"

#include <initializer_list>
#include <string_view>

namespace {

bool Has(const JsonValue& entry, const char* name)
{
    return JsonMember(&entry, name) != nullptr;
}

bool HasAny(const JsonValue& entry, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (Has(entry, name)) return true;
    return false;
}

wxString FirstText(const JsonValue& entry, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        const wxString text = JsonText(&entry, name);
        if (!text.empty()) return text;
    }
    return wxString();
}

// Low 32 bits of any JSON integer, like JsonInt.
int32_t Low32(const JsonValue& v)
{
    const uint64_t bits = v.IsInt64() ? static_cast<uint64_t>(v.GetInt64()) : v.GetUint64();
    return static_cast<int32_t>(static_cast<uint32_t>(bits));
}

}  // namespace

AlbumEntry ReadAlbumEntry(const JsonValue& entry)
{
    AlbumEntry album;
    album.id = JsonInt(&entry, "id", 0);
    album.name = Has(entry, "name") ? JsonText(&entry, "name") : JsonText(&entry, "title");
    return album;
}

bool KeepAlbumEntry(const AlbumEntry& album)
{
    return album.id != 0 || !album.name.empty();
}

FollowEntry ReadFollowEntry(const JsonValue& entry)
{
    FollowEntry user;
    user.id = JsonInt(&entry, "id", 0);
    user.name = Has(entry, "userName") ? JsonText(&entry, "userName") : JsonText(&entry, "name");
    user.level = JsonText(&entry, "level");
    user.avatar = JsonText(&entry, "avatar");
    return user;
}

bool KeepFollowEntry(const FollowEntry& user)
{
    return user.id != 0 || !user.name.empty();
}

int32_t RecordKindOf(const JsonValue& entry)
{
    if (HasAny(entry, {"replyCount", "viewCount"})) return kRecordPost;
    if (Has(entry, "level") && Has(entry, "userName")) return kRecordUser;
    if (Has(entry, "amount") && Has(entry, "typeString")) return kRecordBill;
    if (HasAny(entry, {"objectTitle", "payNum"})) return kRecordTrade;
    if (HasAny(entry, {"questionId", "reward"})) return kRecordQuestion;
    if (HasAny(entry, {"channelName", "goodsName"})) return kRecordGoods;
    if (Has(entry, "name") && Has(entry, "id") && !Has(entry, "title")) return kRecordNamed;
    return kRecordPlain;
}

RecordLine SummarizeRecord(const JsonValue& entry)
{
    RecordLine line;
    line.kind = RecordKindOf(entry);
    line.id = JsonInt(&entry, "id", 0);
    line.objectId = Has(entry, "objectId") ? JsonInt(&entry, "objectId", 0) : JsonInt(&entry, "postId", 0);

    line.title = FirstText(entry, {"title", "objectTitle", "name", "userName", "typeString", "goodsName"});
    wxString extra;
    for (const char* name : {"userName", "level", "typeString", "createTime"}) {
        const wxString text = JsonText(&entry, name);
        if (text.empty()) continue;
        if (!extra.empty()) extra += wxS(" | ");
        extra += text;
    }
    if (line.title.empty())
        line.title = line.id != 0 ? wxString::Format(wxS("记录 #%d"), line.id) : wxString(wxS("记录"));
    line.summary = extra.empty() ? line.title : line.title + wxS(" | ") + extra;

    for (auto it = entry.MemberBegin(); it != entry.MemberEnd(); ++it) {
        if (!line.details.empty()) line.details += wxS("\r\n");
        line.details += Utf8WithReplacement(std::string_view(it->name.GetString(), it->name.GetStringLength())) +
                        wxS("：") +
                        JsonValueToText(&it->value);
    }

    // An entry that names a post but reads like nothing else is that post.
    if (line.kind == kRecordPlain && line.objectId != 0 && HasAny(entry, {"objectTitle", "postId"}))
        line.kind = kRecordPost;
    return line;
}

RecordLine ScalarRecord(const JsonValue& value)
{
    RecordLine line;
    line.title = JsonValueToText(&value);
    line.summary = line.title;
    line.details = line.title;
    return line;
}

namespace {

RecordLine AnyRecord(const JsonValue& value)
{
    return value.IsObject() ? SummarizeRecord(value) : ScalarRecord(value);
}

void AddAll(const JsonValue& array, PersonalListPage& page)
{
    for (const JsonValue& element : array.GetArray()) page.items.push_back(AnyRecord(element));
}

}  // namespace

PersonalListPage ParsePersonalList(const JsonValue& data, int32_t pageNum, int32_t pageSize)
{
    PersonalListPage page;
    page.pageInfo = PageInfo{pageNum, pageSize, 1, 0};
    page.ok = true;
    if (data.IsArray()) {
        AddAll(data, page);
        page.pageInfo.total = static_cast<int32_t>(page.items.size());
        return page;
    }
    const JsonValue* list = JsonMember(&data, "list");
    if (list && list->IsArray()) {
        AddAll(*list, page);
        page.pageInfo.pageNum = JsonInt(&data, "pageNum", pageNum);
        page.pageInfo.pageSize = JsonInt(&data, "pageSize", pageSize);
        page.pageInfo.pages = JsonInt(&data, "pages", 1);
        page.pageInfo.total = JsonInt(&data, "total", static_cast<int32_t>(page.items.size()));
        return page;
    }
    page.items.push_back(AnyRecord(data));
    page.pageInfo.total = 1;
    return page;
}

std::optional<int32_t> ReadCount(const JsonValue* data)
{
    if (!data) return std::nullopt;
    if (data->IsInt64()) return Low32(*data);
    if (!data->IsObject()) return std::nullopt;
    for (const char* name : {"balance", "count", "total", "value", "num"}) {
        const JsonValue* v = JsonMember(data, name);
        if (v && (v->IsInt64() || v->IsUint64())) return Low32(*v);
    }
    return std::nullopt;
}

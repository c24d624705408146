// The personal centre's answers, each read as its list reads it: albums,
// followed users, "my posts" pages, the generic record lists (messages,
// bills, purchases...) and the two coin counts.
#include "api/api_client.h"
#include "api/forum_parsers.h"
#include "api/personal_parsers.h"
#include "fuzz_support.h"

namespace {

void UseRecords(const JsonValue& answer, const PersonalListPage& page)
{
    FUZZ_CHECK(page.ok && page.error.empty());
    // An answer that is no list is shown as one record, so nothing the
    // server sent is dropped.
    const JsonValue* list = answer.IsObject() ? JsonMember(&answer, "list") : nullptr;
    if (!answer.IsArray() && !(list && list->IsArray())) FUZZ_CHECK(page.items.size() == 1);
    for (const RecordLine& line : page.items) {
        fuzz::Use(line.title);
        fuzz::Use(line.summary);
        fuzz::Use(line.details);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rapidjson::Document doc;
    if (!fuzz::Judge(data, size, doc)) return 0;
    const JsonValue* answer = JsonData(&doc);

    (void)ReadCount(answer);
    if (!answer) return 0;
    if (answer->IsArray()) {
        for (const AlbumEntry& a : ReadEntries(*answer, ReadAlbumEntry, KeepAlbumEntry)) {
            FUZZ_CHECK(a.id != 0 || !a.name.empty());
            fuzz::Use(a.name);
        }
        for (const FollowEntry& u : ReadEntries(*answer, ReadFollowEntry, KeepFollowEntry)) {
            FUZZ_CHECK(u.id != 0 || !u.name.empty());
            fuzz::Use(u.name);
            fuzz::Use(u.level);
            fuzz::Use(u.avatar);
        }
    }
    if (answer->IsObject()) {
        PostListPage mine;
        mine.pageInfo = PageInfo{2, 20, 1, 0};
        ApiClient::ParsePostPage(answer, 2, 20, mine, wxS("我的帖子列表缺失。"));
        fuzz::Use(mine.error);
        FUZZ_CHECK(mine.ok == mine.error.empty());
        for (const PostSummary& p : mine.items) {
            fuzz::Use(p.title);
            fuzz::Use(p.userName);
            fuzz::Use(p.createTime);
        }
    }
    UseRecords(*answer, ParsePersonalList(*answer, 2, 20));
    return 0;
}

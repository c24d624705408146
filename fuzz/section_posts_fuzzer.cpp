// A section's page answer: the section's own fields and its "postPage".
#include "api/forum_parsers.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rapidjson::Document doc;
    if (!fuzz::Judge(data, size, doc)) return 0;
    const JsonValue* section = JsonData(&doc);
    if (!section || !section->IsObject()) return 0;
    PostListPage page;
    page.sectionId = JsonInt(section, "id", 7);
    page.title = JsonText(section, "name");
    fuzz::Use(page.title);
    FillPostListPage(JsonMember(section, "postPage"), 2, 20, page, wxS("帖子分页数据格式不正确。"),
                     wxS("帖子列表缺失。"));
    fuzz::Use(page.error);
    for (const PostSummary& p : page.items) {
        fuzz::Use(p.title);
        fuzz::Use(p.userName);
        fuzz::Use(p.createTime);
    }
    return 0;
}

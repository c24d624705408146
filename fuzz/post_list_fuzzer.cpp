// A post list answer (hot, new, new-reply, search) read as the list
// endpoints read it, with both entry rules.
#include "fuzz_check.h"
#include "api/forum_parsers.h"
#include "fuzz_support.h"

namespace {

void UsePage(const PostListPage& page)
{
    fuzz::Use(page.error);
    FUZZ_CHECK(page.ok == page.error.empty());
    for (const PostSummary& p : page.items) {
        fuzz::Use(p.title);
        fuzz::Use(p.userName);
        fuzz::Use(p.createTime);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rapidjson::Document doc;
    if (!fuzz::Judge(data, size, doc)) return 0;
    for (auto read : {ReadPostSummary, ParsePostSummaryLoose}) {
        PostListPage page;
        page.pageInfo = PageInfo{1, 20, 1, 0};
        FillPostListPage(JsonData(&doc), 1, 20, page, wxS("数据格式不正确。"), wxS("列表缺失。"), read);
        UsePage(page);
    }
    return 0;
}

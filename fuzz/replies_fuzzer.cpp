// A reply (floor) list answer.
#include "api/forum_parsers.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rapidjson::Document doc;
    if (!fuzz::Judge(data, size, doc)) return 0;
    ReplyPage page;
    page.pageInfo = PageInfo{3, 20, 1, 0};
    FillReplyPage(JsonData(&doc), 3, 20, page);
    fuzz::Use(page.error);
    for (const ReplyItem& r : page.items) {
        fuzz::Use(r.userName);
        fuzz::Use(r.body);
        fuzz::Use(r.createTime);
    }
    return 0;
}

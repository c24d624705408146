// The section list answer.
#include "api/forum_parsers.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rapidjson::Document doc;
    if (!fuzz::Judge(data, size, doc)) return 0;
    const JsonValue* list = JsonData(&doc);
    if (!list || !list->IsArray()) return 0;
    for (const SectionInfo& s : ReadEntries(*list, ReadSectionInfo, KeepSectionInfo)) {
        fuzz::Use(s.name);
        fuzz::Use(s.description);
    }
    return 0;
}

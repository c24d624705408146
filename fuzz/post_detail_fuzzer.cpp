// A post's detail answer, with its media and link lists.
#include "api/forum_parsers.h"
#include "fuzz_support.h"

namespace {

void UseMedia(const std::vector<MediaItem>& list)
{
    for (const MediaItem& m : list) {
        fuzz::Use(m.url);
        fuzz::Use(m.attachFileUrl);
        fuzz::Use(m.desc);
        fuzz::Use(m.fileName);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rapidjson::Document doc;
    if (!fuzz::Judge(data, size, doc)) return 0;
    const JsonValue* post = JsonData(&doc);
    if (!post || !post->IsObject()) return 0;
    const PostDetail d = ReadPostDetail(*post);
    for (const wxString* t : {&d.title, &d.body, &d.userName, &d.createTime, &d.downloadType, &d.resourceDesc}) {
        fuzz::Use(*t);
    }
    UseMedia(d.audioList);
    UseMedia(d.videoList);
    UseMedia(d.fileList);
    UseMedia(d.imageList);
    for (const LinkItem& l : d.linkList) {
        fuzz::Use(l.url);
        fuzz::Use(l.desc);
    }
    return 0;
}

#include "api/forum_parsers.h"

#include <type_traits>

namespace {

MediaItem ReadMediaItem(const JsonValue& v)
{
    MediaItem m;
    m.id = JsonInt(&v, "id", 0);
    m.fileId = JsonInt(&v, "fileId", 0);
    m.attachFileId = JsonInt(&v, "attachFileId", 0);
    m.url = JsonText(&v, "url");
    m.attachFileUrl = JsonText(&v, "attachFileUrl");
    m.desc = JsonText(&v, "desc");
    m.fileName = JsonText(&v, "fileName");
    return m;
}

bool KeepMediaItem(const MediaItem& m)
{
    return !m.url.empty() || m.fileId != 0 || !m.desc.empty();
}

LinkItem ReadLinkItem(const JsonValue& v)
{
    return LinkItem{JsonText(&v, "url"), JsonText(&v, "desc")};
}

// The array under `name`; a missing key or another kind gives no entries.
template <typename Read, typename Keep>
auto ReadList(const JsonValue* object, const char* name, Read read, Keep keep)
{
    const JsonValue* list = JsonMember(object, name);
    if (!list || !list->IsArray()) return std::vector<std::invoke_result_t<Read&, const JsonValue&>>{};
    return ReadEntries(*list, read, keep);
}

// `first` when it is a string (even an empty one), else `second`.
wxString FirstText(const JsonValue& v, const char* first, const char* second)
{
    const JsonValue* m = JsonMember(&v, first);
    if (m && m->IsString()) return JsonText(&v, first);
    return JsonText(&v, second);
}

void ReadSummaryCounters(const JsonValue& v, PostSummary& p)
{
    p.id = JsonInt(&v, "id", 0);
    p.createTime = FirstText(v, "createTimeCn", "createTime");
    p.replyCount = JsonInt(&v, "replyCount", 0);
    p.viewCount = JsonInt(&v, "viewCount", 0);
    p.top = IntFlag(&v, "top");
    p.essence = IntFlag(&v, "essence");
}

}  // namespace

bool IntFlag(const JsonValue* object, const char* name)
{
    return JsonInt(object, name, 0) != 0;
}

bool LenientFlag(const JsonValue* object, const char* name)
{
    return JsonInt(object, name, 0) != 0 || JsonBool(object, name, false);
}

PageInfo ReadPageInfo(const JsonValue* holder, int32_t pageNum, int32_t pageSize)
{
    PageInfo info;
    info.pageNum = JsonInt(holder, "pageNum", pageNum);
    info.pageSize = JsonInt(holder, "pageSize", pageSize);
    info.pages = JsonInt(holder, "pages", 1);
    info.total = JsonInt(holder, "total", 0);
    return info;
}

PostSummary ReadPostSummary(const JsonValue& v)
{
    PostSummary p;
    ReadSummaryCounters(v, p);
    p.title = JsonText(&v, "title");
    p.userName = JsonText(&v, "userName");
    return p;
}

PostSummary ParsePostSummaryLoose(const JsonValue& v)
{
    PostSummary p;
    ReadSummaryCounters(v, p);
    p.title = FirstText(v, "title", "objectTitle");
    p.userName = FirstText(v, "userName", "name");
    return p;
}

bool KeepPostSummary(const PostSummary& post)
{
    return post.id != 0 && !post.title.empty();
}

SectionInfo ReadSectionInfo(const JsonValue& v)
{
    SectionInfo s;
    s.id = JsonInt(&v, "id", 0);
    s.name = JsonText(&v, "name");
    s.description = JsonText(&v, "description");
    s.allowAdmin = IntFlag(&v, "allowAdmin");
    s.resource = JsonInt(&v, "resource", 0);
    return s;
}

bool KeepSectionInfo(const SectionInfo& section)
{
    return section.id != 0 && !section.name.empty();
}

ReplyItem ReadReplyItem(const JsonValue& v)
{
    ReplyItem r;
    r.id = JsonInt(&v, "id", 0);
    r.userId = JsonInt(&v, "userId", 0);
    r.parentId = JsonInt(&v, "parentId", 0);
    r.floor = JsonInt(&v, "floor", 0);
    r.parentFloor = JsonInt(&v, "parentFloor", 0);
    r.userName = JsonText(&v, "userName");
    r.body = JsonText(&v, "body");
    r.createTime = JsonText(&v, "createTime");
    r.isManager = IntFlag(&v, "isManager");
    return r;
}

bool KeepReplyItem(const ReplyItem& reply)
{
    return reply.id != 0;  // an empty body is still a floor
}

PostDetail ReadPostDetail(const JsonValue& v)
{
    PostDetail d;
    d.id = JsonInt(&v, "id", 0);
    d.userId = JsonInt(&v, "userId", 0);
    d.sectionId = JsonInt(&v, "sectionId", 0);
    d.title = JsonText(&v, "title");
    d.body = JsonText(&v, "body");
    d.userName = JsonText(&v, "userName");
    d.createTime = JsonText(&v, "createTime");
    d.isReply = JsonBool(&v, "isReply", true);
    d.replyForbidden = JsonInt(&v, "replyForbidden", 0);
    d.status = JsonInt(&v, "status", 0);
    d.lock = LenientFlag(&v, "lock");
    d.top = LenientFlag(&v, "top");
    d.topAll = LenientFlag(&v, "topAll");
    d.essence = LenientFlag(&v, "essence");
    d.sink = LenientFlag(&v, "sink");
    d.isOwner = JsonBool(&v, "isOwner", false);
    d.isManager = LenientFlag(&v, "isManager");
    d.notify = LenientFlag(&v, "notify");
    d.rewardPoint = JsonInt(&v, "rewardPoint", 0);
    d.viewPrice = JsonDouble(&v, "viewPrice", 0.0);
    d.goodsPrice = JsonDouble(&v, "goodsPrice", 0.0);
    d.attachmentPrice = JsonDouble(&v, "attachmentPrice", 0.0);
    d.mediaPrice = JsonDouble(&v, "mediaPrice", 0.0);
    d.postPrice = JsonDouble(&v, "postPrice", 0.0);
    d.richBody = LenientFlag(&v, "richBody");
    d.isResource = LenientFlag(&v, "isResource");
    d.mediaDownload = JsonInt(&v, "mediaDownload", 0);
    d.resourceType = JsonInt(&v, "resourceType", 0);
    d.downloadType = JsonText(&v, "downloadType");
    d.resourceDesc = JsonText(&v, "resourceDesc");
    d.albumId = JsonInt(&v, "albumId", 0);
    d.audioList = ReadList(&v, "audioList", ReadMediaItem, KeepMediaItem);
    d.videoList = ReadList(&v, "videoList", ReadMediaItem, KeepMediaItem);
    d.fileList = ReadList(&v, "fileList", ReadMediaItem, KeepMediaItem);
    d.imageList = ReadList(&v, "imageList", ReadMediaItem, KeepMediaItem);
    d.linkList = ReadList(&v, "linkList", ReadLinkItem,
                                    [](const LinkItem& l) { return !l.url.empty(); });
    return d;
}

void FillPostListPage(const JsonValue* data, int32_t pageNum, int32_t pageSize, PostListPage& page,
                      const wxString& badFormat, const wxString& noList,
                      PostSummary (*read)(const JsonValue&))
{
    if (!data || !data->IsObject()) {
        page.error = badFormat;
        return;
    }
    const JsonValue* list = JsonMember(data, "list");
    if (!list || !list->IsArray()) {
        page.error = noList;
        return;
    }
    page.pageInfo = ReadPageInfo(data, pageNum, pageSize);
    page.items = ReadEntries(*list, read, KeepPostSummary);
    page.ok = true;
}

void FillReplyPage(const JsonValue* data, int32_t pageNum, int32_t pageSize, ReplyPage& page)
{
    if (!data || !data->IsObject()) {
        page.error = wxS("回帖列表数据格式不正确。");
        return;
    }
    page.pageInfo = ReadPageInfo(data, pageNum, pageSize);
    const JsonValue* list = JsonMember(data, "list");
    if (!list || !list->IsArray()) {
        page.error = wxS("回帖列表缺失。");
        return;
    }
    page.items = ReadEntries(*list, ReadReplyItem, KeepReplyItem);
    page.ok = true;
}

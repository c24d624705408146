#include "api/post_body.h"

#include "api/body_encoding.h"

namespace {

const wxString kJson = wxS("application/json");

int32_t Flag(bool on) { return on ? 1 : 0; }

void WriteHead(JsonBodyWriter& w, const PostInput& in)
{
    w.StartObject();
    if (in.id != 0) w.Member("id", in.id);
    w.Member("title", in.title).Member("sectionId", in.sectionId).Member("body", in.body);
}

void WriteLinks(JsonBodyWriter& w, const std::vector<LinkItem>& links)
{
    w.Key("linkList").StartArray();
    for (const LinkItem& link : links) {
        w.StartObject().Member("url", link.url).Member("desc", link.desc).EndObject();
    }
    w.EndArray();
}

void WriteFiles(JsonBodyWriter& w, const char* key, const std::vector<AttachmentEntry>& files, bool video)
{
    w.Key(key).StartArray();
    for (const AttachmentEntry& file : files) {
        w.StartObject().Member("fileId", file.fileId);
        if (video) w.Member("attachFileId", file.coverId);
        w.Member("desc", file.name).EndObject();
    }
    w.EndArray();
}

void WriteResource(JsonBodyWriter& w, const PostInput& in)
{
    w.Member("isResource", Flag(in.isResource))
        .Member("resourceType", in.resourceType)
        .Member("downloadType", in.downloadType)
        .Member("resourceDesc", in.resourceDesc);
}

}  // namespace

wxString MakeSummary(const wxString& text)
{
    wxString summary = text;
    summary.Replace(wxS("\r\n"), wxS(" "));
    summary.Replace(wxS("\n"), wxS(" "));
    summary.Replace(wxS("\r"), wxS(" "));
    summary.Trim(true).Trim(false);
    if (summary.length() > 120) summary.Truncate(120);
    return summary;
}

BodyVariant CompatiblePostBody(const PostInput& in)
{
    JsonBodyWriter w;
    WriteHead(w, in);
    w.Member("notify", Flag(in.notify))
        .Member("rewardPoint", in.rewardPoint)
        .Member("viewPrice", in.viewPrice)
        .Member("goodsPrice", in.goodsPrice)
        .Member("attachmentPrice", in.attachmentPrice)
        .Member("richBody", Flag(in.richBody))
        .Member("postPrice", in.postPrice)
        .Member("mediaPrice", in.mediaPrice)
        .Member("albumId", in.albumId)
        .Member("summary", MakeSummary(in.body))
        .Member("replyForbidden", in.replyForbidden)
        .Member("mediaDownload", in.mediaDownload)
        .Member("needReply", false)
        .Member("secret", int32_t{0})
        .Member("useCoupon", int32_t{0});
    WriteResource(w, in);
    WriteLinks(w, in.linkList);
    WriteFiles(w, "imageList", in.imageList, false);
    WriteFiles(w, "audioList", in.audioList, false);
    WriteFiles(w, "videoList", in.videoList, true);
    WriteFiles(w, "fileList", in.fileList, false);
    w.EndObject();
    return BodyVariant{wxS("JSON兼容版"), kJson, w.Body()};
}

BodyVariant FallbackPostBody(const PostInput& in)
{
    JsonBodyWriter w;
    WriteHead(w, in);
    w.Member("summary", MakeSummary(in.body)).Member("mediaDownload", in.mediaDownload);
    WriteResource(w, in);
    WriteLinks(w, in.linkList);
    w.EndObject();
    return BodyVariant{wxS("JSON回退版"), kJson, w.Body()};
}

bool FallbackKeepsEverything(const PostInput& in)
{
    const bool pricesSet = in.viewPrice != 0.0 || in.goodsPrice != 0.0 || in.attachmentPrice != 0.0 ||
                           in.mediaPrice != 0.0 || in.postPrice != 0.0;
    const bool filesSet = !in.imageList.empty() || !in.audioList.empty() || !in.videoList.empty() ||
                          !in.fileList.empty();
    return !pricesSet && !filesSet && !in.notify && in.rewardPoint == 0 && !in.richBody &&
           in.albumId == 0 && in.replyForbidden == 0;
}

std::vector<BodyVariant> BuildPostBody(const PostInput& input)
{
    std::vector<BodyVariant> variants{CompatiblePostBody(input)};
    if (FallbackKeepsEverything(input)) variants.push_back(FallbackPostBody(input));
    return variants;
}

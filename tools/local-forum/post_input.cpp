#include "post_input.h"

#include "json_io.h"

namespace forum {
namespace {

constexpr std::size_t kTitleMax = 100;
constexpr std::size_t kBodyMax = 50000;

bool ReadMedia(const rapidjson::Value& doc, const char* key, bool video,
               std::optional<std::vector<MediaInput>>& out, std::string& error) {
    const rapidjson::Value* v = Member(doc, key);
    if (!v) return true;
    if (!v->IsArray()) {
        error = std::string(key) + " 应为数组。";
        return false;
    }
    out.emplace();
    for (const auto& e : v->GetArray()) {
        auto fileId = IntMember(e, "fileId");
        if (!e.IsObject() || !fileId || *fileId <= 0) {
            error = std::string(key) + " 的每一项都需要有效的 fileId。";
            return false;
        }
        MediaInput m;
        m.fileId = *fileId;
        if (video) m.coverId = IntMember(e, "attachFileId").value_or(0);
        m.desc = TextMember(e, "desc").value_or("");
        out->push_back(m);
    }
    return true;
}

bool FileExists(Database& db, int id) {
    return db.Scalar(0, "SELECT 1 FROM files WHERE id = ?", id) != 0;
}

void StoreMedia(Database& db, int postId, const char* kind, const std::vector<MediaInput>& list) {
    db.Prepare("DELETE FROM post_media WHERE post_id = ? AND kind = ?").Bind(1, postId).Bind(2, std::string(kind)).Run();
    int sort = 0;
    for (const auto& m : list)
        db.Prepare("INSERT INTO post_media(post_id, kind, file_id, cover_id, descr, sort) VALUES(?,?,?,?,?,?)")
            .Bind(1, postId).Bind(2, std::string(kind)).Bind(3, m.fileId).Bind(4, m.coverId)
            .Bind(5, m.desc).Bind(6, sort++).Run();
}

template <typename T>
void SetColumn(Database& db, int postId, const char* column, const std::optional<T>& value) {
    if (!value) return;
    auto st = db.Prepare((std::string("UPDATE posts SET ") + column + " = ? WHERE id = ?").c_str());
    if constexpr (std::is_same_v<T, bool>)
        st.Bind(1, *value ? 1 : 0);
    else
        st.Bind(1, *value);
    st.Bind(2, postId).Run();
}

}  // namespace

bool ReadPostInput(const rapidjson::Value& doc, PostInput& out, std::string& error) {
    if (!doc.IsObject()) {
        error = "请求体应为 JSON 对象。";
        return false;
    }
    // Only the long form carries prices, switches and file lists.
    bool compat = false;
    for (const char* k : {"notify", "rewardPoint", "viewPrice", "goodsPrice", "richBody", "albumId",
                          "imageList", "audioList", "videoList", "fileList", "needReply"})
        compat = compat || Member(doc, k);
    out.form = compat ? "JSON兼容版" : "JSON回退版";
    out.id = IntMember(doc, "id");
    out.sectionId = IntMember(doc, "sectionId");
    out.title = TextMember(doc, "title");
    out.body = TextMember(doc, "body");
    out.summary = TextMember(doc, "summary");
    out.notify = FlagMember(doc, "notify");
    out.rewardPoint = IntMember(doc, "rewardPoint");
    out.viewPrice = NumberMember(doc, "viewPrice");
    out.goodsPrice = NumberMember(doc, "goodsPrice");
    out.attachmentPrice = NumberMember(doc, "attachmentPrice");
    out.mediaPrice = NumberMember(doc, "mediaPrice");
    out.postPrice = NumberMember(doc, "postPrice");
    out.richBody = FlagMember(doc, "richBody");
    out.albumId = IntMember(doc, "albumId");
    out.isResource = FlagMember(doc, "isResource");
    out.mediaDownload = IntMember(doc, "mediaDownload");
    out.resourceType = IntMember(doc, "resourceType");
    out.downloadType = TextMember(doc, "downloadType");
    out.resourceDesc = TextMember(doc, "resourceDesc");
    if (out.title) {
        out.title = Trim(*out.title);
        if (out.title->empty()) return error = "标题不能为空。", false;
        if (Utf8Length(*out.title) > kTitleMax) return error = "标题不能超过 100 个字。", false;
    }
    if (out.body) {
        if (Trim(*out.body).empty()) return error = "内容不能为空。", false;
        if (Utf8Length(*out.body) > kBodyMax) return error = "内容不能超过 50000 个字。", false;
    }
    for (auto* price : {&out.viewPrice, &out.goodsPrice, &out.attachmentPrice, &out.mediaPrice, &out.postPrice})
        if (*price && **price < 0) return error = "价格不能为负数。", false;
    if (out.rewardPoint && *out.rewardPoint < 0) return error = "悬赏积分不能为负数。", false;
    if (const rapidjson::Value* links = Member(doc, "linkList")) {
        if (!links->IsArray()) return error = "linkList 应为数组。", false;
        out.links.emplace();
        for (const auto& e : links->GetArray()) {
            auto url = TextMember(e, "url");
            if (!url || Trim(*url).empty()) return error = "链接地址不能为空。", false;
            out.links->push_back({Trim(*url), TextMember(e, "desc").value_or("")});
        }
    }
    return ReadMedia(doc, "imageList", false, out.images, error) &&
           ReadMedia(doc, "audioList", false, out.audios, error) &&
           ReadMedia(doc, "videoList", true, out.videos, error) &&
           ReadMedia(doc, "fileList", false, out.files, error);
}

bool CheckPostInput(Database& db, const PostInput& in, int userId, std::string& error) {
    if (in.sectionId && !db.Scalar(0, "SELECT 1 FROM sections WHERE id = ?", *in.sectionId)) {
        error = "版块不存在：" + std::to_string(*in.sectionId) + "。";
        return false;
    }
    for (const auto* list : {&in.images, &in.audios, &in.videos, &in.files}) {
        if (!*list) continue;
        for (const auto& m : **list) {
            for (int id : {m.fileId, m.coverId}) {
                if (id && !FileExists(db, id)) {
                    error = "文件不存在：" + std::to_string(id) + "。";
                    return false;
                }
            }
        }
    }
    if (in.albumId && *in.albumId != 0 &&
        !db.Scalar(0, "SELECT 1 FROM albums WHERE id = ? AND user_id = ?", *in.albumId, userId)) {
        error = "专辑不存在或不属于你。";
        return false;
    }
    return true;
}

void StorePostInput(Database& db, int postId, const PostInput& in) {
    SetColumn(db, postId, "section_id", in.sectionId);
    SetColumn(db, postId, "title", in.title);
    SetColumn(db, postId, "body", in.body);
    if (in.body)
        SetColumn(db, postId, "summary", std::optional<std::string>(MakeSummary(*in.body)));
    SetColumn(db, postId, "notify", in.notify);
    SetColumn(db, postId, "reward_point", in.rewardPoint);
    SetColumn(db, postId, "view_price", in.viewPrice);
    SetColumn(db, postId, "goods_price", in.goodsPrice);
    SetColumn(db, postId, "attachment_price", in.attachmentPrice);
    SetColumn(db, postId, "media_price", in.mediaPrice);
    SetColumn(db, postId, "post_price", in.postPrice);
    SetColumn(db, postId, "rich_body", in.richBody);
    SetColumn(db, postId, "album_id", in.albumId);
    SetColumn(db, postId, "is_resource", in.isResource);
    SetColumn(db, postId, "media_download", in.mediaDownload);
    SetColumn(db, postId, "resource_type", in.resourceType);
    SetColumn(db, postId, "download_type", in.downloadType);
    SetColumn(db, postId, "resource_desc", in.resourceDesc);
    if (in.links) {
        db.Prepare("DELETE FROM post_links WHERE post_id = ?").Bind(1, postId).Run();
        int sort = 0;
        for (const auto& l : *in.links)
            db.Prepare("INSERT INTO post_links(post_id, url, descr, sort) VALUES(?,?,?,?)")
                .Bind(1, postId).Bind(2, l.url).Bind(3, l.desc).Bind(4, sort++).Run();
    }
    if (in.images) StoreMedia(db, postId, "image", *in.images);
    if (in.audios) StoreMedia(db, postId, "audio", *in.audios);
    if (in.videos) StoreMedia(db, postId, "video", *in.videos);
    if (in.files) StoreMedia(db, postId, "file", *in.files);
}

std::string MakeSummary(const std::string& body) {
    std::string s;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
        s += (body[i] == '\r' || body[i] == '\n') ? ' ' : body[i];
    }
    return Utf8Prefix(Trim(s), 120);
}

}  // namespace forum

#include "posts/post_composer_model.h"

#include <algorithm>

namespace {

wxString U8(const char* text) { return wxString::FromUTF8(text); }

bool IsSpecial(const SectionInfo& s)
{
    return s.id == kAnnouncementSectionId || s.id == kMemberSectionId || s.allowAdmin;
}

int FindSection(const std::vector<SectionInfo>& sections, int32_t id)
{
    for (size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

std::vector<AttachmentEntry> Attachments(const std::vector<MediaItem>& items, bool video)
{
    std::vector<AttachmentEntry> out;
    for (const MediaItem& item : items) out.push_back(AttachmentFromMedia(item, video));
    return out;
}

}  // namespace

wxString TrimmedText(const wxString& text)
{
    wxString trimmed = text;
    trimmed.Trim(true).Trim(false);
    return trimmed;
}

int InitialSectionIndex(const std::vector<SectionInfo>& sections)
{
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!IsSpecial(sections[i]) && sections[i].resource == 0) return static_cast<int>(i);
    }
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!IsSpecial(sections[i])) return static_cast<int>(i);
    }
    return sections.empty() ? -1 : 0;
}

AttachmentEntry AttachmentFromMedia(const MediaItem& item, bool video)
{
    AttachmentEntry entry;
    entry.fileId = item.fileId != 0 ? item.fileId : item.id;
    entry.coverId = video ? item.attachFileId : 0;
    entry.name = item.desc.empty() ? item.fileName : item.desc;
    entry.url = item.url;
    return entry;
}

PostInput PostInputFromDetail(const PostDetail& post)
{
    PostInput in;
    in.id = post.id;
    in.sectionId = post.sectionId;
    in.title = post.title;
    in.body = post.body;
    in.notify = post.notify;
    in.rewardPoint = post.rewardPoint;
    in.viewPrice = post.viewPrice;
    in.goodsPrice = post.goodsPrice;
    in.attachmentPrice = post.attachmentPrice;
    in.mediaPrice = post.mediaPrice;
    in.postPrice = post.postPrice;
    in.richBody = post.richBody;
    in.isResource = post.isResource;
    in.mediaDownload = post.mediaDownload != 0 ? 1 : 0;
    in.resourceType = post.resourceType;
    in.downloadType = post.downloadType;
    in.resourceDesc = post.resourceDesc;
    // Saving must not undo what the editor never touched.
    in.albumId = post.albumId;
    in.replyForbidden = post.replyForbidden;
    in.linkList = post.linkList;
    in.imageList = Attachments(post.imageList, false);
    in.audioList = Attachments(post.audioList, false);
    in.videoList = Attachments(post.videoList, true);
    in.fileList = Attachments(post.fileList, false);
    return in;
}

PostComposerModel::PostComposerModel(std::vector<SectionInfo> sections, const std::optional<PostDetail>& post,
                                     bool managerFlag)
    : sections_(std::move(sections)), isEdit_(post.has_value()), managerFlag_(managerFlag)
{
    selection_ = InitialSectionIndex(sections_);
    if (!post) return;
    values_ = PostInputFromDetail(*post);
    initialTitle_ = post->title;
    initialBody_ = post->body;
    const int own = FindSection(sections_, post->sectionId);
    if (own >= 0) {
        selection_ = own;
    } else {
        // Not offered here (a hidden or unknown section): no choice is shown
        // rather than one the post is not in, and saving leaves it where it is.
        selection_ = -1;
        keptSectionId_ = post->sectionId;
    }
}

wxString PostComposerModel::Heading() const { return isEdit_ ? U8("编辑帖子") : U8("发新帖"); }

wxString PostComposerModel::SubmitLabel() const { return isEdit_ ? U8("保存") : U8("发布"); }

void PostComposerModel::SelectSection(int index)
{
    selection_ = (index >= 0 && index < static_cast<int>(sections_.size())) ? index : -1;
    if (selection_ >= 0) keptSectionId_.reset();
}

bool PostComposerModel::MemberSection() const
{
    return selection_ >= 0 && sections_[static_cast<size_t>(selection_)].id == kMemberSectionId;
}

wxString PostComposerModel::SectionHint() const
{
    if (selection_ >= 0) {
        const SectionInfo& s = sections_[static_cast<size_t>(selection_)];
        if (s.id == kAnnouncementSectionId || s.allowAdmin) return U8("发新帖 - 公告");
        if (s.id == kMemberSectionId) return U8("发新帖 - 会员板块");
    }
    return U8("发新帖");
}

std::optional<ComposerProblem> PostComposerModel::Validate(const wxString& title, const wxString& body) const
{
    if (!keptSectionId_) {
        if (sections_.empty() || selection_ < 0)
            return ComposerProblem{ComposerField::Section, U8("请选择板块。")};
        if (selection_ >= static_cast<int>(sections_.size()))
            return ComposerProblem{ComposerField::Section, U8("当前板块选择无效。")};
    }
    if (TrimmedText(title).empty()) return ComposerProblem{ComposerField::Title, U8("请输入标题。")};
    if (TrimmedText(body).empty()) return ComposerProblem{ComposerField::Body, U8("请输入帖子内容。")};
    return std::nullopt;
}

PostInput PostComposerModel::ToSend(const wxString& title, const wxString& body) const
{
    PostInput in = values_;
    if (keptSectionId_) {
        in.sectionId = *keptSectionId_;
    } else if (selection_ >= 0) {
        in.sectionId = sections_[static_cast<size_t>(selection_)].id;
    }
    in.title = TrimmedText(title);
    in.body = TrimmedText(body);
    return in;
}

bool PostComposerModel::HasUnsavedContent(const wxString& title, const wxString& body) const
{
    return !TrimmedText(title).empty() || !TrimmedText(body).empty() || !values_.linkList.empty() ||
           !values_.imageList.empty() || !values_.audioList.empty() || !values_.videoList.empty() ||
           !values_.fileList.empty();
}

wxString PostComposerModel::SuccessText() const
{
    return isEdit_ ? U8("帖子保存成功。") : U8("帖子发布成功。");
}

wxString PostComposerModel::FailureCaption() const { return isEdit_ ? U8("保存失败") : U8("发布失败"); }

wxString PostComposerModel::FailureMessage(const ApiResult& result)
{
    if (result.debugInfo.empty()) return result.message;
    return result.message + U8("\n\n调试信息：\n") + result.debugInfo;
}

// What the post composer decides, without a window: the section choice and
// its hint, the values loaded from an edited post, validation, the post
// that publishing sends, and whether leaving would lose anything. The
// dialog only moves texts between its controls and this model.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <wx/string.h>

#include "api/api_result.h"
#include "api/forum_records.h"
#include "api/post_input.h"

inline constexpr int32_t kAnnouncementSectionId = 2014;
inline constexpr int32_t kMemberSectionId = 2016;

// Where a new post starts: the first plain section (not 2014 or 2016, no
// allowAdmin, no resource), else the first that is not an announcement or
// member section, else the first; -1 when there are none.
int InitialSectionIndex(const std::vector<SectionInfo>& sections);

// One media item of an edited post as an attachment of the composer.
AttachmentEntry AttachmentFromMedia(const MediaItem& item, bool video);

// The composer's working values for an edited post.
PostInput PostInputFromDetail(const PostDetail& post);

enum class ComposerField { Section, Title, Body };

struct ComposerProblem {
    ComposerField field = ComposerField::Section;
    wxString message;  // shown in a notice box; the field then gets the focus
};

class PostComposerModel {
public:
    PostComposerModel(std::vector<SectionInfo> sections, const std::optional<PostDetail>& post, bool managerFlag);

    bool IsEdit() const { return isEdit_; }
    bool ManagerFlag() const { return managerFlag_; }
    const std::vector<SectionInfo>& Sections() const { return sections_; }

    // "编辑帖子" or "发新帖": the window title and the heading.
    wxString Heading() const;
    // "保存" or "发布".
    wxString SubmitLabel() const;
    // The title and body the boxes start with (empty for a new post).
    wxString InitialTitle() const { return initialTitle_; }
    wxString InitialBody() const { return initialBody_; }

    // The selected section's index in Sections(), -1 when none.
    int Selection() const { return selection_; }
    // The user chose a section: an edited post then moves there.
    void SelectSection(int index);
    // The post's own section is kept although it is not among the choices.
    bool KeepsOwnSection() const { return keptSectionId_.has_value(); }
    bool MemberSection() const;
    // "发新帖 - 公告", "发新帖 - 会员板块" or "发新帖".
    wxString SectionHint() const;

    // The values publishing sends besides section, title and body; the
    // insert and price commands change them.
    const PostInput& Values() const { return values_; }
    PostInput& Values() { return values_; }

    // The first thing that keeps the post from being sent, if any.
    std::optional<ComposerProblem> Validate(const wxString& title, const wxString& body) const;
    // The post to send: section, trimmed title and body, and every value.
    // Call only after Validate found nothing.
    PostInput ToSend(const wxString& title, const wxString& body) const;
    // A title, a body or any attached link or file counts; prices and
    // switches do not. An edit always has its loaded title and body.
    bool HasUnsavedContent(const wxString& title, const wxString& body) const;

    // After the server call.
    wxString SuccessText() const;      // "帖子保存成功。" / "帖子发布成功。"
    wxString FailureCaption() const;   // "保存失败" / "发布失败"
    static wxString FailureMessage(const ApiResult& result);

private:
    std::vector<SectionInfo> sections_;
    bool isEdit_ = false;
    bool managerFlag_ = false;
    int selection_ = -1;
    std::optional<int32_t> keptSectionId_;
    wxString initialTitle_;
    wxString initialBody_;
    PostInput values_;
};

// White space trimmed at both ends, as every composer text is sent.
wxString TrimmedText(const wxString& text);

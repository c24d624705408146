// What the composer's three menus ("插入", "发布设置", "会员扩展") do to the
// post's values, without a window: their items and states, the prompts
// with their validation, the upload kinds, the rule that turns resource
// mode on in the member section, and the "资源与售价摘要" text.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <wx/string.h>

#include "api/post_input.h"
#include "api/upload.h"

namespace composer_menu {
inline constexpr int kInsertLink = 6100;
inline constexpr int kInsertImage = 6101;
inline constexpr int kInsertAudio = 6102;
inline constexpr int kInsertVideo = 6103;
inline constexpr int kInsertFile = 6104;
inline constexpr int kNotify = 6105;
inline constexpr int kRewardPoint = 6106;
inline constexpr int kViewPrice = 6107;
inline constexpr int kGoodsPrice = 6108;
inline constexpr int kRichBody = 6109;
inline constexpr int kSalePrice = 6110;
inline constexpr int kAttachmentPrice = 6111;
inline constexpr int kMediaPrice = 6112;
inline constexpr int kPostPrice = 6113;
inline constexpr int kResourceMode = 6114;
inline constexpr int kMediaDownload = 6115;
inline constexpr int kDownloadType = 6116;
inline constexpr int kResourceType = 6117;
inline constexpr int kResourceDesc = 6118;
inline constexpr int kFirst = kInsertLink;
inline constexpr int kLast = kResourceDesc;
}  // namespace composer_menu

struct ComposerMenuItem {
    int id = 0;
    wxString label;
    bool check = false;
};

struct ComposerMenu {
    wxString button;  // the menu button's label and name
    wxString help;    // its help text
    std::vector<ComposerMenuItem> items;
};

// "插入", "发布设置", "会员扩展" with their items in menu order.
const std::vector<ComposerMenu>& ComposerMenus();

struct ComposerItemState {
    bool enabled = true;
    bool checked = false;  // meaningful for check items
};

// Member items need the member section; the resource details also need
// resource mode. Check marks follow the values.
ComposerItemState ComposerMenuItemState(int id, const PostInput& values, bool memberSection);

// A check item was toggled: stores it and returns what to announce.
wxString StoreCheckItem(int id, bool checked, PostInput& values);

// A link or an upload in the member section turns resource mode on.
// True when it switched.
bool ApplyResourceModeRule(PostInput& values, bool memberSection);

wxString ComposerSummary(const PostInput& values);

// --- Prompts -------------------------------------------------------------

enum class PromptKind { Price, Number, Text, MultiLineText };

struct ValuePrompt {
    int id = 0;
    PromptKind kind = PromptKind::Text;
    wxString caption;
    wxString message;
    wxString label;  // number prompts: the label beside the box
    int min = 0;
    int max = 0;
};

// The prompt behind a menu item that asks for a value, if it is one.
std::optional<ValuePrompt> PromptFor(int id);
// The text (or number, for number prompts) the prompt starts with.
wxString PromptInitialText(const ValuePrompt& prompt, const PostInput& values);
int PromptInitialNumber(const ValuePrompt& prompt, const PostInput& values);

struct PromptOutcome {
    bool stored = false;
    wxString error;         // why the answer was refused (the old value stays)
    wxString announcement;  // what changed, to be spoken
};

// Checks the answer and stores it when it is good.
PromptOutcome StorePromptAnswer(const ValuePrompt& prompt, const wxString& answer, PostInput& values);

// The whole text (spaces around it aside) read as a finite number >= 0 in
// the C locale, rounded to cents.
std::optional<double> ParsePrice(const wxString& text);
// The whole text (spaces aside) as an integer within [min, max].
std::optional<int> ParseWholeNumber(const wxString& text, int min, int max);

// --- Links and uploads ---------------------------------------------------

// The stored description of a link: the trimmed answer, "链接" when empty.
wxString LinkDescription(const wxString& answer);

struct UploadRow {
    int id = 0;
    wxString caption;   // the file chooser's and the name prompt's caption
    wxString wildcard;  // as written for the toolkit (pass through FileChooserWildcard)
    UploadKind kind = UploadKind::File;
    bool asksCover = false;
};

std::optional<UploadRow> UploadRowFor(int id);
UploadRow CoverUploadRow();
// The list an upload of `id` is appended to.
std::vector<AttachmentEntry>& UploadTarget(PostInput& values, int id);

// The notice after an upload was added.
wxString UploadAddedText(const AttachmentEntry& entry);

// "正在上传：N%" as bytes go out, and which quarter (0, 25, 50, 75, 100) to
// speak: each at most once, only the highest one reached since last time.
class UploadProgressText {
public:
    static int Percent(uint64_t sent, uint64_t total);
    static wxString StatusText(int percent);
    std::optional<int> NextQuarter(int percent);

private:
    int spoken_ = -1;
};

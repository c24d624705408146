#include "posts/composer_inserts.h"

#include <charconv>
#include <cmath>
#include <string>

#include "posts/post_composer_model.h"

namespace {

using namespace composer_menu;

wxString U8(const char* text) { return wxString::FromUTF8(text); }

wxString Money(double value) { return wxString::FromCDouble(value, 2); }

// One lookup for reading and for storing: V is PostInput or const PostInput.
template <class V>
auto PriceField(int id, V& v) -> decltype(&v.viewPrice)
{
    switch (id) {
    case kViewPrice: return &v.viewPrice;
    case kGoodsPrice:
    case kSalePrice: return &v.goodsPrice;
    case kAttachmentPrice: return &v.attachmentPrice;
    case kMediaPrice: return &v.mediaPrice;
    case kPostPrice: return &v.postPrice;
    default: return nullptr;
    }
}

template <class V>
auto NumberField(int id, V& v) -> decltype(&v.rewardPoint)
{
    if (id == kRewardPoint) return &v.rewardPoint;
    if (id == kResourceType) return &v.resourceType;
    return nullptr;
}

template <class V>
auto TextField(int id, V& v) -> decltype(&v.downloadType)
{
    if (id == kDownloadType) return &v.downloadType;
    if (id == kResourceDesc) return &v.resourceDesc;
    return nullptr;
}

// What a stored value is called when its change is spoken.
wxString ValueName(int id)
{
    switch (id) {
    case kRewardPoint: return U8("悬赏分");
    case kViewPrice: return U8("付费阅读金额");
    case kGoodsPrice: return U8("商品价格");
    case kSalePrice: return U8("出售价格");
    case kAttachmentPrice: return U8("附件打包价格");
    case kMediaPrice: return U8("媒体打包价格");
    case kPostPrice: return U8("整体打包价格");
    case kDownloadType: return U8("下载方式");
    case kResourceType: return U8("资源类型编号");
    case kResourceDesc: return U8("资源简介");
    default: return wxString();
    }
}

std::string Trimmed(const wxString& text) { return TrimmedText(text).utf8_string(); }

void AppendEntries(wxString& out, const char* heading, const std::vector<AttachmentEntry>& list,
                   const char* unnamed, bool video)
{
    out += wxString::Format(U8(heading), list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const AttachmentEntry& e = list[i];
        const wxString name = e.name.empty() ? U8(unnamed) : e.name;
        if (video)
            out += wxString::Format(U8("  %zu. fileId=%d 封面=%d %s\r\n"), i + 1, e.fileId, e.coverId, name);
        else
            out += wxString::Format(U8("  %zu. fileId=%d %s\r\n"), i + 1, e.fileId, name);
    }
}

}  // namespace

const std::vector<ComposerMenu>& ComposerMenus()
{
    static const std::vector<ComposerMenu> menus{
        {U8("插入"), U8("插入链接、图片、音频、视频或附件，回车或空格展开菜单。"),
         {{kInsertLink, U8("插入链接"), false},
          {kInsertImage, U8("插入图片"), false},
          {kInsertAudio, U8("插入音频"), false},
          {kInsertVideo, U8("插入视频"), false},
          {kInsertFile, U8("插入附件"), false}}},
        {U8("发布设置"), U8("微信通知、悬赏分、付费阅读、商品价格与富文本模式，回车或空格展开菜单。"),
         {{kNotify, U8("微信通知"), true},
          {kRewardPoint, U8("设置悬赏分"), false},
          {kViewPrice, U8("设置付费阅读金额"), false},
          {kGoodsPrice, U8("设置商品价格"), false},
          {kRichBody, U8("富文本模式"), true}}},
        {U8("会员扩展"), U8("会员板块的资源模式、售价与资源设置，回车或空格展开菜单。"),
         {{kResourceMode, U8("资源帖子模式"), true},
          {kSalePrice, U8("设置出售价格"), false},
          {kAttachmentPrice, U8("设置附件打包价格"), false},
          {kMediaPrice, U8("设置媒体打包价格"), false},
          {kPostPrice, U8("设置整体打包价格"), false},
          {kMediaDownload, U8("媒体允许下载"), true},
          {kDownloadType, U8("设置下载方式"), false},
          {kResourceType, U8("设置资源类型编号"), false},
          {kResourceDesc, U8("设置资源简介"), false}}},
    };
    return menus;
}

ComposerItemState ComposerMenuItemState(int id, const PostInput& values, bool memberSection)
{
    ComposerItemState state;
    if (id == kResourceMode || (id >= kSalePrice && id <= kPostPrice)) state.enabled = memberSection;
    if (id >= kMediaDownload && id <= kResourceDesc) state.enabled = memberSection && values.isResource;
    if (id == kResourceMode) state.checked = values.isResource;
    if (id == kMediaDownload) state.checked = values.mediaDownload != 0;
    if (id == kNotify) state.checked = values.notify;
    if (id == kRichBody) state.checked = values.richBody;
    return state;
}

wxString StoreCheckItem(int id, bool checked, PostInput& values)
{
    wxString name;
    switch (id) {
    case kNotify: values.notify = checked; name = U8("微信通知"); break;
    case kRichBody: values.richBody = checked; name = U8("富文本模式"); break;
    case kResourceMode: values.isResource = checked; name = U8("资源帖子模式"); break;
    case kMediaDownload: values.mediaDownload = checked ? 1 : 0; name = U8("媒体允许下载"); break;
    default: return wxString();
    }
    return name + (checked ? U8("：已开启") : U8("：已关闭"));
}

bool ApplyResourceModeRule(PostInput& values, bool memberSection)
{
    if (!memberSection || values.isResource) return false;
    values.isResource = true;
    return true;
}

wxString ComposerSummary(const PostInput& v)
{
    wxString out = wxString::Format(U8("链接：%zu 个\r\n"), v.linkList.size());
    for (size_t i = 0; i < v.linkList.size(); ++i) {
        const LinkItem& link = v.linkList[i];
        out += wxString::Format(U8("  %zu. %s -> %s\r\n"), i + 1, link.desc.empty() ? U8("未命名链接") : link.desc,
                                link.url);
    }
    AppendEntries(out, "图片：%zu 个\r\n", v.imageList, "未命名图片", false);
    AppendEntries(out, "音频：%zu 个\r\n", v.audioList, "未命名音频", false);
    AppendEntries(out, "视频：%zu 个\r\n", v.videoList, "未命名视频", true);
    AppendEntries(out, "附件：%zu 个\r\n", v.fileList, "未命名附件", false);
    out += U8("\r\n价格设置：商品 ") + Money(v.goodsPrice) + U8("，附件打包 ") + Money(v.attachmentPrice) +
           U8("，媒体打包 ") + Money(v.mediaPrice) + U8("，整体打包 ") + Money(v.postPrice) + U8("，付费阅读 ") +
           Money(v.viewPrice) + wxString::Format(U8("，悬赏 %d"), v.rewardPoint);
    out += wxString::Format(U8("\r\n资源设置：资源模式 %s，媒体下载 %s，下载方式 %s，资源类型 %d"),
                            v.isResource ? U8("开启") : U8("关闭"), v.mediaDownload != 0 ? U8("允许") : U8("禁止"),
                            v.downloadType.empty() ? U8("未设置") : v.downloadType, v.resourceType);
    if (!v.resourceDesc.empty()) out += U8("\r\n资源简介：") + v.resourceDesc;
    return out;
}

std::optional<ValuePrompt> PromptFor(int id)
{
    auto price = [id](const char* caption, const char* message) {
        return ValuePrompt{id, PromptKind::Price, U8(caption), U8(message), wxString(), 0, 0};
    };
    switch (id) {
    case kRewardPoint:
        return ValuePrompt{id, PromptKind::Number, U8("设置悬赏分"), U8("请输入悬赏分。"), U8("悬赏分"), 0, 100000};
    case kViewPrice: return price("设置付费阅读金额", "请输入付费阅读金额。");
    case kGoodsPrice: return price("设置商品价格", "请输入商品价格。");
    case kSalePrice: return price("设置出售价格", "请输入会员板块出售价格。");
    case kAttachmentPrice: return price("附件打包价格", "请输入附件打包价格。");
    case kMediaPrice: return price("媒体打包价格", "请输入媒体打包价格。");
    case kPostPrice: return price("整体打包价格", "请输入整体打包价格。");
    case kDownloadType:
        return ValuePrompt{id, PromptKind::Text, U8("设置下载方式"),
                           U8("请输入下载方式，例如：百度云网盘、123网盘、夸克网盘、站内附件。"), wxString(), 0, 0};
    case kResourceType:
        return ValuePrompt{id, PromptKind::Number, U8("设置资源类型"),
                           U8("请输入资源类型编号。当前接口文档未给出固定枚举，可按实际站点约定填写。"),
                           U8("资源类型编号"), 0, 99};
    case kResourceDesc:
        return ValuePrompt{id, PromptKind::MultiLineText, U8("设置资源简介"),
                           U8("请输入资源简介，便于在会员资源帖中展示。"), wxString(), 0, 0};
    default: return std::nullopt;
    }
}

wxString PromptInitialText(const ValuePrompt& prompt, const PostInput& values)
{
    if (const double* price = PriceField(prompt.id, values)) return Money(*price);
    if (const int32_t* number = NumberField(prompt.id, values)) return wxString::Format(wxS("%d"), *number);
    if (const wxString* text = TextField(prompt.id, values)) return *text;
    return wxString();
}

int PromptInitialNumber(const ValuePrompt& prompt, const PostInput& values)
{
    const int32_t* number = NumberField(prompt.id, values);
    return number ? *number : 0;
}

PromptOutcome StorePromptAnswer(const ValuePrompt& prompt, const wxString& answer, PostInput& values)
{
    PromptOutcome outcome;
    const wxString name = ValueName(prompt.id);
    if (double* price = PriceField(prompt.id, values)) {
        const std::optional<double> parsed = ParsePrice(answer);
        if (!parsed) {
            outcome.error = U8("请输入不小于 0 的数字，例如 12.50。");
            return outcome;
        }
        *price = *parsed;
        outcome.announcement = name + U8("已设为 ") + Money(*parsed) + U8("。");
    } else if (int32_t* number = NumberField(prompt.id, values)) {
        const std::optional<int> parsed = ParseWholeNumber(answer, prompt.min, prompt.max);
        if (!parsed) {
            outcome.error = wxString::Format(U8("请输入 %d 到 %d 之间的整数。"), prompt.min, prompt.max);
            return outcome;
        }
        *number = *parsed;
        outcome.announcement = wxString::Format(U8("%s已设为 %d。"), name, *parsed);
    } else if (wxString* text = TextField(prompt.id, values)) {
        *text = TrimmedText(answer);
        outcome.announcement = text->empty() ? name + U8("已清空。")
                               : prompt.kind == PromptKind::MultiLineText ? name + U8("已更新。")
                                                                          : name + U8("已设为 ") + *text + U8("。");
    } else {
        return outcome;
    }
    outcome.stored = true;
    return outcome;
}

std::optional<double> ParsePrice(const wxString& text)
{
    const std::string s = Trimmed(text);
    if (s.empty()) return std::nullopt;
    double value = 0;
    // from_chars reads the C locale's form whatever the process locale is.
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(value) || value < 0) return std::nullopt;
    const double cents = std::round(value * 100.0) / 100.0;
    if (!std::isfinite(cents)) return std::nullopt;
    return cents + 0.0;  // -0 reads as 0
}

std::optional<int> ParseWholeNumber(const wxString& text, int min, int max)
{
    const std::string s = Trimmed(text);
    long long value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || error != std::errc() || end != s.data() + s.size() || value < min || value > max)
        return std::nullopt;
    return static_cast<int>(value);
}

wxString LinkDescription(const wxString& answer)
{
    const wxString desc = TrimmedText(answer);
    return desc.empty() ? U8("链接") : desc;
}

std::optional<UploadRow> UploadRowFor(int id)
{
    switch (id) {
    case kInsertImage:
        return UploadRow{id, U8("选择图片"),
                         U8("图片文件 (*.jpg;*.jpeg;*.png;*.gif;*.bmp)|*.jpg;*.jpeg;*.png;*.gif;*.bmp|所有文件 (*.*)|*.*"),
                         UploadKind::Image, false};
    case kInsertAudio:
        return UploadRow{id, U8("选择音频"),
                         U8("音频文件 (*.mp3;*.wav;*.m4a;*.aac;*.flac)|*.mp3;*.wav;*.m4a;*.aac;*.flac|所有文件 (*.*)|*.*"),
                         UploadKind::File, false};
    case kInsertVideo:
        return UploadRow{id, U8("选择视频"),
                         U8("视频文件 (*.mp4;*.avi;*.mov;*.mkv;*.wmv)|*.mp4;*.avi;*.mov;*.mkv;*.wmv|所有文件 (*.*)|*.*"),
                         UploadKind::Video, true};
    case kInsertFile: return UploadRow{id, U8("选择附件"), U8("所有文件 (*.*)|*.*"), UploadKind::File, false};
    default: return std::nullopt;
    }
}

UploadRow CoverUploadRow()
{
    return UploadRow{0, U8("选择视频封面"),
                     U8("图片文件 (*.jpg;*.jpeg;*.png;*.bmp)|*.jpg;*.jpeg;*.png;*.bmp|所有文件 (*.*)|*.*"),
                     UploadKind::Image, false};
}

std::vector<AttachmentEntry>& UploadTarget(PostInput& values, int id)
{
    switch (id) {
    case kInsertImage: return values.imageList;
    case kInsertAudio: return values.audioList;
    case kInsertVideo: return values.videoList;
    default: return values.fileList;
    }
}

wxString UploadAddedText(const AttachmentEntry& entry)
{
    return wxString::Format(U8("%s 已加入发帖内容。"), entry.name);
}

int UploadProgressText::Percent(uint64_t sent, uint64_t total)
{
    if (total == 0) return 0;
    if (sent >= total) return 100;
    return static_cast<int>(sent * 100 / total);
}

wxString UploadProgressText::StatusText(int percent) { return wxString::Format(U8("正在上传：%d%%"), percent); }

std::optional<int> UploadProgressText::NextQuarter(int percent)
{
    const int quarter = percent / 25 * 25;
    if (quarter <= spoken_) return std::nullopt;
    spoken_ = quarter;
    return quarter;
}

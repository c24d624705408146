// The composer's menus without a window: the summary for every setting,
// the resource-mode rule, the menu states, and the checks on prices,
// numbers and texts typed into the prompts.
#include "posts/composer_inserts.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace composer_menu;

wxString U8(const char* s) { return wxString::FromUTF8(s); }

const char* const kFreshSummary =
    "链接：0 个\r\n图片：0 个\r\n音频：0 个\r\n视频：0 个\r\n附件：0 个\r\n"
    "\r\n价格设置：商品 0.00，附件打包 0.00，媒体打包 0.00，整体打包 0.00，付费阅读 0.00，悬赏 0"
    "\r\n资源设置：资源模式 关闭，媒体下载 禁止，下载方式 未设置，资源类型 0";

AttachmentEntry Entry(int32_t fileId, const char* name, int32_t cover = 0) {
    AttachmentEntry e;
    e.fileId = fileId;
    e.coverId = cover;
    e.name = U8(name);
    return e;
}

TEST(ComposerSummary, EachSettingChangesItsOwnPart) {
    EXPECT_EQ(ComposerSummary(PostInput{}), U8(kFreshSummary));
    struct Case {
        const char* what;
        std::function<void(PostInput&)> change;
        const char* expected;
    };
    const wxString fresh = U8(kFreshSummary);
    const std::vector<Case> cases{
        {"links", [](PostInput& v) { v.linkList = {{U8("http://a"), U8("甲")}, {U8("http://b"), wxString()}}; },
         "链接：2 个\r\n  1. 甲 -> http://a\r\n  2. 未命名链接 -> http://b\r\n图片：0 个\r\n"},
        {"images", [](PostInput& v) { v.imageList = {Entry(5, "图一"), Entry(6, "")}; },
         "图片：2 个\r\n  1. fileId=5 图一\r\n  2. fileId=6 未命名图片\r\n音频"},
        {"audio", [](PostInput& v) { v.audioList = {Entry(7, "")}; }, "音频：1 个\r\n  1. fileId=7 未命名音频\r\n"},
        {"video", [](PostInput& v) { v.videoList = {Entry(8, "片", 9), Entry(10, "")}; },
         "视频：2 个\r\n  1. fileId=8 封面=9 片\r\n  2. fileId=10 封面=0 未命名视频\r\n附件"},
        {"files", [](PostInput& v) { v.fileList = {Entry(11, "")}; }, "附件：1 个\r\n  1. fileId=11 未命名附件\r\n\r\n"},
        {"prices",
         [](PostInput& v) {
             v.goodsPrice = 1.5;
             v.attachmentPrice = 2;
             v.mediaPrice = 3.25;
             v.postPrice = 4;
             v.viewPrice = 12.5;
             v.rewardPoint = 30;
         },
         "价格设置：商品 1.50，附件打包 2.00，媒体打包 3.25，整体打包 4.00，付费阅读 12.50，悬赏 30\r\n"},
        {"resource",
         [](PostInput& v) {
             v.isResource = true;
             v.mediaDownload = 1;
             v.downloadType = U8("站内附件");
             v.resourceType = 7;
         },
         "资源设置：资源模式 开启，媒体下载 允许，下载方式 站内附件，资源类型 7"},
        {"description", [](PostInput& v) { v.resourceDesc = U8("第一行\n第二行"); },
         "资源类型 0\r\n资源简介：第一行\n第二行"},
    };
    for (const Case& c : cases) {
        PostInput values;
        c.change(values);
        const wxString summary = ComposerSummary(values);
        EXPECT_NE(summary.Find(U8(c.expected)), wxNOT_FOUND) << c.what << "\n" << summary.utf8_string();
        EXPECT_NE(summary, fresh) << c.what;
    }
    PostInput quiet;
    quiet.notify = true;
    quiet.richBody = true;
    EXPECT_EQ(ComposerSummary(quiet), fresh) << "notify and rich text are not listed";
}

TEST(ComposerMenus, StatesFollowSectionAndResourceMode) {
    const std::vector<int> member{kResourceMode, kSalePrice, kAttachmentPrice, kMediaPrice, kPostPrice};
    const std::vector<int> resource{kMediaDownload, kDownloadType, kResourceType, kResourceDesc};
    PostInput values;
    for (const bool memberSection : {false, true}) {
        for (const bool isResource : {false, true}) {
            values.isResource = isResource;
            for (const ComposerMenu& menu : ComposerMenus()) {
                for (const ComposerMenuItem& item : menu.items) {
                    bool expected = true;
                    if (std::find(member.begin(), member.end(), item.id) != member.end()) expected = memberSection;
                    if (std::find(resource.begin(), resource.end(), item.id) != resource.end())
                        expected = memberSection && isResource;
                    EXPECT_EQ(ComposerMenuItemState(item.id, values, memberSection).enabled, expected)
                        << item.id << " member " << memberSection << " resource " << isResource;
                }
            }
        }
    }
    ASSERT_EQ(ComposerMenus().size(), 3u);
    EXPECT_EQ(ComposerMenus()[0].items.size(), 5u);
    EXPECT_EQ(ComposerMenus()[1].items.size(), 5u);
    EXPECT_EQ(ComposerMenus()[2].items.size(), 9u);

    // Check marks follow the values; toggling stores and says the state.
    const std::vector<std::pair<int, const char*>> checks{
        {kNotify, "微信通知"}, {kRichBody, "富文本模式"}, {kResourceMode, "资源帖子模式"}, {kMediaDownload, "媒体允许下载"}};
    for (const auto& [id, name] : checks) {
        PostInput v;
        EXPECT_FALSE(ComposerMenuItemState(id, v, true).checked) << id;
        EXPECT_EQ(StoreCheckItem(id, true, v), U8(name) + U8("：已开启"));
        EXPECT_TRUE(ComposerMenuItemState(id, v, true).checked) << id;
        EXPECT_EQ(StoreCheckItem(id, false, v), U8(name) + U8("：已关闭"));
        EXPECT_FALSE(ComposerMenuItemState(id, v, true).checked) << id;
    }
}

TEST(ComposerResourceRule, OnlyTheMemberSectionSwitchesItOn) {
    PostInput values;
    EXPECT_FALSE(ApplyResourceModeRule(values, false));
    EXPECT_FALSE(values.isResource);
    EXPECT_TRUE(ApplyResourceModeRule(values, true));
    EXPECT_TRUE(values.isResource);
    EXPECT_FALSE(ApplyResourceModeRule(values, true)) << "already on";
    EXPECT_TRUE(ComposerMenuItemState(kMediaDownload, values, true).enabled);
    EXPECT_EQ(LinkDescription(U8("  ")), U8("链接"));
    EXPECT_EQ(LinkDescription(U8(" 说明 ")), U8("说明"));
}

TEST(ComposerPrompts, AnswersAreCheckedAndTheOldValueStays) {
    struct Case {
        int id;
        const char* answer;
        bool stored;
        const char* summaryPart;  // what the summary then says
        const char* announcement;
    };
    const std::vector<Case> cases{
        {kViewPrice, "12.5", true, "付费阅读 12.50", "付费阅读金额已设为 12.50。"},
        {kViewPrice, " 3.456 ", true, "付费阅读 3.46", "付费阅读金额已设为 3.46。"},
        {kGoodsPrice, "0", true, "商品 0.00", "商品价格已设为 0.00。"},
        {kSalePrice, "8", true, "商品 8.00", "出售价格已设为 8.00。"},
        {kAttachmentPrice, ".5", true, "附件打包 0.50", "附件打包价格已设为 0.50。"},
        {kMediaPrice, "-0", true, "媒体打包 0.00", "媒体打包价格已设为 0.00。"},
        {kPostPrice, "-1", false, "整体打包 1.00", ""},
        {kPostPrice, "12,5", false, "整体打包 1.00", ""},
        {kPostPrice, "12.5元", false, "整体打包 1.00", ""},
        {kPostPrice, "abc", false, "整体打包 1.00", ""},
        {kPostPrice, "", false, "整体打包 1.00", ""},
        {kPostPrice, "inf", false, "整体打包 1.00", ""},
        {kPostPrice, "nan", false, "整体打包 1.00", ""},
        {kPostPrice, "1e400", false, "整体打包 1.00", ""},
        {kRewardPoint, "100000", true, "悬赏 100000", "悬赏分已设为 100000。"},
        {kRewardPoint, "100001", false, "悬赏 2", ""},
        {kRewardPoint, "-1", false, "悬赏 2", ""},
        {kRewardPoint, "1.5", false, "悬赏 2", ""},
        {kResourceType, " 99 ", true, "资源类型 99", "资源类型编号已设为 99。"},
        {kResourceType, "100", false, "资源类型 3", ""},
        {kDownloadType, "  夸克网盘 ", true, "下载方式 夸克网盘", "下载方式已设为 夸克网盘。"},
        {kDownloadType, "   ", true, "下载方式 未设置", "下载方式已清空。"},
        {kResourceDesc, " 简介 ", true, "\r\n资源简介：简介", "资源简介已更新。"},
    };
    for (const Case& c : cases) {
        PostInput values;
        values.postPrice = 1;
        values.rewardPoint = 2;
        values.resourceType = 3;
        values.downloadType = U8("旧");
        const std::optional<ValuePrompt> prompt = PromptFor(c.id);
        ASSERT_TRUE(prompt) << c.id;
        const PromptOutcome outcome = StorePromptAnswer(*prompt, U8(c.answer), values);
        EXPECT_EQ(outcome.stored, c.stored) << c.id << " " << c.answer;
        EXPECT_EQ(outcome.error.empty(), c.stored) << c.id << " " << c.answer;
        EXPECT_EQ(outcome.announcement, U8(c.announcement)) << c.id << " " << c.answer;
        EXPECT_NE(ComposerSummary(values).Find(U8(c.summaryPart)), wxNOT_FOUND) << c.id << " " << c.answer;
    }
    // The refusals say what is wanted; a blank description drops its line.
    PostInput values;
    EXPECT_EQ(StorePromptAnswer(*PromptFor(kViewPrice), U8("x"), values).error, U8("请输入不小于 0 的数字，例如 12.50。"));
    EXPECT_EQ(StorePromptAnswer(*PromptFor(kResourceType), U8("x"), values).error, U8("请输入 0 到 99 之间的整数。"));
    values.resourceDesc = U8("有");
    EXPECT_EQ(StorePromptAnswer(*PromptFor(kResourceDesc), U8(" \n "), values).announcement, U8("资源简介已清空。"));
    EXPECT_EQ(ComposerSummary(values).Find(U8("资源简介")), wxNOT_FOUND);
    // Prompts start from the current value, prices with two decimals.
    values.viewPrice = 12.5;
    values.rewardPoint = 40;
    EXPECT_EQ(PromptInitialText(*PromptFor(kViewPrice), values), U8("12.50"));
    EXPECT_EQ(PromptInitialNumber(*PromptFor(kRewardPoint), values), 40);
    EXPECT_EQ(PromptFor(kResourceType)->caption, U8("设置资源类型"));
    EXPECT_EQ(PromptFor(kRewardPoint)->max, 100000);
    EXPECT_FALSE(PromptFor(kInsertAudio));
}

TEST(ComposerUploads, RowsTargetsAndProgress) {
    const std::vector<std::tuple<int, const char*, UploadKind, bool>> rows{
        {kInsertImage, "选择图片", UploadKind::Image, false},
        {kInsertAudio, "选择音频", UploadKind::File, false},
        {kInsertVideo, "选择视频", UploadKind::Video, true},
        {kInsertFile, "选择附件", UploadKind::File, false}};
    PostInput values;
    for (const auto& [id, caption, kind, cover] : rows) {
        const std::optional<UploadRow> row = UploadRowFor(id);
        ASSERT_TRUE(row) << id;
        EXPECT_EQ(row->caption, U8(caption));
        EXPECT_EQ(row->kind, kind);
        EXPECT_EQ(row->asksCover, cover);
        UploadTarget(values, id).push_back(Entry(id, caption));
    }
    EXPECT_EQ(values.imageList.at(0).fileId, kInsertImage);
    EXPECT_EQ(values.audioList.at(0).fileId, kInsertAudio);
    EXPECT_EQ(values.videoList.at(0).fileId, kInsertVideo);
    EXPECT_EQ(values.fileList.at(0).fileId, kInsertFile);
    EXPECT_EQ(CoverUploadRow().kind, UploadKind::Image);
    EXPECT_EQ(CoverUploadRow().wildcard.Find(wxS("gif")), wxNOT_FOUND);
    EXPECT_EQ(UploadAddedText(Entry(1, "歌")), U8("歌 已加入发帖内容。"));

    EXPECT_EQ(UploadProgressText::Percent(0, 0), 0);
    EXPECT_EQ(UploadProgressText::Percent(1, 3), 33);
    EXPECT_EQ(UploadProgressText::Percent(5, 4), 100);
    EXPECT_EQ(UploadProgressText::StatusText(42), U8("正在上传：42%"));
    UploadProgressText progress;
    const std::vector<std::pair<int, std::optional<int>>> steps{
        {0, 0}, {10, std::nullopt}, {26, 25}, {49, std::nullopt}, {90, 75}, {99, std::nullopt}, {100, 100}, {100, std::nullopt}};
    for (const auto& [percent, quarter] : steps) EXPECT_EQ(progress.NextQuarter(percent), quarter) << percent;
}

}  // namespace

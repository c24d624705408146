// The composer's rules without a window: where a post starts, the section
// hint, an edited post's values, validation, what is sent, and when leaving
// must ask first.
#include "posts/post_composer_model.h"

#include <gtest/gtest.h>

namespace {

wxString U8(const char* s) { return wxString::FromUTF8(s); }

SectionInfo Section(int32_t id, bool allowAdmin = false, int32_t resource = 0) {
    SectionInfo s;
    s.id = id;
    s.name = wxString::Format(wxS("版块%d"), id);
    s.allowAdmin = allowAdmin;
    s.resource = resource;
    return s;
}

TEST(ComposerSections, InitialChoiceAndHint) {
    const SectionInfo a = Section(2014), admin = Section(5, true), res = Section(7, false, 1), plain = Section(9),
                      member = Section(2016);
    struct Case {
        std::vector<SectionInfo> sections;
        int initial;
    };
    const std::vector<Case> cases{
        {{a, admin, res, plain}, 3}, {{a, admin, res}, 2}, {{a, member}, 0}, {{member, admin}, 0}, {{}, -1}};
    for (const Case& c : cases) EXPECT_EQ(InitialSectionIndex(c.sections), c.initial) << c.sections.size();

    PostComposerModel model({a, admin, res, plain, member}, std::nullopt, false);
    EXPECT_FALSE(model.IsEdit());
    EXPECT_EQ(model.Heading(), U8("发新帖"));
    EXPECT_EQ(model.SubmitLabel(), U8("发布"));
    EXPECT_EQ(model.Selection(), 3);
    const std::vector<std::pair<int, const char*>> hints{
        {0, "发新帖 - 公告"}, {1, "发新帖 - 公告"}, {2, "发新帖"}, {3, "发新帖"}, {4, "发新帖 - 会员板块"}, {-1, "发新帖"},
        {9, "发新帖"}};
    for (const auto& [index, hint] : hints) {
        model.SelectSection(index);
        EXPECT_EQ(model.SectionHint(), U8(hint)) << index;
        EXPECT_EQ(model.MemberSection(), index == 4) << index;
    }
}

TEST(ComposerValidation, MessagesInOrderAndTheTrimmedPost) {
    PostComposerModel model({Section(9)}, std::nullopt, false);
    struct Case {
        int section;
        const char* title;
        const char* body;
        std::optional<ComposerField> field;
        const char* message;
    };
    const std::vector<Case> cases{
        {-1, "", "", ComposerField::Section, "请选择板块。"},
        {0, "   \t", "正文", ComposerField::Title, "请输入标题。"},
        {0, "标题", " \n\r\n ", ComposerField::Body, "请输入帖子内容。"},
        {0, " 标题 ", "\n正文\n", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        model.SelectSection(c.section);
        const auto problem = model.Validate(U8(c.title), U8(c.body));
        ASSERT_EQ(problem.has_value(), c.field.has_value()) << c.message;
        if (problem) {
            EXPECT_EQ(problem->field, *c.field);
            EXPECT_EQ(problem->message, U8(c.message));
        }
    }
    EXPECT_EQ(PostComposerModel({}, std::nullopt, false).Validate(U8("t"), U8("b"))->message, U8("请选择板块。"));
    model.Values().rewardPoint = 3;
    const PostInput sent = model.ToSend(U8(" 标题 "), U8("\n正文\n"));
    EXPECT_EQ(sent.id, 0);
    EXPECT_EQ(sent.sectionId, 9);
    EXPECT_EQ(sent.title, U8("标题"));
    EXPECT_EQ(sent.body, U8("正文"));
    EXPECT_EQ(sent.rewardPoint, 3);
    EXPECT_EQ(model.SuccessText(), U8("帖子发布成功。"));
    EXPECT_EQ(model.FailureCaption(), U8("发布失败"));
    EXPECT_EQ(PostComposerModel::FailureMessage(ApiResult{false, U8("不行"), U8("路径：/api/post")}),
              U8("不行\n\n调试信息：\n路径：/api/post"));
    EXPECT_EQ(PostComposerModel::FailureMessage(ApiResult{false, U8("不行"), wxString()}), U8("不行"));
}

PostDetail EditedPost(int32_t sectionId) {
    PostDetail post;
    post.id = 88;
    post.sectionId = sectionId;
    post.title = U8("旧标题");
    post.body = U8("旧正文");
    post.albumId = 4;
    post.replyForbidden = 1;
    post.mediaDownload = 7;
    post.viewPrice = 2.5;
    post.isResource = true;
    post.linkList = {{U8("http://l"), U8("链")}};
    MediaItem video;
    video.id = 31;
    video.attachFileId = 40;
    video.fileName = U8("片.mp4");
    MediaItem image;
    image.id = 50;
    image.fileId = 51;
    image.attachFileId = 52;
    image.desc = U8("图");
    post.videoList = {video};
    post.imageList = {image};
    return post;
}

TEST(ComposerEdit, LoadsThePostAndKeepsWhatTheEditorDidNotTouch) {
    PostComposerModel model({Section(9), Section(12)}, EditedPost(12), true);
    EXPECT_TRUE(model.IsEdit());
    EXPECT_TRUE(model.ManagerFlag());
    EXPECT_EQ(model.Heading(), U8("编辑帖子"));
    EXPECT_EQ(model.SubmitLabel(), U8("保存"));
    EXPECT_EQ(model.SectionHint(), U8("发新帖"));
    EXPECT_EQ(model.Selection(), 1);
    EXPECT_EQ(model.InitialTitle(), U8("旧标题"));
    const PostInput& v = model.Values();
    EXPECT_EQ(v.id, 88);
    EXPECT_EQ(v.albumId, 4);
    EXPECT_EQ(v.replyForbidden, 1);
    EXPECT_EQ(v.mediaDownload, 1);
    EXPECT_EQ(v.viewPrice, 2.5);
    ASSERT_EQ(v.videoList.size(), 1u);
    EXPECT_EQ(v.videoList[0].fileId, 31);   // no fileId: the item's id
    EXPECT_EQ(v.videoList[0].coverId, 40);
    EXPECT_EQ(v.videoList[0].name, U8("片.mp4"));
    ASSERT_EQ(v.imageList.size(), 1u);
    EXPECT_EQ(v.imageList[0].fileId, 51);
    EXPECT_EQ(v.imageList[0].coverId, 0);  // only videos have covers
    EXPECT_EQ(model.SuccessText(), U8("帖子保存成功。"));
    EXPECT_EQ(model.FailureCaption(), U8("保存失败"));

    // A post in a section that is not offered stays there unless the editor moves it.
    PostComposerModel hidden({Section(9), Section(12)}, EditedPost(77), false);
    EXPECT_EQ(hidden.Selection(), -1);
    EXPECT_TRUE(hidden.KeepsOwnSection());
    EXPECT_FALSE(hidden.Validate(U8("t"), U8("b")).has_value());
    EXPECT_EQ(hidden.ToSend(U8("t"), U8("b")).sectionId, 77);
    hidden.SelectSection(0);
    EXPECT_FALSE(hidden.KeepsOwnSection());
    EXPECT_EQ(hidden.ToSend(U8("t"), U8("b")).sectionId, 9);
}

TEST(ComposerLeaving, WhatCountsAsUnsaved) {
    PostComposerModel fresh({Section(9)}, std::nullopt, false);
    EXPECT_FALSE(fresh.HasUnsavedContent(U8(" "), U8("\n")));
    EXPECT_TRUE(fresh.HasUnsavedContent(U8("题"), U8("")));
    EXPECT_TRUE(fresh.HasUnsavedContent(U8(""), U8("文")));
    fresh.Values().postPrice = 9;
    fresh.Values().notify = true;
    EXPECT_FALSE(fresh.HasUnsavedContent(U8(""), U8("")));  // prices and switches do not count
    fresh.Values().linkList.push_back({U8("http://x"), U8("")});
    EXPECT_TRUE(fresh.HasUnsavedContent(U8(""), U8("")));
    fresh.Values().linkList.clear();
    fresh.Values().fileList.push_back(AttachmentEntry{1, 0, U8("f"), U8(""), U8("")});
    EXPECT_TRUE(fresh.HasUnsavedContent(U8(""), U8("")));

    PostComposerModel edit({Section(9)}, EditedPost(9), false);
    EXPECT_TRUE(edit.HasUnsavedContent(edit.InitialTitle(), edit.InitialBody()));
}

}  // namespace

// The draft files on disk: every field of a composer and a reply's text
// come back as they were written; the file is owner-only and replaced
// whole; a file that is not a draft of the kind asked for is reported and
// left exactly as it is; removing is final.
#include "posts/post_drafts.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

wxString U8(const char* text) { return wxString::FromUTF8(text); }

ComposerDraft FullDraft() {
    ComposerDraft draft;
    draft.sectionId = 2016;
    PostInput& v = draft.values;
    v.id = 77;
    v.sectionId = 3;
    v.title = U8("  标题 with = and ; and \"quotes\"  ");
    v.body = U8("第一行\n第二行\r\n\ttabbed \\ back\\slash\n");
    v.notify = true;
    v.rewardPoint = 15;
    v.viewPrice = 1.25;
    v.goodsPrice = 99.99;
    v.attachmentPrice = 0.5;
    v.mediaPrice = 3;
    v.postPrice = 12.3;
    v.albumId = 8;
    v.richBody = true;
    v.isResource = true;
    v.mediaDownload = 1;
    v.resourceType = 2;
    v.downloadType = U8("网盘");
    v.resourceDesc = U8("说明\n两行");
    v.replyForbidden = 1;
    v.linkList = {{U8("http://127.0.0.1/a?b=1&c=2"), U8("链接一")}, {U8("http://x/"), U8("链接")}};
    v.imageList = {{11, 0, U8("图"), U8("/files/11.png"), U8("/tmp/图.png")}};
    v.audioList = {{12, 0, U8("歌"), U8("/files/12.wav"), U8("/tmp/歌.wav")},
                   {13, 0, U8("歌二"), U8("/files/13.wav"), wxString()}};
    v.videoList = {{14, 15, U8("影"), U8("/files/14.mp4"), U8("/tmp/影.mp4")}};
    v.fileList = {{16, 0, U8("附件"), U8("/files/16.txt"), U8("/tmp/附件.txt")}};
    return draft;
}

void ExpectFilesEqual(const std::vector<AttachmentEntry>& a, const std::vector<AttachmentEntry>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].fileId, b[i].fileId);
        EXPECT_EQ(a[i].coverId, b[i].coverId);
        EXPECT_EQ(a[i].name, b[i].name);
        EXPECT_EQ(a[i].url, b[i].url);
        EXPECT_EQ(a[i].localPath, b[i].localPath);
    }
}

TEST(PostDrafts, EveryComposerFieldAndTheReplyTextComeBack) {
    qtest::TempDir dir;
    PostDrafts drafts(wxString::FromUTF8(dir.path()));
    const ComposerDraft written = FullDraft();
    ASSERT_TRUE(drafts.Save(PostDrafts::EditPostName(77), written));

    ComposerDraft read;
    ASSERT_EQ(drafts.Load(PostDrafts::EditPostName(77), read), DraftState::Found);
    EXPECT_EQ(read.sectionId, written.sectionId);
    const PostInput& w = written.values;
    const PostInput& r = read.values;
    EXPECT_EQ(r.id, w.id);
    EXPECT_EQ(r.sectionId, w.sectionId);
    EXPECT_EQ(r.title, w.title);
    EXPECT_EQ(r.body, w.body);
    EXPECT_EQ(r.notify, w.notify);
    EXPECT_EQ(r.rewardPoint, w.rewardPoint);
    EXPECT_DOUBLE_EQ(r.viewPrice, w.viewPrice);
    EXPECT_DOUBLE_EQ(r.goodsPrice, w.goodsPrice);
    EXPECT_DOUBLE_EQ(r.attachmentPrice, w.attachmentPrice);
    EXPECT_DOUBLE_EQ(r.mediaPrice, w.mediaPrice);
    EXPECT_DOUBLE_EQ(r.postPrice, w.postPrice);
    EXPECT_EQ(r.albumId, w.albumId);
    EXPECT_EQ(r.richBody, w.richBody);
    EXPECT_EQ(r.isResource, w.isResource);
    EXPECT_EQ(r.mediaDownload, w.mediaDownload);
    EXPECT_EQ(r.resourceType, w.resourceType);
    EXPECT_EQ(r.downloadType, w.downloadType);
    EXPECT_EQ(r.resourceDesc, w.resourceDesc);
    EXPECT_EQ(r.replyForbidden, w.replyForbidden);
    ASSERT_EQ(r.linkList.size(), w.linkList.size());
    for (size_t i = 0; i < w.linkList.size(); ++i) {
        EXPECT_EQ(r.linkList[i].url, w.linkList[i].url);
        EXPECT_EQ(r.linkList[i].desc, w.linkList[i].desc);
    }
    ExpectFilesEqual(r.imageList, w.imageList);
    ExpectFilesEqual(r.audioList, w.audioList);
    ExpectFilesEqual(r.videoList, w.videoList);
    ExpectFilesEqual(r.fileList, w.fileList);

    // Owner-only file in an owner-only folder.
    struct stat info {};
    ASSERT_EQ(stat(drafts.PathOf(PostDrafts::EditPostName(77)).fn_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(stat((dir.path() + "/drafts").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A reply, saved again over itself: the last text wins.
    const wxString reply = U8("回复\n第二行 = ; \\");
    ASSERT_TRUE(drafts.Save(PostDrafts::ReplyName(5), U8("旧的")));
    ASSERT_TRUE(drafts.Save(PostDrafts::ReplyName(5), reply));
    wxString text;
    ASSERT_EQ(drafts.Load(PostDrafts::ReplyName(5), text), DraftState::Found);
    EXPECT_EQ(text, reply);

    // The new-post composer's draft is its own file.
    ComposerDraft none;
    EXPECT_EQ(drafts.Load(PostDrafts::NewPostName(), none), DraftState::None);

    // Removed: gone for good; removing again is no failure.
    EXPECT_TRUE(drafts.Remove(PostDrafts::ReplyName(5)));
    EXPECT_EQ(drafts.Load(PostDrafts::ReplyName(5), text), DraftState::None);
    EXPECT_TRUE(drafts.Remove(PostDrafts::ReplyName(5)));
}

TEST(PostDrafts, AFileThatIsNoDraftOfItsKindIsLeftAsItIs) {
    qtest::TempDir dir;
    PostDrafts drafts(wxString::FromUTF8(dir.path()));
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"post-new", std::string("\xff\xfe\x00garbage\x01", 12)},
        {"post-new", "[draft]\nkind=reply\ntext=x\n"},   // a reply's draft under a composer's name
        {"post-new", "no groups at all\n"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.write(std::string("drafts/") + c.name + ".ini", c.bytes);
        ComposerDraft draft;
        EXPECT_EQ(drafts.Load(wxString::FromUTF8(c.name), draft), DraftState::Unreadable) << c.bytes;
        EXPECT_EQ(qtest::ReadFile(path), c.bytes);
    }
    // A folder where the file should be cannot be read either.
    dir.write("drafts/reply-9.ini/inside", "x");
    wxString text;
    EXPECT_EQ(drafts.Load(PostDrafts::ReplyName(9), text), DraftState::Unreadable);
    // And a draft cannot be saved where the folder cannot be made.
    PostDrafts nowhere(wxString::FromUTF8(dir.write("plain-file", "x")));
    EXPECT_FALSE(nowhere.Save(PostDrafts::ReplyName(1), U8("text")));
}

}  // namespace

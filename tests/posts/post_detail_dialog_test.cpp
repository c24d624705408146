// The post detail dialog as a real window under Xvfb: its controls, focus,
// player (null output, media over loopback http), keys and ways of closing.
#include "posts/post_detail_dialog.h"

#include "api/api_client.h"
#include "platform/audio_library.h"
#include "app/gtk_keys.h"
#include "audio/media_server.h"
#include "request_forms/gui_pump.h"
#include "support/http_test_server.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <filesystem>

namespace {

using guitest::DialogAnswerer;
using guitest::PumpFor;
using guitest::PumpUntil;
using namespace std::chrono_literals;

wxString U8(const char* s) { return wxString::FromUTF8(s); }

MediaItem Item(const wxString& url, const char* desc, const char* fileName) {
    MediaItem item;
    item.url = url;
    item.desc = U8(desc);
    item.fileName = U8(fileName);
    return item;
}

std::string AccessibleName(wxWindow* control) {
    AtkObject* acc = gtk_widget_get_accessible(control->GetConnectWidget());
    const char* name = acc ? atk_object_get_name(acc) : nullptr;
    return name ? name : "";
}

class PostDetailTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto& media = qtest::SharedMedia();
        if (!std::filesystem::exists(shortTone_)) {
            qtest::MakeMedia(media.dir, "short.wav", qtest::MediaKind::Wav, 0.8);
        }
        server_ = std::make_unique<qtest::MediaServer>(media.dir);
        post_.title = U8("春天的歌");
        post_.userName = U8("小明");
        post_.createTime = U8("2026-03-01 10:00");
        post_.body = U8("正文第一段。\n第二段。");
        post_.audioList = {Item(server_->Url("/media/tone.ogg"), "第一首", "a.ogg"),
                           Item(server_->Url("/media/tone.mp3"), "", "第二首.mp3")};
        post_.videoList = {Item(server_->Url("/media/clip.mp4"), "现场", "v.mp4")};
    }

    void TearDown() override {
        if (dialog_) dialog_->Destroy();
        qtest::Settle();
    }

    PostDetailDialog* Open(const PostDetail& post, std::optional<ReplyTarget> target = std::nullopt) {
        AudioEngineOptions audio;
        audio.audioOutputs = "null";
        dialog_ = new PostDetailDialog(nullptr, client_, U8("tok"), U8("a=b"), {}, post, target, {}, true, audio);
        dialog_->Show();
        PumpUntil([&] { return dialog_->IsShownOnScreen(); }, 3s);
        qtest::Settle();
        return dialog_;
    }

    wxString Status() const { return dialog_->StatusText()->GetLabel(); }
    bool Playing() { return PumpUntil([&] { return dialog_->Player().IsPlaying(); }, 5s); }
    void Click(wxButton* button) {
        wxCommandEvent click(wxEVT_BUTTON, button->GetId());
        click.SetEventObject(button);
        button->ProcessWindowEvent(click);
    }
    void TypeReply(const char* text, long caret) {
        dialog_->ReplyBox()->SetFocus();
        dialog_->ReplyBox()->ChangeValue(U8(text));
        dialog_->ReplyBox()->SetInsertionPoint(caret);
        qtest::Settle();
    }
    bool Closed() const { return !dialog_->IsShown() && dialog_->GetReturnCode() == wxID_CANCEL; }

    ApiClient client_;
    std::unique_ptr<qtest::MediaServer> server_;
    PostDetail post_;
    PostDetailDialog* dialog_ = nullptr;
    std::string shortTone_ = qtest::SharedMedia().dir + "/short.wav";
};

TEST_F(PostDetailTest, WindowShowsThePostWithMediaLinesInOrderFirstSelectedAndFocused) {
    Open(post_);
    EXPECT_EQ(dialog_->GetTitle(), U8("帖子内容"));
    EXPECT_GE(dialog_->GetSize().GetWidth(), 720);
    EXPECT_GE(dialog_->GetSize().GetHeight(), 680);
    wxListBox* list = dialog_->MediaList();
    ASSERT_EQ(list->GetCount(), 3u);
    EXPECT_EQ(list->GetString(0), U8("音频：第一首"));
    EXPECT_EQ(list->GetString(1), U8("音频：第二首.mp3"));
    EXPECT_EQ(list->GetString(2), U8("视频音轨：现场"));
    EXPECT_EQ(list->GetSelection(), 0);
    EXPECT_TRUE(list->IsEnabled());
    EXPECT_TRUE(qtest::HasWindowFocus(list));
    EXPECT_EQ(Status(), U8("播放状态：未开始，音量 100%"));
    EXPECT_EQ(dialog_->ContentBox()->GetValue(), post_.body);
    EXPECT_FALSE(dialog_->ContentBox()->IsEditable());
    EXPECT_TRUE(dialog_->ReplyBox()->IsEditable());
    // Screen readers hear the names, which wxGTK alone would not pass on.
    EXPECT_EQ(AccessibleName(list), "帖子媒体列表");
    EXPECT_EQ(AccessibleName(dialog_->ContentBox()), "帖子内容框");
    EXPECT_EQ(AccessibleName(dialog_->ReplyBox()), "回帖输入框");
    // Presented as a dialog, not a frame; the post is read from its start.
    EXPECT_EQ(atk_object_get_role(gtk_widget_get_accessible(dialog_->GetHandle())), ATK_ROLE_DIALOG);
    EXPECT_EQ(dialog_->ContentBox()->GetInsertionPoint(), 0);
    EXPECT_NE(dialog_->FindWindow(ID_POST_ACTIONS), nullptr);
    EXPECT_EQ(dialog_->FindWindow(wxID_OK)->GetLabel(), U8("发送回复"));
    EXPECT_EQ(dialog_->FindWindow(wxID_CANCEL)->GetLabel(), U8("关闭"));
}

TEST_F(PostDetailTest, WithoutMediaTheListIsDisabledAndFocusGoesToContentOrReply) {
    PostDetail bare = post_;
    bare.audioList.clear();
    bare.videoList.clear();
    Open(bare);
    ASSERT_EQ(dialog_->MediaList()->GetCount(), 1u);
    EXPECT_EQ(dialog_->MediaList()->GetString(0), U8("当前帖子没有可播放的音频或视频音轨"));
    EXPECT_FALSE(dialog_->MediaList()->IsEnabled());
    EXPECT_FALSE(dialog_->PlayButton()->IsEnabled());
    EXPECT_FALSE(dialog_->PauseButton()->IsEnabled());
    EXPECT_FALSE(dialog_->StopButton()->IsEnabled());
    EXPECT_TRUE(qtest::HasWindowFocus(dialog_->ContentBox()));
    dialog_->PlaySelected(false);  // the disabled list plays nothing
    EXPECT_FALSE(dialog_->Player().HasMedia());
    dialog_->Destroy();

    dialog_ = nullptr;
    Open(bare, ReplyTarget{91, 4, U8("阿花")});
    EXPECT_TRUE(qtest::HasWindowFocus(dialog_->ReplyBox()));
    bool found = false;
    for (wxWindow* child : dialog_->GetChildren()) {
        if (auto* text = dynamic_cast<wxStaticText*>(child)) found |= text->GetLabel() == U8("当前回复目标：回复 4 楼（阿花）");
    }
    EXPECT_TRUE(found);
}

TEST_F(PostDetailTest, EnterOnTheListPlaysAndPlayTwiceDoesNotRestart) {
    Open(post_);
    EXPECT_FALSE(AudioEngineLoaded());  // the first sound of this process loads the engine
    qtest::PressKey(dialog_->MediaList(), GDK_KEY_Return);
    EXPECT_EQ(dialog_->LoadedIndex(), 0);
    ASSERT_TRUE(Playing()) << dialog_->Player().GetLastError().utf8_string();
    EXPECT_EQ(dialog_->LoadedIndex(), 0);
    EXPECT_EQ(dialog_->Player().GetSource(), post_.audioList[0].url);
    EXPECT_TRUE(dialog_->StatusTimerRunning());
    ASSERT_TRUE(PumpUntil([&] { return dialog_->Player().GetPosition() > 0.8; }, 5s));
    EXPECT_TRUE(Status().StartsWith(U8("播放状态：播放中，音量 100%，进度 00:0"))) << Status().utf8_string();
    EXPECT_TRUE(Status().EndsWith(U8(" / 00:03"))) << Status().utf8_string();

    Click(dialog_->PauseButton());
    EXPECT_TRUE(Status().StartsWith(U8("播放状态：已暂停"))) << Status().utf8_string();
    double held = dialog_->Player().GetPosition();
    Click(dialog_->PlayButton());  // the loaded entry resumes, not restarts
    EXPECT_TRUE(dialog_->Player().IsPlaying());
    EXPECT_GE(dialog_->Player().GetPosition(), held - 0.05);
    Click(dialog_->PlayButton());
    EXPECT_GE(dialog_->Player().GetPosition(), held - 0.05);

    dialog_->MediaList()->SetSelection(2);
    qtest::PressKey(dialog_->MediaList(), GDK_KEY_Return, GDK_CONTROL_MASK);  // Ctrl makes no difference
    EXPECT_EQ(dialog_->LoadedIndex(), 2);
    EXPECT_EQ(dialog_->Player().GetSource(), post_.videoList[0].url);
    ASSERT_TRUE(Playing());
    EXPECT_LT(dialog_->Player().GetPosition(), 0.5);  // another entry starts from its beginning

    Click(dialog_->StopButton());
    EXPECT_FALSE(dialog_->StatusTimerRunning());
    EXPECT_TRUE(Status().StartsWith(U8("播放状态：已停止"))) << Status().utf8_string();
}

TEST_F(PostDetailTest, TheTimerStopsWhenPlaybackEndsByItself) {
    PostDetail post = post_;
    post.audioList = {Item(server_->Url("/media/short.wav"), "短", "")};
    Open(post);
    dialog_->PlaySelected(false);
    ASSERT_TRUE(dialog_->StatusTimerRunning());
    ASSERT_TRUE(PumpUntil([&] { return !dialog_->StatusTimerRunning(); }, 5s));
    EXPECT_EQ(Status(), U8("播放状态：已停止，音量 100%，进度 00:01 / 00:01"));
}

TEST_F(PostDetailTest, AFailingUrlShowsPlayFailed) {
    PostDetail post = post_;
    post.audioList = {Item(server_->Url("/media/none.mp3"), "不存在", "")};
    Open(post);
    DialogAnswerer answer(GTK_RESPONSE_OK);
    dialog_->PlaySelected(false);
    ASSERT_TRUE(PumpUntil([&] { return !answer.Seen().empty(); }, 5s));
    EXPECT_EQ(answer.Seen()[0].title, "播放失败");
    EXPECT_EQ(answer.Seen()[0].text, "加载网络音频失败：无法连接网络音频");
    EXPECT_TRUE(Status().StartsWith(U8("播放状态：未开始"))) << Status().utf8_string();
}

TEST_F(PostDetailTest, CtrlArrowsChangeVolumeAndPositionWhereverTheFocusIs) {
    Open(post_);
    TypeReply("hello world", 11);
    qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_Down, GDK_CONTROL_MASK);
    EXPECT_EQ(Status(), U8("播放状态：未开始，音量 95%"));
    qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_Up, GDK_CONTROL_MASK);
    qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_Up, GDK_CONTROL_MASK);
    EXPECT_EQ(Status(), U8("播放状态：未开始，音量 100%"));
    qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_Left, GDK_CONTROL_MASK);  // consumed: no word jump
    EXPECT_EQ(dialog_->ReplyBox()->GetInsertionPoint(), 11);

    dialog_->MediaList()->SetFocus();
    dialog_->PlaySelected(false);
    ASSERT_TRUE(Playing());
    dialog_->Player().Pause();
    qtest::PressKey(dialog_->MediaList(), GDK_KEY_Right, GDK_CONTROL_MASK);
    EXPECT_TRUE(Status().EndsWith(U8("进度 00:03 / 00:03"))) << Status().utf8_string();
    qtest::PressKey(dialog_->MediaList(), GDK_KEY_Left, GDK_CONTROL_MASK);
    EXPECT_TRUE(Status().EndsWith(U8("进度 00:00 / 00:03"))) << Status().utf8_string();
    EXPECT_EQ(dialog_->MediaList()->GetSelection(), 0);
}

TEST_F(PostDetailTest, BackspaceEditsTheReplyUntilItsStartThenAsksBeforeClosing) {
    Open(post_);
    TypeReply("回复ab", 4);
    qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_BackSpace);
    EXPECT_EQ(dialog_->ReplyBox()->GetValue(), U8("回复a"));
    EXPECT_TRUE(dialog_->IsShown());

    dialog_->ReplyBox()->SetInsertionPoint(0);
    {
        DialogAnswerer answer(GTK_RESPONSE_NO);
        qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_BackSpace);
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].title, "未保存内容");
        EXPECT_EQ(answer.Seen()[0].text, "当前有回复内容未发送，确定返回吗？");
        EXPECT_EQ(answer.Seen()[0].defaultResponse, GTK_RESPONSE_NO);
    }
    EXPECT_TRUE(dialog_->IsShown());
    EXPECT_EQ(dialog_->ReplyBox()->GetValue(), U8("回复a"));
    {
        DialogAnswerer answer(GTK_RESPONSE_YES);
        qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_BackSpace);
        EXPECT_EQ(answer.Seen().size(), 1u);
    }
    EXPECT_TRUE(Closed());
}

TEST_F(PostDetailTest, EnterAndBackspaceInTheReplyBoxEditWithoutPlayingOrClosing) {
    Open(post_);
    TypeReply("ab", 2);
    qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_Return);  // a new line, not the player
    EXPECT_EQ(dialog_->ReplyBox()->GetValue(), U8("ab\n"));
    EXPECT_EQ(dialog_->LoadedIndex(), -1);
    EXPECT_FALSE(dialog_->Player().HasMedia());

    // A selection that starts at the very beginning is still deleted.
    dialog_->ReplyBox()->SetSelection(0, 2);
    DialogAnswerer answer(GTK_RESPONSE_NO);
    qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_BackSpace);
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_EQ(dialog_->ReplyBox()->GetValue(), U8("\n"));
    EXPECT_TRUE(dialog_->IsShown());

    // Only white space left: Backspace on a button closes without asking.
    dialog_->PlayButton()->SetFocus();
    qtest::Settle();
    qtest::PressKey(dialog_->PlayButton(), GDK_KEY_BackSpace);
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_TRUE(Closed());
    EXPECT_FALSE(dialog_->Player().HasMedia());
}

TEST_F(PostDetailTest, BackspaceOnTheListOrReadOnlyContentClosesWithoutAskingWhenNothingIsWritten) {
    Open(post_);
    dialog_->ContentBox()->SetFocus();
    dialog_->ContentBox()->SetInsertionPoint(3);
    DialogAnswerer answer(GTK_RESPONSE_NO);
    qtest::PressKey(dialog_->ContentBox(), GDK_KEY_BackSpace);
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_TRUE(Closed());
    EXPECT_EQ(dialog_->ContentBox()->GetValue(), post_.body);
}

TEST_F(PostDetailTest, EscWithOnlyWhiteSpaceClosesWithoutAsking) {
    Open(post_);
    TypeReply(" \n  \n", 2);
    DialogAnswerer answer(GTK_RESPONSE_NO);
    qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_Escape);
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_TRUE(Closed());
}

TEST_F(PostDetailTest, ModalEscAsksWithTextAndEndsWithCancel) {
    Open(post_);
    dialog_->Hide();
    dialog_->CallAfter([this] {
        TypeReply("还没发", 3);
        DialogAnswerer answer(GTK_RESPONSE_YES);
        qtest::PressKey(dialog_->ReplyBox(), GDK_KEY_Escape);
    });
    wxTimer guard;  // a dialog that failed to close must not hang the suite
    guard.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { dialog_->EndModal(-99); });
    guard.StartOnce(10000);
    EXPECT_EQ(dialog_->ShowModal(), wxID_CANCEL);
}

TEST_F(PostDetailTest, CloseButtonAndCloseBoxAskBeforeAnUnsentReplyIsDropped) {
    Open(post_);
    dialog_->Hide();
    {
        // "关闭" asks like Esc; "取消" keeps the dialog and its text.
        DialogAnswerer answer(GTK_RESPONSE_NO);
        TypeReply("还没发", 3);
        Click(static_cast<wxButton*>(dialog_->FindWindow(wxID_CANCEL)));
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].text, "当前有回复内容未发送，确定返回吗？");
        EXPECT_EQ(dialog_->ReplyBox()->GetValue(), U8("还没发"));
    }
    {
        DialogAnswerer answer(GTK_RESPONSE_YES);
        dialog_->CallAfter([this] { Click(static_cast<wxButton*>(dialog_->FindWindow(wxID_CANCEL))); });
        wxTimer guard;
        guard.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { dialog_->EndModal(-99); });
        guard.StartOnce(10000);
        EXPECT_EQ(dialog_->ShowModal(), wxID_CANCEL);
        EXPECT_EQ(answer.Seen().size(), 1u);
    }
    {
        // The close box asks once; "取消" keeps the dialog.
        DialogAnswerer answer(GTK_RESPONSE_NO);
        dialog_->Show();
        EXPECT_FALSE(dialog_->Close(false));
        EXPECT_EQ(answer.Seen().size(), 1u);
        EXPECT_TRUE(dialog_->IsShown());
    }
    DialogAnswerer agree(GTK_RESPONSE_YES);
    dialog_->Close(false);
    qtest::Settle();
    EXPECT_EQ(agree.Seen().size(), 1u);
    EXPECT_FALSE(dialog_->IsShown());
}

TEST_F(PostDetailTest, SendReplyChecksThenSendsToThePostOrTheFloor) {
    qtest::HttpTestServer forum;
    forum.Answer("POST", "/api/reply", qtest::Fail(409, "帖子已锁定，不能回复。"));
    ApiClient client(ServerEndpoint{wxS("127.0.0.1"), forum.Port()});
    AudioEngineOptions audio;
    audio.audioOutputs = "null";
    PostDetail post = post_;
    post.id = 321;
    post.audioList.clear();
    post.videoList.clear();
    int logins = 0;
    auto open = [&](const PostDetail& p, std::optional<ReplyTarget> target, const wxString& token) {
        if (dialog_) dialog_->Destroy();
        dialog_ = new PostDetailDialog(nullptr, client, token, wxString(), {}, p, target,
                                       [&](wxString& t, wxString&) {
                                           ++logins;
                                           t = U8("tok");
                                           return true;
                                       },
                                       false, audio);
        dialog_->Show();
        qtest::Settle();
    };
    auto send = [&] { Click(static_cast<wxButton*>(dialog_->FindWindow(wxID_OK))); };

    PostDetail closed = post;
    closed.replyForbidden = 1;
    open(closed, std::nullopt, U8("tok"));
    TypeReply("想回复", 3);
    {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        send();
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].text, "当前帖子不允许回复。");
    }
    open(post, std::nullopt, wxString());
    TypeReply("  \n ", 0);
    dialog_->ContentBox()->SetFocus();
    {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        send();
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].text, "请输入回帖内容。");
        EXPECT_TRUE(PumpUntil([&] { return qtest::HasWindowFocus(dialog_->ReplyBox()); }, 2s));
    }
    EXPECT_EQ(forum.RequestCount(), 0u);
    EXPECT_EQ(logins, 0);

    // No session: the login comes first; the refusal keeps the text.
    TypeReply(" 第一条 ", 0);
    {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        send();
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].title, "发送回复失败");
        EXPECT_EQ(answer.Seen()[0].text, "帖子已锁定，不能回复。");
    }
    EXPECT_EQ(logins, 1);
    EXPECT_EQ(dialog_->ReplyBox()->GetValue(), U8(" 第一条 "));
    EXPECT_TRUE(dialog_->FindWindow(wxID_OK)->IsEnabled());
    EXPECT_EQ(forum.RequestCount(), 3u * 10u);  // refused in every form, never twice after an unsure answer
    forum.Answer("POST", "/api/reply", qtest::Ok(R"({"id":5})"));
    {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        send();
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].text, "回复发送成功。");
    }
    EXPECT_FALSE(dialog_->IsShown());
    EXPECT_EQ(dialog_->GetReturnCode(), wxID_OK);
    EXPECT_EQ(forum.Requests().back().body, R"({"postId":321,"body":"第一条"})");
    EXPECT_EQ(forum.Requests().back().Header("Authorization"), "tok");

    open(post, ReplyTarget{91, 4, U8("阿花")}, U8("tok"));
    TypeReply("回四楼", 3);
    DialogAnswerer answer(GTK_RESPONSE_OK);
    send();
    EXPECT_EQ(forum.Requests().back().body, R"({"postId":321,"body":"回四楼","parentId":91})");
}

}  // namespace

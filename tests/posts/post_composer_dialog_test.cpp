// The post composer as a real window under Xvfb: its controls with their
// accessible names in Tab order, the section hint, validation, publishing
// and saving against the local forum, failures, and every way out.
#include "posts/post_composer_dialog.h"

#include "api/api_client.h"
#include "api/envelope.h"
#include "posts/composer_inserts.h"
#include "app/gtk_keys.h"
#include "request_forms/gui_pump.h"
#include "support/http_test_server.h"
#include "support/local_forum_process.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

namespace {

using guitest::DialogAnswerer;
using guitest::PumpUntil;
using namespace std::chrono_literals;

wxString U8(const char* s) { return wxString::FromUTF8(s); }

std::string AccessibleName(wxWindow* control) {
    AtkObject* acc = gtk_widget_get_accessible(control->GetConnectWidget());
    const char* name = acc ? atk_object_get_name(acc) : nullptr;
    return name ? name : "";
}

struct Session {
    wxString token, cookies;
};

Session LogIn(const ApiClient& client, const char* mobile, const char* password) {
    const HttpResponse r = client.SendRequest(
        wxS("POST"), wxS("/api/user/login"), {{wxS("Content-Type"), wxS("application/json")}},
        std::string(R"({"mobile":")") + mobile + R"(","password":")" + password + R"("})");
    rapidjson::Document doc;
    wxString message;
    if (!EvaluateResponse(r, doc, message, wxS("登录失败")) || !doc["data"].IsString()) return {};
    return Session{wxString::FromUTF8(doc["data"].GetString()), r.cookies};
}

class ComposerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        forum_ = new qtest::LocalForumProcess({"--no-media"});
        ASSERT_TRUE(forum_->ok()) << forum_->error();
    }
    static void TearDownTestSuite() {
        delete forum_;
        forum_ = nullptr;
    }
    void TearDown() override {
        if (dialog_) dialog_->Destroy();
        qtest::Settle();
    }

    ApiClient& Forum() {
        static ApiClient client(ServerEndpoint{wxS("127.0.0.1"), forum_->port()});
        return client;
    }
    PostComposerDialog* Open(ApiClient& client, const Session& s, std::vector<SectionInfo> sections,
                             LoginCallback login = {}, const std::optional<PostDetail>& post = std::nullopt,
                             bool manager = false) {
        dialog_ = new PostComposerDialog(nullptr, client, s.token, s.cookies, sections, std::move(login), post,
                                         manager);
        dialog_->Show();
        PumpUntil([&] { return dialog_->IsShownOnScreen(); }, 3s);
        qtest::Settle();
        return dialog_;
    }
    void Click(int id) {
        wxWindow* button = dialog_->FindWindow(id);
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(button);
        button->ProcessWindowEvent(click);
    }
    void ChooseSection(int index) {
        dialog_->SectionBox()->SetSelection(index);
        wxCommandEvent changed(wxEVT_COMBOBOX, dialog_->SectionBox()->GetId());
        changed.SetEventObject(dialog_->SectionBox());
        changed.SetInt(index);
        dialog_->SectionBox()->ProcessWindowEvent(changed);
    }
    // Runs the dialog modally; `inside` acts while it runs. A dialog that
    // fails to end does not hang the suite.
    int RunModal(std::function<void()> inside) {
        dialog_->Hide();
        dialog_->CallAfter(std::move(inside));
        wxTimer guard;
        guard.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { dialog_->EndModal(-99); });
        guard.StartOnce(15000);
        return dialog_->ShowModal();
    }
    void Command(int id, bool checked = false) {
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetInt(checked ? 1 : 0);
        dialog_->ProcessWindowEvent(command);
    }
    void ChooseSectionId(int32_t id) {
        const auto& sections = dialog_->Model().Sections();
        for (size_t i = 0; i < sections.size(); ++i) {
            if (sections[i].id == id) ChooseSection(static_cast<int>(i));
        }
    }
    std::string Announced() {
        wxWindow* announcer = wxWindow::FindWindowByName(wxS("quillery-announcer"), dialog_);
        return announcer ? AccessibleName(announcer) : "";
    }

    static qtest::LocalForumProcess* forum_;
    PostComposerDialog* dialog_ = nullptr;
};

qtest::LocalForumProcess* ComposerTest::forum_ = nullptr;

TEST_F(ComposerTest, ControlsAreNamedAndReachedByTabInOrder) {
    Open(Forum(), {}, Forum().GetSections().sections);
    EXPECT_EQ(dialog_->GetTitle(), U8("发新帖"));
    EXPECT_GE(dialog_->GetSize().GetWidth(), 700);
    EXPECT_GE(dialog_->GetSize().GetHeight(), 520);
    // 论坛公告, 综合讨论, ...: the first plain section.
    EXPECT_EQ(dialog_->SectionBox()->GetStringSelection(), U8("综合讨论"));
    EXPECT_EQ(dialog_->SectionHint()->GetLabel(), U8("发新帖"));
    EXPECT_EQ(dialog_->SubmitButton()->GetLabel(), U8("发布"));
    ASSERT_EQ(dialog_->MenuButtons().size(), 3u);
    const char* menus[] = {"插入", "发布设置", "会员扩展"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(dialog_->MenuButtons()[i]->GetLabel(), U8(menus[i]));
        EXPECT_EQ(AccessibleName(dialog_->MenuButtons()[i]), menus[i]);
        EXPECT_TRUE(dialog_->MenuButtons()[i]->IsEnabled());
    }
    EXPECT_EQ(dialog_->SectionHint()->GetName(), U8("板块提示"));
    EXPECT_EQ(AccessibleName(dialog_->SectionHint()), "发新帖");  // its text is read
    EXPECT_TRUE(qtest::HasWindowFocus(dialog_->SectionBox()));

    struct Stop {
        wxWindow* control;
        const char* name;
    };
    const std::vector<Stop> order{{dialog_->TitleBox(), "标题输入框"},
                                  {dialog_->ContentBox(), "帖子内容输入框"},
                                  {dialog_->MenuButtons()[0], "插入"},
                                  {dialog_->MenuButtons()[1], "发布设置"},
                                  {dialog_->MenuButtons()[2], "会员扩展"},
                                  {dialog_->SummaryBox(), "资源与售价摘要"},
                                  {dialog_->SubmitButton(), "发布"},
                                  {dialog_->FindWindow(wxID_CANCEL), "取消"},
                                  {dialog_->SectionBox(), "板块选择框"}};
    for (const Stop& stop : order) {
        wxWindow* from = wxWindow::FindFocus() ? wxWindow::FindFocus() : dialog_->SectionBox();
        qtest::PressKey(from, GDK_KEY_Tab);
        qtest::Settle();
        EXPECT_TRUE(PumpUntil([&] { return qtest::HasWindowFocus(stop.control); }, 2s)) << stop.name;
        EXPECT_EQ(AccessibleName(stop.control), stop.name);
    }

    // The member section changes the hint, and the change is spoken.
    const auto& sections = dialog_->Model().Sections();
    for (size_t i = 0; i < sections.size(); ++i) {
        if (sections[i].id == 2016) ChooseSection(static_cast<int>(i));
    }
    EXPECT_EQ(dialog_->SectionHint()->GetLabel(), U8("发新帖 - 会员板块"));
    EXPECT_TRUE(dialog_->Model().MemberSection());
    EXPECT_EQ(Announced(), "发新帖 - 会员板块");
    EXPECT_EQ(AccessibleName(dialog_->SectionHint()), "发新帖 - 会员板块");
    ChooseSection(0);  // 论坛公告
    EXPECT_EQ(dialog_->SectionHint()->GetLabel(), U8("发新帖 - 公告"));
    EXPECT_EQ(Announced(), "发新帖 - 公告");
}

TEST_F(ComposerTest, ValidationThenLoginThenPublishToTheForum) {
    const Session member = LogIn(Forum(), qtest::LocalForumProcess::kUserMobile,
                                 qtest::LocalForumProcess::kUserPassword);
    ASSERT_FALSE(member.token.empty());
    int logins = 0;
    bool agree = false;
    Open(Forum(), {}, Forum().GetSections().sections, [&](wxString& token, wxString& cookies) {
        ++logins;
        if (agree) {
            token = member.token;
            cookies = member.cookies;
        }
        return agree;
    });
    {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        dialog_->TitleBox()->ChangeValue(U8("   "));
        dialog_->Publish();
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].title, "提示");
        EXPECT_EQ(answer.Seen()[0].text, "请输入标题。");
        EXPECT_TRUE(PumpUntil([&] { return qtest::HasWindowFocus(dialog_->TitleBox()); }, 2s));
    }
    {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        dialog_->TitleBox()->ChangeValue(U8(" 组件测试发的帖子 "));
        dialog_->Publish();
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].text, "请输入帖子内容。");
        EXPECT_TRUE(PumpUntil([&] { return qtest::HasWindowFocus(dialog_->ContentBox()); }, 2s));
    }
    dialog_->ContentBox()->ChangeValue(U8("正文\n第二行"));
    dialog_->Publish();  // the user declines to log in: nothing happens, nothing is lost
    EXPECT_EQ(logins, 1);
    EXPECT_TRUE(dialog_->IsShown());
    EXPECT_TRUE(dialog_->SubmitButton()->IsEnabled());

    agree = true;
    DialogAnswerer answer(GTK_RESPONSE_OK);
    EXPECT_EQ(RunModal([this] { Click(wxID_OK); }), wxID_OK);
    EXPECT_EQ(logins, 2);
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].title, "提示");
    EXPECT_EQ(answer.Seen()[0].text, "帖子发布成功。");
    bool listed = false;
    for (const PostSummary& p : Forum().GetSectionPosts(1, 1, 20).items) listed |= p.title == U8("组件测试发的帖子");
    EXPECT_TRUE(listed);
}

TEST_F(ComposerTest, EditSavesAsManagerAndAFailureShowsItsDebugText) {
    const Session manager = LogIn(Forum(), qtest::LocalForumProcess::kManagerMobile,
                                  qtest::LocalForumProcess::kManagerPassword);
    const PostListPage section = Forum().GetSectionPosts(3, 1, 20);
    ASSERT_FALSE(section.items.empty());
    PostDetailResult post = Forum().GetManagedPost(section.items[0].id, manager.token, manager.cookies);
    ASSERT_TRUE(post.ok) << post.error;
    Open(Forum(), manager, Forum().GetSections().sections, {}, post.detail, true);
    EXPECT_EQ(dialog_->GetTitle(), U8("编辑帖子"));
    EXPECT_EQ(dialog_->SubmitButton()->GetLabel(), U8("保存"));
    EXPECT_EQ(dialog_->TitleBox()->GetValue(), post.detail.title);
    EXPECT_EQ(dialog_->ContentBox()->GetValue(), post.detail.body);
    EXPECT_EQ(dialog_->SectionBox()->GetStringSelection(), U8("读屏软件交流"));
    dialog_->TitleBox()->ChangeValue(post.detail.title + U8("（版主修订）"));
    {
        DialogAnswerer answer(GTK_RESPONSE_OK);
        EXPECT_EQ(RunModal([this] { Click(wxID_OK); }), wxID_OK);
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].text, "帖子保存成功。");
    }
    EXPECT_EQ(Forum().GetPost(post.detail.id).detail.title, post.detail.title + U8("（版主修订）"));
    dialog_->Destroy();
    dialog_ = nullptr;

    qtest::HttpTestServer refusing;
    refusing.SetDefault(qtest::Fail(403, "只能编辑自己的帖子。"));
    ApiClient other(ServerEndpoint{wxS("127.0.0.1"), refusing.Port()});
    Open(other, Session{wxS("T"), wxString()}, Forum().GetSections().sections, {}, post.detail, false);
    DialogAnswerer answer(GTK_RESPONSE_OK);
    dialog_->Publish();
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].title, "保存失败");
    EXPECT_EQ(answer.Seen()[0].text,
              "只能编辑自己的帖子。 [JSON回退版]\n\n调试信息：\n路径：/api/post?accessToken=T\n方式：JSON回退版\n"
              "返回：只能编辑自己的帖子。");
    EXPECT_TRUE(dialog_->IsShown());
    EXPECT_TRUE(dialog_->SubmitButton()->IsEnabled());
}

TEST_F(ComposerTest, EveryWayOutAsksWhenSomethingWasWritten) {
    const std::vector<SectionInfo> sections = Forum().GetSections().sections;
    // Untouched: Esc closes at once.
    Open(Forum(), {}, sections);
    {
        DialogAnswerer answer(GTK_RESPONSE_YES);
        EXPECT_EQ(RunModal([this] { qtest::PressKey(dialog_->SectionBox(), GDK_KEY_Escape); }), wxID_CANCEL);
        EXPECT_TRUE(answer.Seen().empty());
    }
    // A title: "取消" asks like Esc; "取消" in the question keeps everything.
    dialog_->TitleBox()->ChangeValue(U8("草稿"));
    {
        DialogAnswerer answer(GTK_RESPONSE_NO);
        Click(wxID_CANCEL);
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].title, "未保存内容");
        EXPECT_EQ(answer.Seen()[0].text, "当前有帖子内容未保存，确定返回吗？");
        EXPECT_EQ(answer.Seen()[0].defaultResponse, GTK_RESPONSE_NO);
    }
    EXPECT_EQ(dialog_->TitleBox()->GetValue(), U8("草稿"));
    // Backspace inside the title edits it; at its start it asks.
    {
        DialogAnswerer answer(GTK_RESPONSE_YES);
        EXPECT_EQ(RunModal([this] {
                      dialog_->TitleBox()->SetFocus();
                      dialog_->TitleBox()->SetInsertionPointEnd();
                      qtest::PressKey(dialog_->TitleBox(), GDK_KEY_BackSpace);
                      EXPECT_EQ(dialog_->TitleBox()->GetValue(), U8("草"));
                      EXPECT_TRUE(dialog_->IsShown());
                      dialog_->TitleBox()->SetInsertionPoint(0);
                      qtest::PressKey(dialog_->TitleBox(), GDK_KEY_BackSpace);
                  }),
                  wxID_CANCEL);
        EXPECT_EQ(answer.Seen().size(), 1u);
    }
    // The close box asks and may be refused.
    dialog_->Show();
    {
        DialogAnswerer answer(GTK_RESPONSE_NO);
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

TEST_F(ComposerTest, MenusFollowTheSectionAndThePromptsCheckWhatIsTyped) {
    using namespace composer_menu;
    Open(Forum(), {}, Forum().GetSections().sections);
    // Each menu pops up at its button's left edge, just below it.
    for (size_t i = 0; i < 3; ++i) {
        const wxButton* button = dialog_->MenuButtons()[i];
        EXPECT_EQ(dialog_->MenuPosition(i), wxPoint(button->GetPosition().x, button->GetRect().GetBottom() + 1));
        EXPECT_EQ(dialog_->Menu(i)->GetMenuItemCount(), ComposerMenus()[i].items.size());
    }
    EXPECT_EQ(dialog_->Menu(2)->GetLabel(kResourceMode), U8("资源帖子模式"));
    EXPECT_TRUE(dialog_->Menu(2)->FindItem(kResourceMode)->IsCheckable());
    EXPECT_FALSE(dialog_->Menu(2)->IsEnabled(kSalePrice));
    EXPECT_EQ(dialog_->SummaryBox()->GetValue(), ComposerSummary(PostInput{}));

    // A price: a bad answer is refused with the prompt's caption, a good
    // one is kept to the cent, shown, spoken and offered next time.
    {
        guitest::TextDialogAnswerer type(U8("12,5"), wxID_OK);
        DialogAnswerer refuse(GTK_RESPONSE_OK);
        Command(kViewPrice);
        EXPECT_EQ(type.Caption(), U8("设置付费阅读金额"));
        EXPECT_EQ(type.OkLabel(), U8("确定"));
        ASSERT_EQ(refuse.Seen().size(), 1u);
        EXPECT_EQ(refuse.Seen()[0].title, "设置付费阅读金额");
        EXPECT_EQ(refuse.Seen()[0].text, "请输入不小于 0 的数字，例如 12.50。");
    }
    EXPECT_EQ(dialog_->Model().Values().viewPrice, 0.0);
    {
        guitest::TextDialogAnswerer type(U8(" 12.5 "), wxID_OK);
        Command(kViewPrice);
    }
    EXPECT_EQ(dialog_->Model().Values().viewPrice, 12.5);
    EXPECT_NE(dialog_->SummaryBox()->GetValue().Find(U8("付费阅读 12.50")), wxNOT_FOUND);
    EXPECT_EQ(Announced(), "付费阅读金额已设为 12.50。");

    // A check item stores its state and says it.
    Command(kNotify, true);
    EXPECT_TRUE(dialog_->Model().Values().notify);
    EXPECT_TRUE(dialog_->Menu(1)->IsChecked(kNotify));
    EXPECT_EQ(Announced(), "微信通知：已开启");

    // Outside the member section a link leaves resource mode off.
    {
        guitest::TextDialogAnswerer type(U8("https://example.org/a"), wxID_OK);
        DialogAnswerer notice(GTK_RESPONSE_OK);
        // The second prompt (the description) is answered by the same answerer.
        Command(kInsertLink);
        EXPECT_EQ(type.Answered(), 2);
        ASSERT_EQ(notice.Seen().size(), 1u);
        EXPECT_EQ(notice.Seen()[0].text, "链接已加入发帖内容。");
    }
    EXPECT_FALSE(dialog_->Model().Values().isResource);
    // An empty address adds nothing.
    {
        guitest::TextDialogAnswerer type(U8("   "), wxID_OK);
        DialogAnswerer notice(GTK_RESPONSE_OK);
        Command(kInsertLink);
        ASSERT_EQ(notice.Seen().size(), 1u);
        EXPECT_EQ(notice.Seen()[0].text, "链接地址不能为空。");
    }
    ASSERT_EQ(dialog_->Model().Values().linkList.size(), 1u);

    // In the member section a link turns resource mode on, with its items.
    ChooseSectionId(kMemberSectionId);
    EXPECT_TRUE(dialog_->Menu(2)->IsEnabled(kSalePrice));
    EXPECT_FALSE(dialog_->Menu(2)->IsEnabled(kMediaDownload));
    {
        guitest::TextDialogAnswerer type(U8("https://example.org/b"), wxID_OK);
        DialogAnswerer notice(GTK_RESPONSE_OK);
        Command(kInsertLink);
        EXPECT_EQ(notice.Seen().size(), 1u);
    }
    EXPECT_TRUE(dialog_->Model().Values().isResource);
    EXPECT_TRUE(dialog_->Menu(2)->IsChecked(kResourceMode));
    EXPECT_TRUE(dialog_->Menu(2)->IsEnabled(kMediaDownload));
    EXPECT_EQ(Announced(), "资源帖子模式：已开启");
    const wxString summary = dialog_->SummaryBox()->GetValue();
    EXPECT_NE(summary.Find(U8("链接：2 个\r\n  1. https://example.org/a -> https://example.org/a\r\n")), wxNOT_FOUND)
        << summary.utf8_string();
    EXPECT_NE(summary.Find(U8("资源模式 开启")), wxNOT_FOUND);
    EXPECT_EQ(AccessibleName(dialog_->SummaryBox()), "资源与售价摘要");
}

}  // namespace

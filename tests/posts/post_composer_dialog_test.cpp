// The post composer as a real window under Xvfb: its controls with their
// accessible names in Tab order, the section hint, validation, publishing
// and saving against the local forum, failures, and every way out.
#include "posts/post_composer_dialog.h"

#include "api/api_client.h"
#include "api/envelope.h"
#include "posts/composer_inserts.h"
#include "posts/upload_status_line.h"
#include "app/gtk_keys.h"
#include "request_forms/gui_pump.h"
#include "support/http_test_server.h"
#include "support/local_forum_process.h"
#include "support/temp_dir.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/frame.h>
#include <wx/numdlg.h>
#include <wx/spinctrl.h>
#include <wx/timer.h>

#include <fstream>
#include <thread>

#include <unistd.h>

#include "platform/accessibility.h"

namespace {

using guitest::DialogAnswerer;
using guitest::PumpUntil;
using namespace std::chrono_literals;

wxString U8(const char* s) { return wxString::FromUTF8(s); }

// Answers the toolkit's file choosers in turn with the given paths (an
// empty path cancels), recording their titles. A chooser selects a file
// only once its folder has loaded, so the answer waits for that.
class FileChooserAnswerer {
public:
    explicit FileChooserAnswerer(std::vector<std::string> paths) : paths_(std::move(paths)) {
        source_ = g_timeout_add(20, &FileChooserAnswerer::Poll, this);
    }
    ~FileChooserAnswerer() { g_source_remove(source_); }
    const std::vector<std::string>& Titles() const { return titles_; }

private:
    static gboolean Poll(gpointer data) {
        auto* self = static_cast<FileChooserAnswerer*>(data);
        GList* windows = gtk_window_list_toplevels();
        for (GList* it = windows; it; it = it->next) {
            GtkWidget* widget = GTK_WIDGET(it->data);
            if (!GTK_IS_FILE_CHOOSER_DIALOG(widget) || !gtk_widget_get_visible(widget)) continue;
            if (self->next_ >= self->paths_.size()) break;
            GtkFileChooser* chooser = GTK_FILE_CHOOSER(widget);
            const std::string& path = self->paths_[self->next_];
            if (g_object_get_data(G_OBJECT(widget), "asked") == nullptr) {
                g_object_set_data(G_OBJECT(widget), "asked", self);
                const char* title = gtk_window_get_title(GTK_WINDOW(widget));
                self->titles_.push_back(title ? title : "");
                if (!path.empty()) gtk_file_chooser_set_filename(chooser, path.c_str());
            }
            gchar* chosen = gtk_file_chooser_get_filename(chooser);
            const bool ready = path.empty() || (chosen && path == chosen);
            g_free(chosen);
            if (ready) {
                ++self->next_;
                gtk_dialog_response(GTK_DIALOG(widget), path.empty() ? GTK_RESPONSE_CANCEL : GTK_RESPONSE_ACCEPT);
            }
            break;
        }
        g_list_free(windows);
        return G_SOURCE_CONTINUE;
    }
    std::vector<std::string> paths_;
    size_t next_ = 0;
    std::vector<std::string> titles_;
    guint source_ = 0;
};

// Answers the next modal number prompt: types `value` into its box and
// presses "确定", recording the box's accessible name.
class NumberAnswerer {
public:
    explicit NumberAnswerer(int value) : value_(value) {
        source_ = g_timeout_add(20, &NumberAnswerer::Poll, this);
    }
    ~NumberAnswerer() { g_source_remove(source_); }
    const std::string& BoxName() const { return boxName_; }
    const wxString& OkLabel() const { return okLabel_; }

private:
    static gboolean Poll(gpointer data);
    int value_;
    guint source_ = 0;
    std::string boxName_;
    wxString okLabel_;
};

std::string AccessibleName(wxWindow* control) {
    AtkObject* acc = gtk_widget_get_accessible(control->GetConnectWidget());
    const char* name = acc ? atk_object_get_name(acc) : nullptr;
    return name ? name : "";
}

gboolean NumberAnswerer::Poll(gpointer data) {
    auto* self = static_cast<NumberAnswerer*>(data);
    for (wxWindow* window : wxTopLevelWindows) {
        auto* dialog = dynamic_cast<wxNumberEntryDialog*>(window);
        if (!dialog || !dialog->IsModal()) continue;
        for (wxWindow* child : dialog->GetChildren()) {
            if (auto* box = dynamic_cast<wxSpinCtrl*>(child)) {
                self->boxName_ = AccessibleName(box);
                box->SetValue(self->value_);
            }
        }
        self->okLabel_ = dialog->FindWindow(wxID_OK)->GetLabel();
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        dialog->GetEventHandler()->ProcessEvent(ok);
        break;
    }
    return G_SOURCE_CONTINUE;
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

    // A number out of its range is refused, not silently clamped.
    {
        NumberAnswerer type(100001);
        DialogAnswerer refuse(GTK_RESPONSE_OK);
        Command(kRewardPoint);
        EXPECT_EQ(type.BoxName(), "悬赏分");
        EXPECT_EQ(type.OkLabel(), U8("确定"));
        ASSERT_EQ(refuse.Seen().size(), 1u);
        EXPECT_EQ(refuse.Seen()[0].title, "设置悬赏分");
        EXPECT_EQ(refuse.Seen()[0].text, "请输入 0 到 100000 之间的整数。");
    }
    EXPECT_EQ(dialog_->Model().Values().rewardPoint, 0);
    {
        NumberAnswerer type(300);
        Command(kRewardPoint);
    }
    EXPECT_EQ(dialog_->Model().Values().rewardPoint, 300);
    EXPECT_EQ(Announced(), "悬赏分已设为 300。");

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

TEST_F(ComposerTest, AVideoIsAddedOnlyWithTheCoverQuestionAnswered) {
    using namespace composer_menu;
    const Session member = LogIn(Forum(), qtest::LocalForumProcess::kUserMobile,
                                 qtest::LocalForumProcess::kUserPassword);
    ASSERT_FALSE(member.token.empty());
    qtest::TempDir folder;
    auto file = [&](const char* name, size_t size) { return folder.write(name, std::string(size, 'q')); };
    const std::string song = file("SONG.MP3", 300000), clip = file("clip.mp4", 2000), cover = file("cover.png", 100);
    const std::string huge = folder.path() + "/huge.png";
    std::ofstream(huge, std::ios::binary).close();
    ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kMaxUploadBytes + 1)), 0);

    // The status line the upload takes over and gives back.
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("main"));
    a11y::CreateAccessibleStatusBar(frame, 1);
    frame->SetStatusText(U8("就绪"), 0);
    wxTheApp->SetTopWindow(frame);
    Open(Forum(), member, Forum().GetSections().sections);

    {
        FileChooserAnswerer choose({song});
        guitest::TextDialogAnswerer name(U8(" 歌 "), wxID_OK);
        DialogAnswerer notice(GTK_RESPONSE_OK);
        Command(kInsertAudio);
        EXPECT_EQ(choose.Titles(), std::vector<std::string>{"选择音频"});
        EXPECT_EQ(name.Caption(), U8("选择音频"));
        ASSERT_EQ(notice.Seen().size(), 1u);
        EXPECT_EQ(notice.Seen()[0].text, "歌 已加入发帖内容。");
    }
    ASSERT_EQ(dialog_->Model().Values().audioList.size(), 1u);
    const AttachmentEntry& audio = dialog_->Model().Values().audioList[0];
    EXPECT_GT(audio.fileId, 0);
    EXPECT_FALSE(audio.url.empty());
    EXPECT_EQ(audio.name, U8("歌"));
    EXPECT_EQ(audio.localPath, wxString::FromUTF8(song));
    EXPECT_EQ(Announced(), "正在上传：100%");
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), U8("就绪"));
    EXPECT_NE(dialog_->SummaryBox()->GetValue().Find(wxString::Format(wxS("fileId=%d "), audio.fileId) + U8("歌")),
              wxNOT_FOUND);

    // Leaving the cover question adds nothing, and says nothing.
    {
        FileChooserAnswerer choose({clip});
        guitest::TextDialogAnswerer name(U8("片一"), wxID_OK);
        DialogAnswerer answer(GTK_RESPONSE_CANCEL);
        Command(kInsertVideo);
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].title, "视频封面");
        EXPECT_EQ(answer.Seen()[0].text, "是否为视频上传封面图片？不上传则封面文件ID为 0。");
        EXPECT_EQ(answer.Seen()[0].defaultResponse, GTK_RESPONSE_YES);
        const std::vector<std::pair<int, std::string>> buttons{
            {GTK_RESPONSE_CANCEL, "取消"}, {GTK_RESPONSE_YES, "上传封面"}, {GTK_RESPONSE_NO, "不上传"}};
        EXPECT_EQ(answer.Seen()[0].buttons, buttons);
        EXPECT_EQ(answer.Seen()[0].accessibleName, "视频封面");
    }
    // A cover that cannot go up says why; the video is not added either.
    {
        FileChooserAnswerer choose({clip, huge});
        guitest::TextDialogAnswerer name(U8("片二"), wxID_OK);
        DialogAnswerer answer(GTK_RESPONSE_YES);
        Command(kInsertVideo);
        EXPECT_EQ(choose.Titles(), (std::vector<std::string>{"选择视频", "选择视频封面"}));
        ASSERT_EQ(answer.Seen().size(), 2u);
        EXPECT_EQ(answer.Seen()[1].title, "封面上传失败");
        EXPECT_EQ(answer.Seen()[1].text, "当前版本暂不支持上传超过 64MB 的单个文件。");
    }
    EXPECT_TRUE(dialog_->Model().Values().videoList.empty());
    // "不上传" adds the video with cover 0.
    {
        FileChooserAnswerer choose({clip});
        guitest::TextDialogAnswerer name(U8("片二"), wxID_OK);
        DialogAnswerer answer(GTK_RESPONSE_NO);
        Command(kInsertVideo);
        EXPECT_EQ(choose.Titles(), std::vector<std::string>{"选择视频"});
        ASSERT_EQ(answer.Seen().size(), 2u);
        EXPECT_EQ(answer.Seen()[1].text, "片二 已加入发帖内容。");
    }
    // A cover that goes up is kept with the video.
    {
        FileChooserAnswerer choose({clip, cover});
        guitest::TextDialogAnswerer name(U8("片三"), wxID_OK);
        DialogAnswerer answer(GTK_RESPONSE_YES);
        Command(kInsertVideo);
        ASSERT_EQ(answer.Seen().size(), 2u);
        EXPECT_EQ(answer.Seen()[1].text, "片三 已加入发帖内容。");
    }
    const std::vector<AttachmentEntry>& videos = dialog_->Model().Values().videoList;
    ASSERT_EQ(videos.size(), 2u);
    EXPECT_EQ(videos[0].coverId, 0);
    EXPECT_GT(videos[0].fileId, 0);
    EXPECT_GT(videos[1].coverId, 0);
    EXPECT_NE(videos[1].coverId, videos[1].fileId);
    const wxString summary = dialog_->SummaryBox()->GetValue();
    const wxString listed = wxString::Format(U8("视频：2 个\r\n  1. fileId=%d 封面=0 片二\r\n  2. fileId=%d 封面=%d 片三\r\n"),
                                             videos[0].fileId, videos[1].fileId, videos[1].coverId);
    EXPECT_NE(summary.Find(listed), wxNOT_FOUND) << summary.utf8_string();
    // A chooser left without a file uploads nothing.
    {
        FileChooserAnswerer choose({""});
        Command(kInsertFile);
        EXPECT_EQ(choose.Titles(), std::vector<std::string>{"选择附件"});
    }
    EXPECT_TRUE(dialog_->Model().Values().fileList.empty());
    EXPECT_TRUE(dialog_->SubmitButton()->IsEnabled());
    EXPECT_TRUE(dialog_->MenuButtons()[0]->IsEnabled());
    wxTheApp->SetTopWindow(nullptr);
    frame->Destroy();
}

TEST_F(ComposerTest, TheStatusLineFollowsTheBytesFromTheUploadThread) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("main"));
    a11y::CreateAccessibleStatusBar(frame, 1);
    frame->SetStatusText(U8("就绪"), 0);
    frame->Show();
    wxTheApp->SetTopWindow(frame);
    Open(Forum(), {}, Forum().GetSections().sections);
    auto status = [frame] { return frame->GetStatusBar()->GetStatusText(0); };
    {
        UploadStatusLine line(dialog_->SummaryBox());
        EXPECT_EQ(status(), U8("正在上传：0%"));
        EXPECT_EQ(Announced(), "正在上传：0%");
        const UploadProgress progress = line.Progress();
        for (const auto& [sent, said] : std::vector<std::pair<uint64_t, const char*>>{
                 {100, "正在上传：0%"}, {600, "正在上传：50%"}, {700, "正在上传：50%"}, {800, "正在上传：75%"}}) {
            std::thread([&progress, sent = sent] { progress(sent, 1000); }).join();
            const wxString expected = UploadProgressText::StatusText(static_cast<int>(sent / 10));
            EXPECT_TRUE(PumpUntil([&] { return status() == expected; }, 3s)) << status().utf8_string();
            EXPECT_EQ(Announced(), said) << sent;
        }
        std::thread([&progress] { progress(1000, 1000); }).join();
    }
    EXPECT_EQ(Announced(), "正在上传：100%");
    EXPECT_EQ(status(), U8("就绪"));
    EXPECT_EQ(AccessibleName(frame->GetStatusBar()), "就绪");
    wxTheApp->SetTopWindow(nullptr);
    frame->Destroy();
}

}  // namespace

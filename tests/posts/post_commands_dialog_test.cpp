// The "帖子操作" commands in the real post detail dialog against the real
// local forum: a manager's switch and move, a member's report and message,
// a lost login, and the names screen readers give the prompts.
#include "posts/post_detail_dialog.h"

#include "posts/post_composer_dialog.h"

#include "api/api_client.h"
#include "app/gtk_keys.h"
#include "request_forms/gui_pump.h"
#include "support/forum_login.h"
#include "support/local_forum_process.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/choicdlg.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>

#include <functional>
#include <memory>

namespace {

using guitest::DialogAnswerer;
using qtest::LocalForumProcess;
using namespace std::chrono_literals;

std::string U8(const wxString& s) { return std::string(s.utf8_str()); }

std::string FieldName(wxWindow* dialog) {
    for (wxWindow* child : dialog->GetChildren()) {
        if (child->IsKindOf(wxCLASSINFO(wxTextCtrl)) || child->IsKindOf(wxCLASSINFO(wxListBox))) {
            const char* name = atk_object_get_name(gtk_widget_get_accessible(child->GetConnectWidget()));
            return name ? name : "";
        }
    }
    return "(no field)";
}

// Acts on the next modal dialog of type D while its own loop runs.
template <class D>
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(D&)> act) : act_(std::move(act)) {
        source_ = g_timeout_add(20, &ModalAnswerer::Poll, this);
    }
    ~ModalAnswerer() { g_source_remove(source_); }
    int Answered() const { return answered_; }
    const std::string& FieldNameSeen() const { return field_; }

private:
    static gboolean Poll(gpointer data) {
        auto* self = static_cast<ModalAnswerer*>(data);
        for (wxWindow* window : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<D*>(window);
            if (dialog == nullptr || !dialog->IsModal()) continue;
            self->field_ = FieldName(dialog);
            ++self->answered_;
            self->act_(*dialog);
            break;
        }
        return G_SOURCE_CONTINUE;
    }
    std::function<void(D&)> act_;
    guint source_ = 0;
    int answered_ = 0;
    std::string field_;
};

ModalAnswerer<wxTextEntryDialog> TypeIntoPrompt(const char* text) {
    return ModalAnswerer<wxTextEntryDialog>([text](wxTextEntryDialog& d) {
        d.SetValue(wxString::FromUTF8(text));
        d.EndModal(wxID_OK);
    });
}

std::vector<std::string> Texts(const DialogAnswerer& boxes) {
    std::vector<std::string> out;
    for (const auto& seen : boxes.Seen()) out.push_back(seen.title + "|" + seen.text);
    return out;
}

class PostCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { forum_ = new LocalForumProcess({"--no-media"}); }
    static void TearDownTestSuite() {
        delete forum_;
        forum_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(forum_->ok()) << forum_->error();
        api_ = std::make_unique<ApiClient>(ServerEndpoint{wxString::FromUTF8(forum_->host()), forum_->port()});
        const SectionList list = api_->GetSections();
        ASSERT_TRUE(list.ok);
        sections_ = list.sections;
    }
    void TearDown() override {
        if (dialog_) dialog_->Destroy();
        qtest::Settle();
    }

    qtest::ForumSession Login(const char* mobile, const char* password) {
        return qtest::LoginRaw(*api_, mobile, password);
    }
    int32_t PostOfSection(int32_t section, size_t index) {
        const PostListPage page = api_->GetSectionPosts(section, 1, 20);
        EXPECT_GT(page.items.size(), index);
        return page.items.size() > index ? page.items[index].id : 0;
    }
    PostDetailDialog* Open(const qtest::ForumSession& s, PostDetail post, LoginCallback login = {}) {
        if (dialog_) dialog_->Destroy();
        AudioEngineOptions audio;
        audio.audioOutputs = "null";
        dialog_ = new PostDetailDialog(nullptr, *api_, s.token, s.cookies, sections_, post, std::nullopt,
                                       std::move(login), true, audio);
        dialog_->Show();
        guitest::PumpUntil([&] { return dialog_->IsShownOnScreen(); }, 3s);
        return dialog_;
    }
    PostDetailDialog* Open(const qtest::ForumSession& s, int32_t postId, LoginCallback login = {}) {
        const PostDetailResult r = api_->GetPostWithSession(postId, s.token, s.cookies);
        EXPECT_TRUE(r.ok) << U8(r.error);
        return Open(s, r.detail, std::move(login));
    }
    bool EndedWith(int code) const { return !dialog_->IsShown() && dialog_->GetReturnCode() == code; }

    static LocalForumProcess* forum_;
    std::unique_ptr<ApiClient> api_;
    std::vector<SectionInfo> sections_;
    PostDetailDialog* dialog_ = nullptr;
};

LocalForumProcess* PostCommandsTest::forum_ = nullptr;

TEST_F(PostCommandsTest, ManagerSetsEssenceThenMovesThePostAndTheListsShowIt) {
    const auto manager = Login(LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword);
    ASSERT_TRUE(manager.ok());
    const int32_t id = PostOfSection(1, 6);
    Open(manager, id);
    dialog_->Commands().Refresh();
    ASSERT_TRUE(dialog_->ManagerFlag());
    EXPECT_EQ(dialog_->Commands().MenuItems().size(), 15u);  // fourteen items and the separator
    {
        DialogAnswerer boxes(GTK_RESPONSE_OK);
        dialog_->Commands().Run(postcmd::kEssence);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"提示|已设为精华。"}));
    }
    EXPECT_TRUE(EndedWith(RESULT_POST_CHANGED));
    bool listed = false;
    for (const PostSummary& s : api_->GetSectionPosts(1, 1, 20).items)
        if (s.id == id) listed = s.essence;
    EXPECT_TRUE(listed) << "the section list shows the post as featured";

    Open(manager, id);
    dialog_->Commands().Refresh();
    EXPECT_EQ(U8(dialog_->Commands().MenuItems()[8].label), "取消精华");
    const int target = SectionIndex(sections_, 2);
    int preselected = -2;
    ModalAnswerer<wxSingleChoiceDialog> choose([&](wxSingleChoiceDialog& d) {
        preselected = d.GetSelection();
        d.SetSelection(target);
        d.EndModal(wxID_OK);
    });
    DialogAnswerer boxes(GTK_RESPONSE_OK);
    dialog_->Commands().Run(postcmd::kMove);
    EXPECT_EQ(choose.Answered(), 1);
    EXPECT_EQ(preselected, SectionIndex(sections_, 1));
    EXPECT_EQ(choose.FieldNameSeen(), "请选择目标版块。");
    EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"提示|帖子移动成功。"}));
    EXPECT_TRUE(EndedWith(RESULT_POST_CHANGED));
    bool moved = false;
    for (const PostSummary& s : api_->GetSectionPosts(2, 1, 20).items) moved = moved || s.id == id;
    EXPECT_TRUE(moved) << "the post is found in its new section";
}

TEST_F(PostCommandsTest, MemberReportsAndMessagesWithTrimmedTextAndNamedPrompts) {
    const auto user = Login(LocalForumProcess::kUserMobile, LocalForumProcess::kUserPassword);
    ASSERT_TRUE(user.ok());
    const int32_t id = PostOfSection(1, 7);
    Open(user, id);
    dialog_->Commands().Refresh();
    EXPECT_FALSE(dialog_->ManagerFlag());
    {
        auto blank = TypeIntoPrompt("   ");
        DialogAnswerer boxes(GTK_RESPONSE_OK);
        dialog_->Commands().Run(postcmd::kReport);
        EXPECT_EQ(blank.FieldNameSeen(), "请输入举报原因。");
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"提示|举报原因不能为空。"}));
    }
    {
        auto reason = TypeIntoPrompt("  重复发帖  ");
        DialogAnswerer boxes(GTK_RESPONSE_OK);
        dialog_->Commands().Run(postcmd::kReport);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"提示|举报已提交。"}));
    }
    {
        auto text = TypeIntoPrompt("你好");
        DialogAnswerer boxes(GTK_RESPONSE_OK);
        dialog_->Commands().Run(postcmd::kMessage);
        EXPECT_EQ(text.FieldNameSeen(), "请输入站内消息内容。");
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"提示|站内消息发送成功。"}));
    }
    EXPECT_TRUE(dialog_->IsShown()) << "reporting and messaging leave the dialog open";

    // No author: nothing is asked or sent.
    PostDetail anonymous = dialog_->Post();
    anonymous.userId = 0;
    Open(user, anonymous);
    {
        auto text = TypeIntoPrompt("你好");
        DialogAnswerer boxes(GTK_RESPONSE_OK);
        dialog_->Commands().Run(postcmd::kMessage);
        EXPECT_EQ(text.Answered(), 0);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"提示|无法确定帖子作者。"}));
    }
    // A refused report shows the server's reason and the debug text.
    PostDetail gone = anonymous;
    gone.id = 987654;
    Open(user, gone);
    auto reason = TypeIntoPrompt("广告");
    DialogAnswerer boxes(GTK_RESPONSE_OK);
    dialog_->Commands().Run(postcmd::kReport);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].title, "操作失败");
    EXPECT_EQ(boxes.Seen()[0].text.rfind("帖子不存在或已被删除。\n\n调试信息：\n路径：/api/complaint", 0), 0u)
        << boxes.Seen()[0].text;
    EXPECT_TRUE(dialog_->IsShown());
}

TEST_F(PostCommandsTest, AuthorEditsThroughTheComposerAndTheDialogReportsTheChange) {
    const auto author = Login(LocalForumProcess::kAuthorMobile, LocalForumProcess::kAuthorPassword);
    ASSERT_TRUE(author.ok());
    int32_t id = 0;
    for (const PostSummary& s : api_->GetSectionPosts(3, 1, 20).items)
        if (!id && api_->GetPostWithSession(s.id, author.token, author.cookies).detail.isOwner) id = s.id;
    ASSERT_NE(id, 0) << "the author owns a post in section 3";
    Open(author, id);
    dialog_->Commands().Refresh();
    EXPECT_FALSE(dialog_->ManagerFlag());
    const auto items = dialog_->Commands().MenuItems();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(U8(items[4].label), "修改");
    const wxString title = dialog_->Post().title + wxString::FromUTF8("（已修订）");
    ModalAnswerer<PostComposerDialog> edit([&](PostComposerDialog& d) {
        d.TitleBox()->SetValue(title);
        d.Publish();
    });
    DialogAnswerer boxes(GTK_RESPONSE_OK);
    dialog_->Commands().Run(postcmd::kEdit);
    EXPECT_EQ(edit.Answered(), 1);
    EXPECT_TRUE(EndedWith(RESULT_POST_CHANGED));
    EXPECT_EQ(U8(api_->GetPost(id).detail.title), U8(title));
}

TEST_F(PostCommandsTest, LostLoginAsksTheOpenerAndSaysToReopenTheMenu) {
    const auto manager = Login(LocalForumProcess::kManagerMobile, LocalForumProcess::kManagerPassword);
    ASSERT_TRUE(manager.ok());
    const int32_t id = PostOfSection(1, 8);
    const PostDetail post = api_->GetPost(id).detail;
    int asked = 0;
    bool giveLogin = true;
    auto login = [&](wxString& token, wxString& cookies) {
        ++asked;
        EXPECT_TRUE(token.empty() && cookies.empty()) << "the lost session is cleared first";
        if (!giveLogin) return false;
        token = manager.token;
        cookies = manager.cookies;
        return true;
    };
    Open(qtest::ForumSession{wxS("expired-token"), wxString()}, post, login);
    {
        DialogAnswerer boxes(GTK_RESPONSE_OK);
        dialog_->Commands().Run(postcmd::kLock);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"提示|请重新打开帖子操作菜单。"}));
    }
    EXPECT_FALSE(api_->GetPost(id).detail.lock) << "nothing was sent";
    dialog_->Commands().Refresh();  // the menu opened again, with the new login
    EXPECT_TRUE(dialog_->ManagerFlag());
    {
        DialogAnswerer boxes(GTK_RESPONSE_OK);
        dialog_->Commands().Run(postcmd::kLock);
        EXPECT_EQ(Texts(boxes), (std::vector<std::string>{"提示|帖子已锁定。"}));
    }
    EXPECT_TRUE(api_->GetPost(id).detail.replyForbidden != 0);

    // A user who does not log in again ends the command without a box.
    giveLogin = false;
    Open(qtest::ForumSession{wxS("expired-token"), wxString()}, post, login);
    DialogAnswerer boxes(GTK_RESPONSE_OK);
    dialog_->Commands().Run(postcmd::kReport);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_TRUE(dialog_->IsShown());
}

}  // namespace

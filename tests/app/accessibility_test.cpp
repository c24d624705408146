// The accessibility layer on its own windows: announcements and the
// status bar of a window that is not the main window.
#include "app/gtk_keys.h"
#include "platform/accessibility.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace {

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, wxS("a11y"), wxDefaultPosition, wxSize(300, 200));
        panel = new wxPanel(frame);
        box = new wxTextCtrl(panel, wxID_ANY);
        frame->Show();
        qtest::Settle();
    }
    void TearDown() override {
        frame->Destroy();
        qtest::Settle();
    }
    wxFrame* frame;
    wxPanel* panel;
    wxTextCtrl* box;
};

struct Seen {
    int showing = 0;
    std::string name;
};

void OnStateChange(AtkObject* object, gchar* state, gboolean value, gpointer data) {
    auto* seen = static_cast<Seen*>(data);
    if (std::string(state) == "showing" && value) {
        ++seen->showing;
        seen->name = atk_object_get_name(object);
    }
}

void OnAnnouncement(AtkObject*, gchar* text, gpointer data) {
    *static_cast<std::string*>(data) = text;
}

TEST_F(AccessibilityTest, AnnounceShowsANamedNotification) {
    // The standard signal goes out on the window.
    std::string announced;
    AtkObject* window = gtk_widget_get_accessible(frame->GetHandle());
    g_signal_connect(window, "announcement", G_CALLBACK(OnAnnouncement), &announced);
    a11y::Announce(box, wxString::FromUTF8("已切换到输出设备：默认设备"));
    wxWindow* announcer = wxWindow::FindWindowByName(wxS("quillery-announcer"), frame);
    g_signal_handlers_disconnect_by_data(window, &announced);
    EXPECT_EQ(announced, "已切换到输出设备：默认设备");
    ASSERT_NE(announcer, nullptr);
    // Never a second direct child of the frame, which would stop the frame
    // from stretching its only panel.
    EXPECT_EQ(announcer->GetParent(), box->GetParent());
    AtkObject* object = gtk_widget_get_accessible(announcer->GetHandle());
    EXPECT_EQ(atk_object_get_role(object), ATK_ROLE_NOTIFICATION);
    EXPECT_STREQ(atk_object_get_name(object), "已切换到输出设备：默认设备");

    // Each announcement makes the notification appear again, also with the
    // same text, and reuses the one notification object.
    Seen seen;
    g_signal_connect(object, "state-change", G_CALLBACK(OnStateChange), &seen);
    a11y::Announce(frame, wxString::FromUTF8("音量 50%"));
    a11y::Announce(panel, wxString::FromUTF8("音量 50%"));
    EXPECT_EQ(seen.showing, 2);
    EXPECT_EQ(seen.name, "音量 50%");
    EXPECT_EQ(wxWindow::FindWindowByName(wxS("quillery-announcer"), frame), announcer);
    g_signal_handlers_disconnect_by_data(object, &seen);
}

TEST_F(AccessibilityTest, NamesOnPlainTextBoxes) {
    a11y::SetAccessibleName(box, wxString::FromUTF8("关键词"));
    a11y::SetAccessibleDescription(box, wxString::FromUTF8("输入要搜索的关键词，回车开始搜索。"));
    AtkObject* object = gtk_widget_get_accessible(box->GetConnectWidget());
    EXPECT_STREQ(atk_object_get_name(object), "关键词");
    EXPECT_STREQ(atk_object_get_description(object), "输入要搜索的关键词，回车开始搜索。");
    // Controls without a combo arrow are left alone.
    a11y::RemoveSilentTabStops(box);
    EXPECT_TRUE(gtk_widget_get_can_focus(box->GetConnectWidget()));
}

TEST_F(AccessibilityTest, StatusBarOfAnyFrame) {
    a11y::AccessibleStatusBar* bar = a11y::CreateAccessibleStatusBar(frame, 2);
    EXPECT_EQ(frame->GetStatusBar(), bar);
    EXPECT_EQ(bar->GetFieldsCount(), 2);
    frame->SetStatusText(wxString::FromUTF8("第一栏"), 0);
    frame->SetStatusText(wxString::FromUTF8("第二栏"), 1);
    // Only field 0 is the spoken status.
    EXPECT_STREQ(atk_object_get_name(gtk_widget_get_accessible(bar->GetHandle())), "第一栏");
}

// GTK alone ends the last run of a text field at the character count taken
// as a byte index: "澄川论坛" read as "澄川". Every field gets whole runs.
TEST_F(AccessibilityTest, TextFieldsReportOneRunOverTheirWholeText) {
    a11y::SetAccessibleName(box, wxString::FromUTF8("关键词"));  // installs the rules
    AtkText* text = ATK_TEXT(gtk_widget_get_accessible(box->GetConnectWidget()));
    for (const char* value : {"澄川论坛", "abc", "NVDA 与 Orca 快捷键", ""}) {
        box->ChangeValue(wxString::FromUTF8(value));
        const gint count = atk_text_get_character_count(text);
        EXPECT_EQ(count, static_cast<gint>(g_utf8_strlen(value, -1)));
        for (gint offset = 0; offset <= count; ++offset) {
            gint start = -1;
            gint end = -1;
            atk_attribute_set_free(atk_text_get_run_attributes(text, offset, &start, &end));
            EXPECT_EQ(start, 0) << value << " at " << offset;
            EXPECT_EQ(end, count) << value << " at " << offset;
        }
    }
}

// Every wxDialog, also those no window of ours builds itself (standard
// dialogs such as the keyword prompt), is presented as a dialog; frames stay
// frames.
TEST_F(AccessibilityTest, DialogsArePresentedAsDialogs) {
    a11y::SetAccessibleName(box, wxString::FromUTF8("关键词"));  // installs the rules
    wxDialog dialog(frame, wxID_ANY, wxString::FromUTF8("搜索帖子"));
    dialog.Show();
    qtest::Settle();
    EXPECT_EQ(atk_object_get_role(gtk_widget_get_accessible(dialog.GetHandle())), ATK_ROLE_DIALOG);
    EXPECT_EQ(atk_object_get_role(gtk_widget_get_accessible(frame->GetHandle())), ATK_ROLE_FRAME);
    dialog.Hide();
}

}  // namespace

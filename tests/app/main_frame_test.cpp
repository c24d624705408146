// The main window built for real under Xvfb: its controls, what screen
// readers see of them, and its keys going through GTK's event path.
#include "app/gtk_keys.h"
#include "app/main_frame.h"
#include "app/quillery_app.h"
#include "app/ready_signal.h"

#include <chrono>
#include "app/main_ids.h"
#include "request_forms/gui_pump.h"
#include "support/forum_profile.h"
#include "support/http_test_server.h"
#include "support/temp_dir.h"

#include <atk/atk.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/accel.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/weakref.h>

#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

const char* const kHelpStatus = "Alt+1 澄川论坛，Alt+2 本地音乐，F6 切换焦点，退格返回上一层。";

std::string AtkName(GtkWidget* widget) {
    const char* name = atk_object_get_name(gtk_widget_get_accessible(widget));
    return name ? name : "";
}

std::string AtkDescription(GtkWidget* widget) {
    const char* text = atk_object_get_description(gtk_widget_get_accessible(widget));
    return text ? text : "";
}

class MainFrameTest : public ::testing::Test {
protected:
    // The window loads the forum sections at start; these checks look at the
    // shell before anything is loaded, so the server is unreachable and the
    // "获取版块失败" boxes (at start, on Alt+1) are answered.
    qtest::ForumProfile profile{"127.0.0.1", qtest::UnusedLoopbackPort()};
    guitest::DialogAnswerer sectionFailures{GTK_RESPONSE_OK};

    void SetUp() override {
        frame = new MainFrame();
        frame->Show();
        qtest::Settle();
    }
    void TearDown() override {
        if (frame) frame->Destroy();
        qtest::Settle();
    }
    wxString Status() const { return frame->GetStatusBar()->GetStatusText(0); }
    // The control that has the keyboard focus inside this window. Asked of
    // GTK rather than the toolkit's application-wide FindFocus, which is
    // empty whenever another test's window holds the X focus.
    wxWindow* Focus() const {
        GtkWidget* focused = gtk_window_get_focus(GTK_WINDOW(frame->GetHandle()));
        for (wxWindow* w : {static_cast<wxWindow*>(frame->CategoryChoice()),
                            static_cast<wxWindow*>(frame->MainList())}) {
            if (focused && focused == w->GetConnectWidget()) return w;
        }
        return nullptr;
    }

    wxWeakRef<MainFrame> frame;
};

TEST_F(MainFrameTest, ControlsInOrderWithTheirTexts) {
    EXPECT_EQ(frame->GetTitle(), U("澄川论坛"));
    EXPECT_EQ(frame->GetParent(), nullptr);
    EXPECT_EQ(frame->GetWindowStyleFlag() & wxDEFAULT_FRAME_STYLE, wxDEFAULT_FRAME_STYLE);

    auto* panel = dynamic_cast<wxPanel*>(frame->MainList()->GetParent());
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->HasFlag(wxTAB_TRAVERSAL));
    wxSizerItemList& items = panel->GetSizer()->GetChildren();
    ASSERT_EQ(items.size(), 6u);
    auto item = [&](size_t i) { return items[i]; };
    auto* title = dynamic_cast<wxStaticText*>(item(0)->GetWindow());
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetLabel(), U("澄川论坛电脑版"));
    EXPECT_EQ(item(0)->GetBorder(), 16);
    EXPECT_EQ(item(0)->GetFlag() & (wxLEFT | wxRIGHT | wxTOP | wxBOTTOM), wxLEFT | wxRIGHT | wxTOP);
    EXPECT_TRUE(item(1)->IsSpacer());
    EXPECT_EQ(item(1)->GetSize().GetHeight(), 12);
    auto* categoryLabel = dynamic_cast<wxStaticText*>(item(2)->GetWindow());
    ASSERT_NE(categoryLabel, nullptr);
    EXPECT_EQ(categoryLabel->GetLabel(), U("功能分类"));
    EXPECT_EQ(item(3)->GetWindow(), frame->CategoryChoice());
    EXPECT_EQ(item(3)->GetFlag() & (wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM | wxTOP),
              wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM);
    EXPECT_EQ(item(4)->GetWindow(), frame->ListLabel());
    EXPECT_EQ(frame->ListLabel()->GetLabel(), U("功能列表"));
    EXPECT_EQ(item(5)->GetWindow(), frame->MainList());
    EXPECT_EQ(item(5)->GetProportion(), 1);
    EXPECT_EQ(item(5)->GetBorder(), 12);

    wxComboBox* combo = frame->CategoryChoice();
    EXPECT_EQ(combo->GetId(), MainId::Category);
    EXPECT_TRUE(combo->HasFlag(wxCB_READONLY));
    ASSERT_EQ(combo->GetCount(), 2u);
    EXPECT_EQ(combo->GetString(0), U("澄川论坛"));
    EXPECT_EQ(combo->GetString(1), U("本地音乐"));
    EXPECT_EQ(combo->GetSelection(), 0);
    EXPECT_EQ(combo->GetValue(), U("澄川论坛"));
    EXPECT_EQ(combo->GetName(), U("功能分类"));
    EXPECT_EQ(combo->GetHelpText(), U("按上下方向键切换功能分类，回车进入下方功能列表。"));

    wxListBox* list = frame->MainList();
    EXPECT_EQ(list->GetId(), MainId::List);
    EXPECT_EQ(list->GetCount(), 0u);
    EXPECT_EQ(list->GetName(), U("功能列表"));
    EXPECT_EQ(list->GetHelpText(), U("按上下方向键浏览项目，回车进入下一层，退格返回上一层。"));
    EXPECT_EQ(list->GetMinSize(), wxSize(-1, 420));

    EXPECT_EQ(frame->GetStatusBar()->GetFieldsCount(), 1);
    EXPECT_EQ(Status(), U(kHelpStatus));
    EXPECT_EQ(Focus(), list);
}

TEST_F(MainFrameTest, ScreenReadersSeeNamesHelpAndTheStatusBar) {
    struct Expected {
        wxWindow* control;
        std::string name, focusedName, help;
    };
    // The selector's text field is its value: named too, the name would be
    // heard twice on arrival (the combo box's, then the field's).
    for (const Expected& e :
         {Expected{frame->CategoryChoice(), "功能分类", "", "按上下方向键切换功能分类，回车进入下方功能列表。"},
          Expected{frame->MainList(), "功能列表", "功能列表", "按上下方向键浏览项目，回车进入下一层，退格返回上一层。"}}) {
        // The focused widget and the outer one, when they differ.
        ASSERT_NE(e.control->GetConnectWidget(), e.control->GetHandle());
        EXPECT_EQ(AtkName(e.control->GetConnectWidget()), e.focusedName);
        EXPECT_EQ(AtkName(e.control->GetHandle()), e.name);
        EXPECT_EQ(AtkDescription(e.control->GetConnectWidget()), e.help);
        EXPECT_EQ(AtkDescription(e.control->GetHandle()), e.help);
    }
    AtkObject* bar = gtk_widget_get_accessible(frame->GetStatusBar()->GetHandle());
    EXPECT_EQ(atk_object_get_role(bar), ATK_ROLE_STATUSBAR);
    EXPECT_STREQ(atk_object_get_name(bar), kHelpStatus);
    // Every way of changing the text keeps the name in step.
    frame->SetStatusText(U("已自动登录。"));
    EXPECT_STREQ(atk_object_get_name(bar), "已自动登录。");
    frame->GetStatusBar()->PushStatusText(U("正在搜索帖子，请稍候。"));
    EXPECT_STREQ(atk_object_get_name(bar), "正在搜索帖子，请稍候。");
    frame->GetStatusBar()->PopStatusText();
    EXPECT_STREQ(atk_object_get_name(bar), "已自动登录。");
}

struct ArrowButtons {
    int found = 0;
    int focusable = 0;
};

void CollectArrowButtons(GtkWidget* widget, gpointer data) {
    auto* buttons = static_cast<ArrowButtons*>(data);
    if (GTK_IS_TOGGLE_BUTTON(widget)) {
        ++buttons->found;
        if (gtk_widget_get_can_focus(widget)) ++buttons->focusable;
    } else if (GTK_IS_CONTAINER(widget)) {
        gtk_container_forall(GTK_CONTAINER(widget), CollectArrowButtons, data);
    }
}

TEST_F(MainFrameTest, CategoryArrowIsNoTabStop) {
    ArrowButtons buttons;
    gtk_container_forall(GTK_CONTAINER(frame->CategoryChoice()->GetHandle()),
                         CollectArrowButtons, &buttons);
    // The arrow is there (so the check below looked at it) and is no tab stop.
    EXPECT_GE(buttons.found, 1);
    EXPECT_EQ(buttons.focusable, 0);
}

TEST_F(MainFrameTest, AcceleratorTableHasTheSixEntries) {
    wxAcceleratorTable* table = frame->GetAcceleratorTable();
    ASSERT_TRUE(table->IsOk());
    auto command = [&](int code, bool alt, bool ctrl, bool shift) {
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = code;
        key.m_altDown = alt;
        key.m_controlDown = ctrl;
        key.m_shiftDown = shift;
        return table->GetCommand(key);
    };
    EXPECT_EQ(command('1', true, false, false), MainId::ForumCategory);
    EXPECT_EQ(command('2', true, false, false), MainId::MusicCategory);
    EXPECT_EQ(command(WXK_F6, false, false, false), MainId::ToggleFocus);
    EXPECT_EQ(command('S', true, false, false), MainId::FocusCategory);
    EXPECT_EQ(command('L', true, false, false), MainId::FocusList);
    EXPECT_EQ(command('Z', false, true, true), MainId::ToggleWindow);
    EXPECT_EQ(command('Z', false, true, false), -1);
    EXPECT_EQ(command('S', false, false, false), -1);
}

TEST_F(MainFrameTest, FocusKeysMoveBetweenSelectorAndList) {
    frame->MainList()->Append(U("热门帖子"));
    frame->MainList()->Append(U("最新话题"));
    qtest::PressKey(frame, GDK_KEY_s, GDK_MOD1_MASK);
    EXPECT_EQ(Focus(), frame->CategoryChoice());
    qtest::PressKey(frame, GDK_KEY_l, GDK_MOD1_MASK);
    EXPECT_EQ(Focus(), frame->MainList());
    // Focusing the list selects its first row and refreshes the status.
    EXPECT_EQ(frame->MainList()->GetSelection(), 0);
    EXPECT_EQ(Status(), U("正在加载澄川论坛内容。"));
    qtest::PressKey(frame, GDK_KEY_F6);
    EXPECT_EQ(Focus(), frame->CategoryChoice());
    qtest::PressKey(frame, GDK_KEY_F6);
    EXPECT_EQ(Focus(), frame->MainList());
    // Enter in the selector goes to the list.
    qtest::PressKey(frame, GDK_KEY_F6);
    qtest::PressKey(frame, GDK_KEY_Return);
    EXPECT_EQ(Focus(), frame->MainList());
}

TEST_F(MainFrameTest, CategoryKeysSwitchAndFocusTheList) {
    frame->CategoryChoice()->SetFocus();
    qtest::PressKey(frame, GDK_KEY_2, GDK_MOD1_MASK);
    EXPECT_EQ(frame->CategoryChoice()->GetSelection(), 1);
    EXPECT_EQ(frame->ListLabel()->GetLabel(), U("本地音乐"));
    EXPECT_EQ(Focus(), frame->MainList());
    qtest::PressKey(frame, GDK_KEY_1, GDK_MOD1_MASK);
    EXPECT_EQ(frame->CategoryChoice()->GetSelection(), 0);
    EXPECT_EQ(Focus(), frame->MainList());
}

TEST_F(MainFrameTest, CtrlShiftZHidesAndTheHotkeyShowsAgain) {
    qtest::PressKey(frame, GDK_KEY_Z, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    EXPECT_FALSE(frame->IsShown());
    // Hidden, the window only hears the global hotkey.
    frame->OnGlobalHotkey(MainId::HotkeyToggleWindow);
    qtest::Settle();
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(Focus(), frame->MainList());
}

TEST_F(MainFrameTest, LeftAndRightAreSwallowedInBothControls) {
    frame->MainList()->Append(U("一"));
    frame->MainList()->Append(U("二"));
    frame->MainList()->SetSelection(1);
    int listChars = 0, comboChars = 0;
    frame->MainList()->Bind(wxEVT_CHAR, [&](wxKeyEvent& e) { ++listChars; e.Skip(); });
    frame->CategoryChoice()->Bind(wxEVT_CHAR, [&](wxKeyEvent& e) { ++comboChars; e.Skip(); });

    frame->MainList()->SetFocus();
    qtest::PressKey(frame, GDK_KEY_Left);
    qtest::PressKey(frame, GDK_KEY_Right);
    EXPECT_EQ(listChars, 0);
    EXPECT_EQ(frame->MainList()->GetSelection(), 1);
    // Other keys keep their default processing.
    qtest::PressKey(frame, GDK_KEY_Up);
    EXPECT_EQ(listChars, 1);

    frame->CategoryChoice()->SetFocus();
    qtest::PressKey(frame, GDK_KEY_Left);
    qtest::PressKey(frame, GDK_KEY_Right);
    EXPECT_EQ(comboChars, 0);
    EXPECT_EQ(frame->CategoryChoice()->GetSelection(), 0);
}

TEST_F(MainFrameTest, ClosingDestroysTheWindow) {
    frame->Close();
    // The frame is deleted from idle processing, which a loaded machine may
    // reach only after several rounds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (frame && std::chrono::steady_clock::now() < deadline) {
        qtest::Settle();
        wxTheApp->ProcessIdle();
    }
    EXPECT_FALSE(frame);
}

// A settings line the toolkit cannot parse, and no server: the user meets
// the program's own "获取版块失败" box and nothing else, neither at start nor
// while closing; the toolkit's messages are on the standard error stream.
TEST(ToolkitMessages, GoToStandardErrorAndNeverToABox) {
    qtest::ForumProfile profile{"127.0.0.1", qtest::UnusedLoopbackPort()};
    const std::string settings = profile.settingsFolder() + "/settings.ini";
    const std::string text = "a damaged line\n" + profile.settingsText();
    std::ofstream(settings, std::ios::binary | std::ios::trunc) << text;
    qtest::TempDir dir;
    const std::string errFile = dir.file("stderr.txt");
    fflush(stderr);
    const int savedErr = dup(STDERR_FILENO);
    const int errFd = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(errFd, 0);
    dup2(errFd, STDERR_FILENO);
    close(errFd);

    SendToolkitLogToStandardError();
    {
        guitest::DialogAnswerer boxes(GTK_RESPONSE_OK);
        wxWeakRef<MainFrame> frame = new MainFrame();
        frame->Show();
        qtest::Settle();
        frame->Close();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (frame && std::chrono::steady_clock::now() < deadline) {
            qtest::Settle();
            wxTheApp->ProcessIdle();
        }
        wxLog::FlushActive();
        guitest::PumpFor(std::chrono::milliseconds(300));
        ASSERT_FALSE(boxes.Seen().empty());
        for (const guitest::SeenDialog& box : boxes.Seen()) {
            EXPECT_EQ(box.title, "获取版块失败") << box.text;
        }
    }
    fflush(stderr);
    dup2(savedErr, STDERR_FILENO);
    close(savedErr);
    EXPECT_NE(qtest::ReadFile(errFile).find("'=' expected"), std::string::npos) << qtest::ReadFile(errFile);
}

}  // namespace

namespace {

// The start-up benchmark's signal: one line, only to a descriptor named
// plainly and above the standard streams, only once.
TEST(ReadySignal, WritesOneLineOnceToTheNamedDescriptorOnly) {
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_NONBLOCK), 0);
    const auto signalWith = [](const std::string& value) {
        setenv("QUILLERY_READY_FD", value.c_str(), 1);
        SignalFirstViewShown();
        return getenv("QUILLERY_READY_FD") == nullptr;
    };
    char buffer[32];
    for (const std::string& ignored : {std::string(), std::string("abc"), std::string("2"),
                                       std::string("-7"), std::to_string(ends[1]) + "x",
                                       std::string("12345678901")}) {
        SCOPED_TRACE(ignored);
        EXPECT_TRUE(signalWith(ignored)) << "the variable is used up";
        EXPECT_EQ(read(ends[0], buffer, sizeof buffer), -1) << "nothing is written";
        EXPECT_EQ(fcntl(ends[1], F_GETFD), 0) << "the descriptor stays open";
    }
    EXPECT_TRUE(signalWith(std::to_string(ends[1])));
    ASSERT_EQ(read(ends[0], buffer, sizeof buffer), 6);
    EXPECT_EQ(std::string(buffer, 6), "ready\n");
    EXPECT_EQ(fcntl(ends[1], F_GETFD), -1) << "closed after the line";
    SignalFirstViewShown();  // the variable is gone: nothing happens
    EXPECT_EQ(read(ends[0], buffer, sizeof buffer), 0) << "every writer is gone";
    close(ends[0]);
}

}  // namespace

// The thirteen global hotkeys of the real main window and the output-device
// switch. Key grabs are global to an X server, so this binary runs on a
// display of its own; presses come from xdotool (XTEST) as from a keyboard,
// and "another program" is a second X connection made here.
#include "music_ui/music_window_fixture.h"

#include "audio/pulse_sinks.h"
#include "hotkeys/x_rival.h"

#include <atk/atk.h>
#include <gtk/gtk.h>
#include <wx/listbox.h>
#include <wx/statusbr.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef Status  // Xlib's, not the fixture's

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

namespace musicui {
namespace {

void XPress(const std::string& keys) {
    ASSERT_TRUE(qtest::PressWithXdotool(keys)) << keys;
}

using Rival = qtest::XRivalClient;

// The thirteen combinations as X key grabs.
const std::vector<std::pair<KeySym, unsigned>>& Combinations() {
    static const std::vector<std::pair<KeySym, unsigned>> all = [] {
        std::vector<std::pair<KeySym, unsigned>> list;
        for (KeySym key : {XK_i, XK_o, XK_Left, XK_Right, XK_Up, XK_Down, XK_Home, XK_End, XK_Page_Up, XK_Page_Down}) {
            list.emplace_back(key, ControlMask);
        }
        for (KeySym key : {XK_z, XK_Page_Up, XK_Page_Down}) list.emplace_back(key, ControlMask | ShiftMask);
        return list;
    }();
    return all;
}

class HotkeyWindow : public MusicWindowTest {
protected:
    MusicSettings InitialMusic() const override {
        MusicSettings settings = MusicWindowTest::InitialMusic();
        settings.globalHotkeysEnabled = true;
        return settings;
    }
};

TEST_F(HotkeyWindow, AHiddenWindowStillStepsSongsAndTheHotkeyShowsItAgain) {
    OpenWindow();
    EXPECT_EQ(Rows().back(), U("启用全局热键：已启用"));
    EXPECT_TRUE(Status().Contains(U("全局热键已启用。"))) << Status();
    Press(GDK_KEY_Return);  // the playlist

    XPress("ctrl+shift+z");
    ASSERT_TRUE(PumpUntil([&] { return !frame->IsShown(); }));
    XPress("ctrl+Page_Down");
    ASSERT_TRUE(PumpUntil([&] { return Rows().at(0) == U("▶ 第一首 | 播放列表"); })) << Rows().at(0);
    XPress("ctrl+Page_Down");
    ASSERT_TRUE(PumpUntil([&] { return Rows().at(1) == U("▶ 第二首 | 播放列表"); })) << Rows().at(1);
    // Hotkeys stay quiet when there is no next song.
    XPress("ctrl+Page_Down");
    PumpFor(200);
    EXPECT_FALSE(Status().Contains(U("当前没有可切换的下一曲。")));
    EXPECT_FALSE(frame->IsShown());

    XPress("ctrl+shift+z");
    ASSERT_TRUE(PumpUntil([&] { return frame->IsShown(); }));
    EXPECT_EQ(wxWindow::FindFocus(), frame->MainList());
}

TEST_F(HotkeyWindow, TheHotkeyRowFreesAllThirteenAndATakenOneIsNamed) {
    OpenWindow();
    Rival rival;
    EXPECT_FALSE(rival.Grab(XK_Page_Down, ControlMask)) << "held by the window";

    Select(2);
    Press(GDK_KEY_Return);
    EXPECT_EQ(Rows().at(2), U("启用全局热键：已关闭"));
    EXPECT_TRUE(Status().Contains(U("全局热键已关闭。"))) << Status();
    EXPECT_FALSE(LoadMusicSettings(Store()).globalHotkeysEnabled);
    for (const auto& [key, mods] : Combinations()) {
        EXPECT_TRUE(rival.Grab(key, mods)) << "still held: " << key << " " << mods;
        rival.Ungrab(key, mods);
    }

    // Switched on while another program holds one combination: the user
    // is told which one, once, and the other twelve work.
    ASSERT_TRUE(rival.Grab(XK_Page_Down, ControlMask | ShiftMask));
    Select(2);
    Press(GDK_KEY_Return);
    EXPECT_EQ(Rows().at(2), U("启用全局热键：已启用"));
    ASSERT_TRUE(PumpUntil([&] {
        return Status() == U("以下全局热键已被其他程序占用，暂时无法使用：Ctrl+Shift+PageDown。");
    })) << Status();
    EXPECT_TRUE(LoadMusicSettings(Store()).globalHotkeysEnabled);
    EXPECT_FALSE(rival.Grab(XK_Page_Up, ControlMask | ShiftMask));
    rival.Ungrab(XK_Page_Down, ControlMask | ShiftMask);

    // Closing releases them.
    CloseWindow();
    for (const auto& [key, mods] : Combinations()) {
        EXPECT_TRUE(rival.Grab(key, mods)) << "held after close: " << key << " " << mods;
        rival.Ungrab(key, mods);
    }
}

// While a file chooser opened by a hotkey is up, presses the dialog
// hotkeys again, counts the choosers on screen, then cancels every one.
class NestedDialogProbe {
public:
    NestedDialogProbe() { source_ = g_timeout_add(50, &NestedDialogProbe::Tick, this); }
    ~NestedDialogProbe() { g_source_remove(source_); }
    bool Done() const { return stage_ == 2; }
    int MostChoosers() const { return most_; }
    int LateChoosers() const { return late_; }

private:
    static gboolean Tick(gpointer data) {
        auto* self = static_cast<NestedDialogProbe*>(data);
        int open = ChooserAnswer::OpenChoosers();
        self->most_ = std::max(self->most_, open);
        if (self->stage_ == 0 && open > 0) {
            if (std::system("xdotool key ctrl+o ctrl+i") != 0) ADD_FAILURE() << "xdotool failed";
            self->stage_ = 1;
        } else if (self->stage_ == 1 && ++self->ticks_ >= 8) {
            CancelAll();
            self->stage_ = 2;
        } else if (self->stage_ == 2 && open > 0) {
            ++self->late_;  // a dialog queued behind the first one
            CancelAll();
        }
        return G_SOURCE_CONTINUE;
    }
    static void CancelAll() {
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w; w = w->next) {
            if (GTK_IS_FILE_CHOOSER_DIALOG(w->data) && gtk_widget_get_mapped(GTK_WIDGET(w->data))) {
                gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_CANCEL);
            }
        }
        g_list_free(windows);
    }
    guint source_ = 0;
    int stage_ = 0;
    int ticks_ = 0;
    int most_ = 0;
    int late_ = 0;
};

TEST_F(HotkeyWindow, DialogHotkeysWaitWhileOneOfOurDialogsIsOpen) {
    OpenWindow();
    {
        NestedDialogProbe probe;
        XPress("ctrl+o");
        ASSERT_TRUE(PumpUntil([&] { return probe.Done(); }));
        PumpFor(400);
        EXPECT_EQ(probe.MostChoosers(), 1);
        EXPECT_EQ(probe.LateChoosers(), 0);
    }
    // Once it is closed the dialog hotkeys work again.
    ChooserAnswer answer({});
    XPress("ctrl+i");
    ASSERT_TRUE(PumpUntil([&] { return answer.Answered(); }));
    EXPECT_EQ(answer.Title(), "选择音乐文件夹");
}

class DeviceWindow : public MusicWindowTest {
protected:
    void SetUp() override {
        sinks = std::make_unique<qtest::PulseSinks>();
        MusicWindowTest::SetUp();
    }
    void TearDown() override {
        MusicWindowTest::TearDown();
        sinks.reset();
    }
    std::unique_ptr<qtest::PulseSinks> sinks;
};

std::string AtkName(wxWindow* window) {
    if (!window) return "(none)";
    const char* name = atk_object_get_name(gtk_widget_get_accessible(window->GetHandle()));
    return name ? name : "";
}

// The second sink is the system's default: the window names it from the
// start, the song plays there, and the first Ctrl+Shift+PageDown really
// moves the sound (to the first, by wrap-around) and says so once it holds.
TEST_F(DeviceWindow, SwitchingTheOutputIsAnnouncedAndMovesTheSound) {
    if (!sinks->Available()) GTEST_SKIP() << "pulseaudio cannot be started here: two-device switch not tested";
    sinks->SetDefault("b");
    OpenWindow();
    EXPECT_TRUE(Status().Contains(U(" 设备：Beta。"))) << Status();
    Press(GDK_KEY_Return);
    Press(GDK_KEY_Return);  // plays 第一首 on the default device
    ASSERT_TRUE(PumpUntil([&] { return sinks->SinksOfStreams() == "b"; })) << sinks->SinksOfStreams();
    EXPECT_TRUE(Status().Contains(U(" 设备：Beta。"))) << Status();

    Press(GDK_KEY_Page_Down, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    const std::string text = "已切换播放设备：Alpha。";
    EXPECT_EQ(Status(), U(text.c_str()));
    wxStatusBar* bar = frame->GetStatusBar();
    EXPECT_EQ(AtkName(bar), text);
    const char* description = atk_object_get_description(gtk_widget_get_accessible(bar->GetHandle()));
    EXPECT_STREQ(description, text.c_str());
    EXPECT_EQ(AtkName(wxWindow::FindWindowByName("quillery-announcer", frame)), text);
    ASSERT_TRUE(PumpUntil([&] { return sinks->SinksOfStreams() == "a"; })) << sinks->SinksOfStreams();
    // The next status refresh names the new device.
    ASSERT_TRUE(PumpUntil([&] { return Status().Contains(U(" 设备：Alpha。")); })) << Status();

    Press(GDK_KEY_Page_Down, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    EXPECT_EQ(Status(), U("已切换播放设备：Beta。"));
    Press(GDK_KEY_Page_Up, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    EXPECT_EQ(Status(), U("已切换播放设备：Alpha。"));

    // A device that refuses the sound: the failure is announced with the
    // device that plays on, and the sound stays where it was.
    sinks->Suspend("b");
    Press(GDK_KEY_Page_Down, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    const std::string refused = "切换输出设备失败：无法初始化音频驱动。继续使用播放设备：Alpha。";
    EXPECT_EQ(Status(), U(refused.c_str()));
    EXPECT_EQ(AtkName(wxWindow::FindWindowByName("quillery-announcer", frame)), refused);
    EXPECT_TRUE(PumpUntil([&] { return sinks->SinksOfStreams() == "a"; })) << sinks->SinksOfStreams();
}

}  // namespace
}  // namespace musicui

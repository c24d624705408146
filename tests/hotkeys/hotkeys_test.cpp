#include "music/music_commands.h"
#include "music/music_hotkey_binding.h"
#include "platform/hotkeys.h"

#include "hotkeys/x_rival.h"

#include <gtest/gtest.h>
#include <glib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// Runs the GTK main loop (where wx's events come from too) until done()
// holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int ms = 3000)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        if (done()) return true;
        g_usleep(5000);
    }
    return done();
}

void Pump(int ms)
{
    PumpUntil([] { return false; }, ms);
}

// Presses keys through XTEST, as a person at the keyboard would.
void Press(const std::string& keys)
{
    ASSERT_TRUE(qtest::PressWithXdotool(keys)) << keys;
}

using RivalClient = qtest::XRivalClient;

TEST(GlobalHotkeysTest, APressReachesTheCallbackOnTheGuiThread)
{
    ASSERT_TRUE(GlobalHotkeys::Available());
    GlobalHotkeys hotkeys;
    int calls = 0;
    GThread* caller = nullptr;
    ASSERT_TRUE(hotkeys.Register("<Ctrl><Shift>z", [&] {
        ++calls;
        caller = g_thread_self();
    }));
    EXPECT_TRUE(hotkeys.IsRegistered("<Ctrl><Shift>z"));
    Press("ctrl+shift+z");
    EXPECT_TRUE(PumpUntil([&] { return calls == 1; }));
    EXPECT_EQ(caller, g_thread_self());
    Press("ctrl+z");  // another combination
    Pump(200);
    EXPECT_EQ(calls, 1);
    // The same combination twice in one program is refused.
    EXPECT_FALSE(hotkeys.Register("<Ctrl><Shift>z", [] {}));
    EXPECT_FALSE(hotkeys.Register("<Ctrl>NoSuchKey", [] {}));
    EXPECT_TRUE(hotkeys.Unregister("<Ctrl><Shift>z"));
    EXPECT_FALSE(hotkeys.Unregister("<Ctrl><Shift>z"));
    Press("ctrl+shift+z");
    Pump(200);
    EXPECT_EQ(calls, 1);
}

TEST(GlobalHotkeysTest, ACombinationHeldByAnotherProgramIsReportedAndFreedLater)
{
    RivalClient rival;
    ASSERT_TRUE(rival.Ok());
    const unsigned mods = ControlMask | ShiftMask;
    ASSERT_TRUE(rival.Grab(XK_Page_Down, mods));

    GlobalHotkeys hotkeys;
    EXPECT_FALSE(hotkeys.Register("<Ctrl><Shift>Page_Down", [] {}));
    EXPECT_FALSE(hotkeys.IsRegistered("<Ctrl><Shift>Page_Down"));
    // The refused registration holds none of the combination's lock-key forms.
    EXPECT_TRUE(rival.Grab(XK_Page_Down, mods | Mod2Mask));
    EXPECT_TRUE(rival.Grab(XK_Page_Down, mods | LockMask));
    rival.Ungrab(XK_Page_Down, mods | Mod2Mask);
    rival.Ungrab(XK_Page_Down, mods | LockMask);

    rival.Ungrab(XK_Page_Down, mods);
    int calls = 0;
    ASSERT_TRUE(hotkeys.Register("<Ctrl><Shift>Page_Down", [&] { ++calls; }));
    EXPECT_FALSE(rival.Grab(XK_Page_Down, mods)) << "now this program holds it";
    Press("ctrl+shift+Page_Down");
    EXPECT_TRUE(PumpUntil([&] { return calls == 1; }));

    ASSERT_TRUE(hotkeys.Unregister("<Ctrl><Shift>Page_Down"));
    EXPECT_TRUE(rival.Grab(XK_Page_Down, mods)) << "unregistering frees it";
    rival.Ungrab(XK_Page_Down, mods);
}

TEST(GlobalHotkeysTest, ACallbackMayReleaseItsOwnCombination)
{
    GlobalHotkeys hotkeys;
    int calls = 0;
    ASSERT_TRUE(hotkeys.Register("<Ctrl>End", [&] {
        ++calls;
        hotkeys.Unregister("<Ctrl>End");
    }));
    Press("ctrl+End");
    EXPECT_TRUE(PumpUntil([&] { return calls == 1; }));
    EXPECT_FALSE(hotkeys.IsRegistered("<Ctrl>End"));
    Press("ctrl+End");
    Pump(200);
    EXPECT_EQ(calls, 1);
}

TEST(MusicHotkeyBindingTest, AllThirteenRegisterAndReachTheirIds)
{
    std::vector<int> ids;
    {
        MusicHotkeyBinding binding([&](int id) { ids.push_back(id); });
        EXPECT_EQ(binding.RegisterAll(), 13);
        EXPECT_EQ(binding.RegisterAll(), 13) << "registering again keeps what is held";
        Press("ctrl+Page_Down");
        Press("ctrl+shift+Page_Up");
        Press("ctrl+i");
        Press("ctrl+shift+z");
        ASSERT_TRUE(PumpUntil([&] { return ids.size() == 4; }));
        EXPECT_EQ(ids, (std::vector<int>{6047, 6048, 6038, 6037}));

        // Disabling frees all thirteen at once.
        binding.UnregisterAll();
        RivalClient rival;
        for (KeySym key : {XK_Left, XK_Right, XK_Up, XK_Down, XK_Home, XK_End, XK_Page_Up, XK_Page_Down, XK_i,
                           XK_o}) {
            EXPECT_TRUE(rival.Grab(key, ControlMask)) << key;
            rival.Ungrab(key, ControlMask);
        }
        for (KeySym key : {XK_z, XK_Page_Up, XK_Page_Down}) {
            EXPECT_TRUE(rival.Grab(key, ControlMask | ShiftMask)) << key;
            rival.Ungrab(key, ControlMask | ShiftMask);
        }
        Press("ctrl+Page_Down");
        Pump(200);
        EXPECT_EQ(ids.size(), 4u);
        EXPECT_EQ(binding.RegisterAll(), 13);
    }
    // The binding's end releases its grabs.
    RivalClient rival;
    EXPECT_TRUE(rival.Grab(XK_Home, ControlMask));
}

TEST(MusicHotkeyBindingTest, ACombinationHeldElsewhereIsTheOnlyOneMissing)
{
    RivalClient rival;
    ASSERT_TRUE(rival.Ok());
    ASSERT_TRUE(rival.Grab(XK_Page_Down, ControlMask));
    MusicHotkeyBinding binding([](int) {});
    EXPECT_EQ(binding.RegisterAll(), 12);
    for (const MusicHotkey& hotkey : MusicHotkeys()) {
        EXPECT_EQ(binding.IsRegistered(hotkey.id), hotkey.id != 6047) << hotkey.id;
    }
    EXPECT_FALSE(binding.IsRegistered(6050));
    rival.Ungrab(XK_Page_Down, ControlMask);
    // Asking again picks up the combination once it is free.
    EXPECT_EQ(binding.RegisterAll(), 13);
    EXPECT_TRUE(binding.IsRegistered(6047));
    binding.UnregisterAll();
    EXPECT_FALSE(binding.IsRegistered(6037));
}

}  // namespace

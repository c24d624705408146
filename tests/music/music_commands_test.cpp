#include "music/music_fixture.h"
#include "music/music_settings.h"

#include <gtest/gtest.h>
#include <wx/defs.h>


namespace {

TEST(MusicCommandsTest, HotkeyTableIdsKeysAndAccelerators)
{
    const auto& table = MusicHotkeys();
    ASSERT_EQ(table.size(), 13u);
    // The combinations the system-wide grab is asked for, in id order.
    const char* const grabs[] = {"<Ctrl><Shift>z", "<Ctrl>i",         "<Ctrl>o",
                                 "<Ctrl>Left",     "<Ctrl>Right",     "<Ctrl>Up",
                                 "<Ctrl>Down",     "<Ctrl>Home",      "<Ctrl>End",
                                 "<Ctrl>Page_Up",  "<Ctrl>Page_Down", "<Ctrl><Shift>Page_Up",
                                 "<Ctrl><Shift>Page_Down"};
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].id, 6037 + static_cast<int>(i));
        EXPECT_EQ(AcceleratorFor(table[i].modifiers, table[i].keyCode), grabs[i]) << table[i].id;
        EXPECT_EQ(FindMusicHotkey(table[i].id), &table[i]);
    }
    EXPECT_EQ(AcceleratorFor(wxMOD_CONTROL | wxMOD_SHIFT, 'Z'), "<Ctrl><Shift>z");
    EXPECT_EQ(AcceleratorFor(wxMOD_CONTROL | wxMOD_SHIFT, WXK_PAGEDOWN), "<Ctrl><Shift>Page_Down");
    EXPECT_EQ(AcceleratorFor(wxMOD_CONTROL, WXK_F5), "");
    EXPECT_EQ(FindMusicHotkey(6036), nullptr);
    EXPECT_EQ(FindMusicHotkey(6050), nullptr);
}

TEST(MusicCommandsTest, InWindowKeysNeedCtrl)
{
    EXPECT_EQ(MusicKeyCommand('i', true, false), MusicCommand::ImportAlbum);
    EXPECT_EQ(MusicKeyCommand('O', true, false), MusicCommand::AddFiles);
    EXPECT_EQ(MusicKeyCommand(WXK_PAGEUP, true, true), MusicCommand::PreviousDevice);
    EXPECT_EQ(MusicKeyCommand(WXK_PAGEUP, true, false), MusicCommand::PreviousSong);
    EXPECT_EQ(MusicKeyCommand(WXK_PAGEDOWN, true, true), MusicCommand::NextDevice);
    EXPECT_EQ(MusicKeyCommand(WXK_HOME, true, false), MusicCommand::PauseOrResume);
    EXPECT_EQ(MusicKeyCommand(WXK_END, true, false), MusicCommand::PlayFromStart);
    EXPECT_FALSE(MusicKeyCommand(WXK_LEFT, false, false));
    EXPECT_FALSE(MusicKeyCommand('Z', true, true)) << "Ctrl+Shift+Z is the window's own accelerator";
    EXPECT_FALSE(MusicKeyCommand(WXK_RETURN, true, false));
}

TEST(MusicCommandsTest, EnterAndBackOnRows)
{
    MusicFixture f(1, {2});
    f.controller->ActivateRow(MusicRow{MusicRowType::Notice, "n", -1, -1});
    EXPECT_TRUE(f.host.cues.empty());
    f.controller->ActivateRow(MusicRow{MusicRowType::Album, "a", 0, -1});
    EXPECT_EQ(f.host.cues, std::vector<wxString>{"jr.wav"});
    EXPECT_EQ(f.library.MusicLevel(), 2);
    EXPECT_EQ(f.library.OpenAlbum(), 0);
    EXPECT_TRUE(f.controller->GoBack());
    EXPECT_EQ(f.host.cues.back(), "fh.wav");
    EXPECT_EQ(f.library.MusicLevel(), 0);
    EXPECT_FALSE(f.controller->GoBack());
    EXPECT_EQ(f.host.cues.size(), 2u) << "nothing to go back to: no cue";

    f.controller->ActivateRow(MusicRow{MusicRowType::Album, "a", 4, -1});
    EXPECT_EQ(f.library.MusicLevel(), 0);
    f.controller->ActivateRow(MusicRow{MusicRowType::Playlist, "p", -1, -1});
    EXPECT_EQ(f.library.MusicLevel(), 1);

    f.controller->ActivateRow(MusicRow{MusicRowType::Song, "s", -1, 0});
    EXPECT_TRUE(f.player.playing);
    f.player.unopenable.push_back(f.PathOf(1, 0));
    f.controller->ActivateRow(MusicRow{MusicRowType::Song, "s", 0, 1});
    EXPECT_EQ(f.host.messages.back(), U("播放失败|打开文件失败：无法打开文件"));
}

TEST(MusicCommandsTest, HotkeysRowTogglesRegistrationAndIsSaved)
{
    MusicFixture f(0, {});
    EXPECT_FALSE(f.controller->HotkeysRegistered());
    f.controller->ActivateRow(MusicRow{MusicRowType::Hotkeys, "h", -1, -1});
    EXPECT_TRUE(f.host.hotkeysHeld);
    EXPECT_TRUE(f.controller->HotkeysRegistered());
    EXPECT_TRUE(LoadMusicSettings(f.store).globalHotkeysEnabled);
    EXPECT_EQ(f.controller->BuildRows().rows[1].text, U("启用全局热键：已启用"));
    f.controller->ActivateRow(MusicRow{MusicRowType::Hotkeys, "h", -1, -1});
    EXPECT_FALSE(f.host.hotkeysHeld);
    EXPECT_FALSE(LoadMusicSettings(f.store).globalHotkeysEnabled);
    EXPECT_TRUE(f.controller->MusicStatusText().Contains(U("全局热键已关闭。")));

    // Enabled in the file: registered at start, released at close.
    MusicSettings s = LoadMusicSettings(f.store);
    s.globalHotkeysEnabled = true;
    SaveMusicSettings(f.store, s);
    f.controller->RebuildLibrary();
    EXPECT_TRUE(f.host.hotkeysHeld);
    f.controller->Shutdown();
    EXPECT_FALSE(f.host.hotkeysHeld);
}

TEST(MusicCommandsTest, PauseResumeAndPlayFromStart)
{
    MusicFixture f(2, {});
    EXPECT_TRUE(f.controller->HandleKey(WXK_HOME, true, false));
    EXPECT_EQ(f.host.LastStatus(), U("当前没有正在播放的歌曲。"));
    f.controller->Execute(MusicCommand::PlayFromStart, CommandOrigin::Window);
    EXPECT_EQ(f.host.LastStatus(), U("当前没有可播放的歌曲。"));
    f.host.selected = MusicRow{MusicRowType::Song, "s", -1, 1};
    f.controller->Execute(MusicCommand::PlayFromStart, CommandOrigin::Hotkey);
    EXPECT_EQ(f.library.CurrentSong(), 1);

    f.controller->Execute(MusicCommand::PauseOrResume, CommandOrigin::Window);
    EXPECT_TRUE(f.player.paused);
    f.controller->Execute(MusicCommand::PauseOrResume, CommandOrigin::Window);
    EXPECT_TRUE(f.player.playing);
    EXPECT_EQ(f.player.calls.back(), "play resume");
    f.player.FinishSong();
    f.host.timerRunning = false;
    f.controller->Execute(MusicCommand::PauseOrResume, CommandOrigin::Window);
    EXPECT_EQ(f.player.calls.back(), "play restart");
    EXPECT_TRUE(f.host.timerRunning);

    f.player.position = 30;
    f.controller->Execute(MusicCommand::PlayFromStart, CommandOrigin::Window);
    EXPECT_EQ(f.player.position, 0);
    EXPECT_EQ(f.library.CurrentSong(), 1) << "the current song wins over the selection";
    f.player.failPlay = true;
    f.controller->Execute(MusicCommand::PlayFromStart, CommandOrigin::Window);
    EXPECT_EQ(f.host.LastStatus(), U("播放失败：句柄无效"));
}

TEST(MusicCommandsTest, SeekingInTheWindowAndByHotkey)
{
    MusicFixture f(1, {});
    f.controller->Execute(MusicCommand::SeekForward, CommandOrigin::Hotkey);
    EXPECT_TRUE(f.host.statuses.empty()) << "hotkeys stay silent without media";
    EXPECT_TRUE(f.controller->HandleKey(WXK_RIGHT, true, false));
    EXPECT_EQ(f.host.LastStatus(), U("当前没有正在播放的歌曲。"));
    ASSERT_TRUE(f.controller->PlaySong(0, -1));
    f.player.length = 100;
    f.controller->HandleKey(WXK_RIGHT, true, false);
    f.controller->HandleKey(WXK_RIGHT, true, false);
    f.controller->HandleKey(WXK_LEFT, true, false);
    EXPECT_EQ(f.player.position, 5);
    EXPECT_TRUE(f.host.LastStatus().StartsWith(U("正在播放：s0 [00:05/01:40]")));
    f.player.failSeek = true;
    f.controller->HandleKey(WXK_LEFT, true, false);
    EXPECT_EQ(f.host.LastStatus(), U("跳转失败：媒体已结束"));
}

TEST(MusicCommandsTest, StepSongMessagesOnlyInTheWindow)
{
    MusicFixture f(0, {});
    f.controller->Execute(MusicCommand::NextSong, CommandOrigin::Hotkey);
    f.controller->Execute(MusicCommand::PreviousSong, CommandOrigin::Hotkey);
    EXPECT_TRUE(f.host.statuses.empty());
    f.controller->HandleKey(WXK_PAGEDOWN, true, false);
    EXPECT_EQ(f.host.LastStatus(), U("当前没有可切换的下一曲。"));
    f.controller->HandleKey(WXK_PAGEUP, true, false);
    EXPECT_EQ(f.host.LastStatus(), U("当前没有可切换的上一曲。"));

    // A hidden window still changes songs by hotkey, and the toggle shows it again.
    MusicFixture g(2, {});
    g.host.shown = false;
    EXPECT_TRUE(g.controller->HandleHotkey(6037));
    EXPECT_FALSE(g.host.windowShown);
    EXPECT_TRUE(g.controller->HandleHotkey(6047));
    EXPECT_EQ(g.library.CurrentSong(), 0);
    EXPECT_TRUE(g.controller->HandleHotkey(6047));
    EXPECT_EQ(g.library.CurrentSong(), 1);
    EXPECT_TRUE(g.controller->HandleHotkey(6037));
    EXPECT_TRUE(g.host.windowShown);
    EXPECT_FALSE(g.controller->HandleHotkey(6036));
}

TEST(MusicCommandsTest, VolumeStepsAreClampedAndRounded)
{
    MusicFixture f(0, {});
    f.controller->HandleKey(WXK_UP, true, false);
    EXPECT_FLOAT_EQ(f.player.volume, 1.0f);
    EXPECT_EQ(f.host.LastStatus(), U("当前音量 100%。"));
    for (int i = 0; i < 3; ++i) f.controller->HandleKey(WXK_DOWN, true, false);
    EXPECT_EQ(f.host.LastStatus(), U("当前音量 85%。"));
    f.player.volume = 0.02f;
    f.controller->Execute(MusicCommand::VolumeDown, CommandOrigin::Hotkey);
    EXPECT_EQ(f.player.volume, 0.0f);
    EXPECT_EQ(f.host.LastStatus(), U("当前音量 0%。"));
    f.player.volume = 0.125f;
    f.controller->StepVolume(0.0);
    EXPECT_EQ(f.host.LastStatus(), U("当前音量 13%。")) << "half rounds up";
    f.player.failVolume = true;
    f.controller->HandleKey(WXK_UP, true, false);
    EXPECT_EQ(f.host.LastStatus(), U("设置音量失败：句柄无效"));
}

TEST(MusicCommandsTest, SwitchingDevicesWrapsAndAnnounces)
{
    MusicFixture f(0, {});
    f.controller->HandleKey(WXK_PAGEDOWN, true, true);
    EXPECT_EQ(f.host.LastStatus(), U("当前没有可用的播放设备。"));

    f.player.devices = {{1, U("内置声卡")}, {3, U("USB 耳机")}};
    f.player.device = 3;  // the second one is in use
    f.controller->HandleKey(WXK_PAGEDOWN, true, true);
    EXPECT_EQ(f.player.calls.back(), "device 1");
    EXPECT_EQ(f.controller->CurrentDevice(), 0);
    EXPECT_EQ(f.host.LastStatus(), U("已切换播放设备：内置声卡。"));
    EXPECT_EQ(f.host.announcements.back(), U("已切换播放设备：内置声卡。"));
    f.controller->HandleKey(WXK_PAGEUP, true, true);
    EXPECT_EQ(f.player.calls.back(), "device 3");

    // The player reports no device of its own: the list position counts.
    f.player.device = -1;
    f.controller->HandleKey(WXK_PAGEUP, true, true);
    EXPECT_EQ(f.player.calls.back(), "device 1");
    // A switch that does not hold is announced as such, with the device
    // the sound stays on.
    f.player.failSwitch = true;
    f.controller->HandleKey(WXK_PAGEUP, true, true);
    const wxString failed = U("切换设备失败：无法初始化音频驱动。继续使用播放设备：内置声卡。");
    EXPECT_EQ(f.host.LastStatus(), failed);
    EXPECT_EQ(f.host.announcements.back(), failed);
    EXPECT_EQ(f.controller->CurrentDevice(), 0);
}

TEST(MusicCommandsTest, ContextMenuAndPlayModeMenu)
{
    MusicFixture f(1, {1});
    EXPECT_TRUE(f.controller->ContextMenu(false).empty());
    EXPECT_TRUE(f.host.cues.empty());
    f.library.SetPlayMode(PlayRepeatList);
    f.host.selected = MusicRow{MusicRowType::Playlist, "p", -1, -1};
    auto menu = f.controller->ContextMenu(true);
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(f.host.cues.back(), "yj.wav");
    std::vector<int> ids;
    for (const auto& item : menu) ids.push_back(item.id);
    EXPECT_EQ(ids, (std::vector<int>{6030, 6031, 6029, 6032, 6033}));
    EXPECT_EQ(menu[0].label, U("单曲循环"));
    EXPECT_TRUE(menu[1].checked);
    EXPECT_FALSE(menu[2].checked);

    f.host.selected = MusicRow{MusicRowType::Album, "a", 0, -1};
    menu = f.controller->ContextMenu(true);
    ASSERT_EQ(menu.size(), 7u);
    EXPECT_EQ(menu[5].kind, MusicMenuItem::Separator);
    EXPECT_EQ(menu[6].label, U("删除专辑"));
    f.host.selected = MusicRow{MusicRowType::Song, "s", -1, 0};
    menu = f.controller->ContextMenu(true);
    ASSERT_EQ(menu.size(), 7u);
    EXPECT_EQ(menu[6].label, U("删除歌曲"));

    EXPECT_TRUE(f.controller->HandleMenu(6032));
    EXPECT_EQ(f.library.PlayMode(), PlayReverse);
    EXPECT_EQ(LoadMusicSettings(f.store).playMode, 3);
    EXPECT_TRUE(f.host.LastStatus().Contains(U("模式：倒序播放。")));
    EXPECT_FALSE(f.controller->HandleMenu(6036));
}

}  // namespace

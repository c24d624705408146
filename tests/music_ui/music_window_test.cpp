// The music side of the real main window under Xvfb: rows and markers at
// the three levels, the status sentence while real files play on the
// player, the Ctrl keys, the context menu and the settings kept across a
// close and a new start.
#include "music_ui/music_window_fixture.h"

#include "app/main_ids.h"
#include "request_forms/gui_pump.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <gtk/gtk.h>
#include <wx/listbox.h>

#include <string>

namespace musicui {
namespace {

const char* const kNoSong = "当前未播放歌曲";

// The parts of the status sentence around the device name, which depends
// on the sound server of the machine.
struct StatusParts {
    wxString song, device, rest;
};

StatusParts SplitStatus(const wxString& status) {
    StatusParts parts;
    int device = status.Find(U(" 设备："));
    int mode = status.Find(U("。模式："));
    if (device == wxNOT_FOUND || mode == wxNOT_FOUND || mode < device) {
        parts.rest = status;
        return parts;
    }
    parts.song = status.Left(device);
    parts.device = status.Mid(device + 4, mode - device - 4);
    parts.rest = status.Mid(mode + 1);
    return parts;
}

wxString Rest(const char* mode, bool hotkeys, int level) {
    return U("模式：") + U(mode) + U("。") + U(hotkeys ? "全局热键已启用。" : "全局热键已关闭。") + U(" ") +
           U(level == 0 ? "回车进入播放列表或专辑。" : "回车播放，退格返回上一层。") + U(kKeysHelp);
}

using MusicWindow = MusicWindowTest;

TEST_F(MusicWindow, LevelsShowTheirRowsAndAlt2ReturnsToTheLastOne) {
    OpenWindow();
    EXPECT_EQ(Label(), U("本地音乐"));
    EXPECT_EQ(Rows(), (std::vector<wxString>{U("播放列表（2首）"), U("专辑：晨曲（2首）"),
                                             U("启用全局热键：已关闭")}));
    EXPECT_EQ(Selection(), 0);
    StatusParts status = SplitStatus(Status());
    EXPECT_EQ(status.song, U(kNoSong));
    EXPECT_FALSE(status.device.empty());
    EXPECT_EQ(status.rest, Rest("按顺序播放", false, 0));

    Press(GDK_KEY_Return);
    EXPECT_EQ(Label(), U("播放列表"));
    EXPECT_EQ(Rows(), (std::vector<wxString>{U("第一首 | 播放列表"), U("第二首 | 播放列表")}));
    EXPECT_EQ(SplitStatus(Status()).rest, Rest("按顺序播放", false, 1));
    Press(GDK_KEY_BackSpace);
    EXPECT_EQ(Label(), U("本地音乐"));

    Select(1);
    Press(GDK_KEY_Return);
    EXPECT_EQ(Label(), U("专辑 - 晨曲"));
    // Sorted by name whatever the letter case; album songs carry no source.
    EXPECT_EQ(Rows(), (std::vector<wxString>{U("A 段"), U("b 段")}));

    // The forum and back: the album is still open.
    Press(GDK_KEY_1, GDK_MOD1_MASK);
    EXPECT_NE(Label(), U("专辑 - 晨曲"));
    Press(GDK_KEY_2, GDK_MOD1_MASK);
    EXPECT_EQ(Label(), U("专辑 - 晨曲"));
    EXPECT_EQ(Rows().size(), 2u);
    Press(GDK_KEY_BackSpace);
    Press(GDK_KEY_BackSpace);  // at the overview Backspace does nothing
    EXPECT_EQ(Label(), U("本地音乐"));
    EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(MusicWindow, APlayingSongIsMarkedAndTheStatusFollowsIt) {
    OpenWindow();
    Press(GDK_KEY_Return);  // the playlist
    Select(1);
    Press(GDK_KEY_Return);  // plays 第二首
    ASSERT_TRUE(PumpUntil([&] { return Rows().at(1) == U("▶ 第二首 | 播放列表"); })) << Rows().at(1);
    EXPECT_EQ(Rows().at(0), U("第一首 | 播放列表"));
    EXPECT_EQ(Selection(), 1);
    // The timer refreshes the position while it plays.
    ASSERT_TRUE(PumpUntil([&] { return SplitStatus(Status()).song == U("正在播放：第二首 [00:01/00:03]"); }))
        << Status();
    EXPECT_EQ(SplitStatus(Status()).rest, Rest("按顺序播放", false, 1));

    Press(GDK_KEY_Home, GDK_CONTROL_MASK);  // pause
    EXPECT_EQ(Rows().at(1), U("Ⅱ 第二首 | 播放列表"));
    EXPECT_TRUE(SplitStatus(Status()).song.StartsWith(U("已暂停：第二首 ["))) << Status();
    Press(GDK_KEY_BackSpace);
    EXPECT_EQ(Rows().at(0), U("Ⅱ 播放列表（2首）"));
    Press(GDK_KEY_Home, GDK_CONTROL_MASK);  // resume
    EXPECT_EQ(Rows().at(0), U("▶ 播放列表（2首）"));

    // The last song in order: it ends, nothing follows, the timer stops
    // and the song stays recorded as stopped.
    ASSERT_TRUE(PumpUntil([&] { return Rows().at(0) == U("播放列表（2首）") ||
                                       SplitStatus(Status()).song.StartsWith(U("已停止：")); }));
    Press(GDK_KEY_Return);
    EXPECT_EQ(Rows().at(1), U("■ 第二首 | 播放列表"));
    EXPECT_TRUE(SplitStatus(Status()).song.StartsWith(U("已停止：第二首 ["))) << Status();
}

// Counts what happens to the list's rows in the toolkit's model.
struct ModelChanges {
    int inserted = 0, deleted = 0, changed = 0;
    static void OnInserted(GtkTreeModel*, GtkTreePath*, GtkTreeIter*, gpointer self) {
        ++static_cast<ModelChanges*>(self)->inserted;
    }
    static void OnDeleted(GtkTreeModel*, GtkTreePath*, gpointer self) { ++static_cast<ModelChanges*>(self)->deleted; }
    static void OnChanged(GtkTreeModel*, GtkTreePath*, GtkTreeIter*, gpointer self) {
        ++static_cast<ModelChanges*>(self)->changed;
    }
};

// A song change in the playlist rewrites the two marked rows in place: no
// row is removed or added (a refill would replace all of them and send the
// screen reader through the list again), and the selection follows the
// playing song as before.
TEST_F(MusicWindow, ASongChangeRewritesOnlyTheMarkedRows) {
    OpenWindow();
    Press(GDK_KEY_Return);  // the playlist
    Press(GDK_KEY_Return);  // plays 第一首
    ASSERT_TRUE(PumpUntil([&] { return Rows().at(0) == U("▶ 第一首 | 播放列表"); })) << Rows().at(0);
    GtkTreeModel* model = gtk_tree_view_get_model(GTK_TREE_VIEW(frame->MainList()->GetConnectWidget()));
    ASSERT_TRUE(model);
    ModelChanges changes;
    gulong ids[] = {
        g_signal_connect(model, "row-inserted", G_CALLBACK(&ModelChanges::OnInserted), &changes),
        g_signal_connect(model, "row-deleted", G_CALLBACK(&ModelChanges::OnDeleted), &changes),
        g_signal_connect(model, "row-changed", G_CALLBACK(&ModelChanges::OnChanged), &changes),
    };
    Press(GDK_KEY_Page_Down, GDK_CONTROL_MASK);  // the next song
    EXPECT_EQ(Rows(), (std::vector<wxString>{U("第一首 | 播放列表"), U("▶ 第二首 | 播放列表")}));
    EXPECT_EQ(Selection(), 1);
    Press(GDK_KEY_Home, GDK_CONTROL_MASK);  // pause: one row changes
    EXPECT_EQ(Rows().at(1), U("Ⅱ 第二首 | 播放列表"));
    for (gulong id : ids) g_signal_handler_disconnect(model, id);
    EXPECT_EQ(changes.inserted, 0);
    EXPECT_EQ(changes.deleted, 0);
    EXPECT_GE(changes.changed, 3);
    // Going back a level is a real refill.
    Press(GDK_KEY_BackSpace);
    EXPECT_EQ(Rows().at(0), U("Ⅱ 播放列表（2首）"));
}

TEST_F(MusicWindow, CtrlKeysStepSongsAndSetVolumeAndPosition) {
    OpenWindow();
    Press(GDK_KEY_Home, GDK_CONTROL_MASK);
    EXPECT_EQ(Status(), U("当前没有正在播放的歌曲。"));
    Press(GDK_KEY_Left, GDK_CONTROL_MASK);
    EXPECT_EQ(Status(), U("当前没有正在播放的歌曲。"));
    Press(GDK_KEY_End, GDK_CONTROL_MASK);  // the overview has no song row
    EXPECT_EQ(Status(), U("当前没有可播放的歌曲。"));

    Select(1);
    Press(GDK_KEY_Return);  // the album
    Press(GDK_KEY_Page_Down, GDK_CONTROL_MASK);  // nothing current: the selected song row
    EXPECT_EQ(Rows(), (std::vector<wxString>{U("▶ A 段"), U("b 段")}));
    Press(GDK_KEY_Page_Down, GDK_CONTROL_MASK);
    EXPECT_EQ(Rows(), (std::vector<wxString>{U("A 段"), U("▶ b 段")}));
    Press(GDK_KEY_Page_Down, GDK_CONTROL_MASK);  // in order: no wrap
    EXPECT_EQ(Status(), U("当前没有可切换的下一曲。"));
    EXPECT_EQ(Rows().at(1), U("▶ b 段"));
    Press(GDK_KEY_Page_Up, GDK_CONTROL_MASK);
    EXPECT_EQ(Rows().at(0), U("▶ A 段"));
    Press(GDK_KEY_Page_Up, GDK_CONTROL_MASK);
    EXPECT_EQ(Status(), U("当前没有可切换的上一曲。"));

    Press(GDK_KEY_Up, GDK_CONTROL_MASK);
    EXPECT_EQ(Status(), U("当前音量 100%。"));
    Press(GDK_KEY_Down, GDK_CONTROL_MASK);
    Press(GDK_KEY_Down, GDK_CONTROL_MASK);
    EXPECT_EQ(Status(), U("当前音量 90%。"));

    Press(GDK_KEY_Right, GDK_CONTROL_MASK);  // five seconds on: beyond the end of the song
    EXPECT_TRUE(SplitStatus(Status()).song.Contains(U("A 段 ["))) << Status();
    // Without Ctrl the keys are the list's own: no song changes.
    Press(GDK_KEY_Page_Down);
    EXPECT_EQ(Rows().at(0), U("▶ A 段"));
}

// Records a popped-up GTK menu's items, then activates the one labelled
// `choose` (or closes the menu when it is empty).
class MenuChooser {
public:
    explicit MenuChooser(std::string choose) : choose_(std::move(choose)) {
        source_ = g_timeout_add(30, &MenuChooser::Poll, this);
    }
    ~MenuChooser() {
        if (source_) g_source_remove(source_);
    }
    const std::vector<std::string>& Items() const { return items_; }
    bool Seen() const { return seen_; }

private:
    static gboolean Poll(gpointer data) {
        auto* self = static_cast<MenuChooser*>(data);
        GList* windows = gtk_window_list_toplevels();
        GtkWidget* menu = nullptr;
        for (GList* w = windows; w && !menu; w = w->next) {
            GtkWidget* child = gtk_bin_get_child(GTK_BIN(w->data));
            if (child && GTK_IS_MENU(child) && gtk_widget_get_mapped(child)) menu = child;
        }
        g_list_free(windows);
        if (!menu) return G_SOURCE_CONTINUE;
        self->seen_ = true;
        GtkWidget* target = nullptr;
        GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
        for (GList* c = children; c; c = c->next) {
            GtkWidget* item = GTK_WIDGET(c->data);
            if (GTK_IS_SEPARATOR_MENU_ITEM(item)) {
                self->items_.push_back("-");
                continue;
            }
            std::string label = gtk_menu_item_get_label(GTK_MENU_ITEM(item));
            if (GTK_IS_RADIO_MENU_ITEM(item)) {
                label = (gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item)) ? "(*) " : "( ) ") + label;
            }
            self->items_.push_back(label);
            if (label == self->choose_) target = item;
        }
        g_list_free(children);
        gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
        if (target) gtk_menu_item_activate(GTK_MENU_ITEM(target));
        self->source_ = 0;
        return G_SOURCE_REMOVE;
    }
    std::string choose_;
    std::vector<std::string> items_;
    bool seen_ = false;
    guint source_ = 0;
};

TEST_F(MusicWindow, ContextMenuOffersThePlayModesAndDeletesTheSelectedSong) {
    OpenWindow();
    Select(1);
    Press(GDK_KEY_Return);  // the album
    Select(1);
    {
        MenuChooser chooser("删除歌曲");
        guitest::DialogAnswerer answer(GTK_RESPONSE_YES);
        Press(GDK_KEY_Menu);
        ASSERT_TRUE(PumpUntil([&] { return chooser.Seen() && !answer.Seen().empty(); }));
        EXPECT_EQ(chooser.Items(), (std::vector<std::string>{"( ) 单曲循环", "( ) 列表循环", "(*) 按顺序播放",
                                                            "( ) 倒序播放", "( ) 随机播放", "-", "删除歌曲",
                                                            "-", "删除专辑"}));
        ASSERT_EQ(answer.Seen().size(), 1u);
        EXPECT_EQ(answer.Seen()[0].title, "删除歌曲");
        EXPECT_EQ(answer.Seen()[0].text, "确定要删除歌曲《b 段》吗？");
    }
    EXPECT_EQ(Rows(), (std::vector<wxString>{U("A 段")}));
    // The file keeps the album folder: the song is gone from the album view
    // only; deleting it left the files on disk.
    EXPECT_TRUE(wxFileExists(wxString::FromUTF8(Files().albumB)));

    // A play mode chosen in the menu is written at once.
    {
        MenuChooser chooser("( ) 列表循环");
        Press(GDK_KEY_Menu);
        ASSERT_TRUE(PumpUntil([&] { return chooser.Seen(); }));
        PumpFor(100);
    }
    EXPECT_EQ(SplitStatus(Status()).rest, Rest("列表循环", false, 2));
    EXPECT_EQ(LoadMusicSettings(Store()).playMode, 2);
}

TEST_F(MusicWindow, SettingsAreSavedAtCloseAndLoadedAtTheNextStart) {
    OpenWindow();
    Select(1);
    Press(GDK_KEY_Return);
    wxCommandEvent reverse(wxEVT_MENU, 6032);
    frame->ProcessWindowEvent(reverse);
    // A file that vanishes is dropped at the next start and then from the file.
    std::string gone = Files().first + ".copy.wav";
    ASSERT_TRUE(wxCopyFile(wxString::FromUTF8(Files().first), wxString::FromUTF8(gone)));
    MusicSettings stored = LoadMusicSettings(Store());
    stored.playlistPaths.push_back(wxString::FromUTF8(gone));
    ASSERT_TRUE(SaveMusicSettings(Store(), stored));
    CloseWindow();
    ASSERT_FALSE(frame);
    MusicSettings saved = LoadMusicSettings(Store());
    EXPECT_EQ(saved.playMode, 3);
    EXPECT_EQ(saved.playlistPaths.size(), 2u) << "the window's own library is written at close";
    ASSERT_EQ(saved.albumFolders.size(), 1u);
    // The server group of the profile is still there.
    EXPECT_NE(profile->settingsText().find("[server]"), std::string::npos);

    saved.playlistPaths.push_back(wxString::FromUTF8(gone));
    ASSERT_TRUE(SaveMusicSettings(Store(), saved));
    ASSERT_TRUE(wxRemoveFile(wxString::FromUTF8(gone)));
    OpenWindow();
    EXPECT_EQ(Rows().at(0), U("播放列表（2首）"));
    EXPECT_EQ(SplitStatus(Status()).rest, Rest("倒序播放", false, 0));
    CloseWindow();
    EXPECT_EQ(LoadMusicSettings(Store()).playlistPaths.size(), 2u);
}

TEST_F(MusicWindow, FilesAndAlbumsArriveThroughTheDialogs) {
    OpenWindow();
    {
        ChooserAnswer answer({Files().second});
        Press(GDK_KEY_o, GDK_CONTROL_MASK);
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(answer.Title(), "选择音频文件");
    }
    // A file already in the playlist is added again.
    EXPECT_EQ(Status(), U("已加入 1 首歌曲到播放列表。"));
    EXPECT_EQ(Rows().at(0), U("播放列表（3首）"));
    EXPECT_EQ(LoadMusicSettings(Store()).playlistPaths.size(), 3u);

    qtest::TempDir folders;
    folders.write("夜曲/a.txt", "not audio");
    folders.write("空的/b.txt", "not audio");
    std::string night = qtest::MakeMedia(folders.file("夜曲"), "夜曲一.wav", qtest::MediaKind::Wav, 0.5);
    {
        ChooserAnswer answer({folders.file("夜曲")});
        Press(GDK_KEY_i, GDK_CONTROL_MASK);
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(answer.Title(), "选择音乐文件夹");
    }
    EXPECT_EQ(Status(), U("已导入专辑：夜曲。"));
    EXPECT_EQ(Rows().at(2), U("专辑：夜曲（1首）"));
    // The same folder again replaces the album in place.
    qtest::MakeMedia(folders.file("夜曲"), "夜曲二.ogg", qtest::MediaKind::Ogg, 0.5);
    {
        ChooserAnswer answer({folders.file("夜曲")});
        Press(GDK_KEY_I, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK));  // capital I works too
        ASSERT_TRUE(answer.Answered());
    }
    EXPECT_EQ(Rows().at(2), U("专辑：夜曲（2首）"));
    EXPECT_EQ(Rows().size(), 4u);
    // A folder without audio: a notice, nothing added.
    {
        ChooserAnswer answer({folders.file("空的")});
        guitest::DialogAnswerer notice(GTK_RESPONSE_OK);
        Press(GDK_KEY_i, GDK_CONTROL_MASK);
        ASSERT_EQ(notice.Seen().size(), 1u);
        EXPECT_EQ(notice.Seen()[0].title, "提示");
        EXPECT_EQ(notice.Seen()[0].text, "当前文件夹内没有可导入的音频文件。");
    }
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(LoadMusicSettings(Store()).albumFolders.size(), 2u);
    // Cancelling changes nothing.
    {
        ChooserAnswer answer({});
        Press(GDK_KEY_o, GDK_CONTROL_MASK);
        ASSERT_TRUE(answer.Answered());
    }
    EXPECT_EQ(Rows().at(0), U("播放列表（3首）"));
}

}  // namespace
}  // namespace musicui

#include "music_ui/music_window_fixture.h"

#include "app/gtk_keys.h"
#include "request_forms/gui_pump.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <gtk/gtk.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>

void PrintTo(const wxString& text, std::ostream* out) { *out << '"' << text.utf8_string() << '"'; }

namespace musicui {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

const char* const kKeysHelp =
    " Ctrl+I 导入专辑，Ctrl+O 添加文件，Ctrl+左右快退快进，Ctrl+上下调音量，Ctrl+Home 暂停或继续，"
    "Ctrl+End 从头播放，Ctrl+PageUp/PageDown 切换歌曲，Ctrl+Shift+PageUp/PageDown 切换声卡，"
    "Ctrl+Shift+Z 隐藏或显示窗口。";

const MusicFiles& Files() {
    static qtest::TempDir dir;
    static const MusicFiles files = [] {
        MusicFiles f;
        f.first = qtest::MakeMedia(dir.path(), "第一首.wav", qtest::MediaKind::Wav, kSongSeconds);
        f.second = qtest::MakeMedia(dir.path(), "第二首.ogg", qtest::MediaKind::Ogg, kSongSeconds);
        dir.write("晨曲/封面.jpg", "not audio");
        f.albumFolder = dir.file("晨曲");
        f.albumB = qtest::MakeMedia(f.albumFolder, "b 段.ogg", qtest::MediaKind::Ogg, kSongSeconds);
        f.albumA = qtest::MakeMedia(f.albumFolder, "A 段.wav", qtest::MediaKind::Wav, kSongSeconds);
        return f;
    }();
    return files;
}

namespace {

std::vector<GtkWidget*> MappedChoosers() {
    std::vector<GtkWidget*> found;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next) {
        auto* widget = GTK_WIDGET(w->data);
        if (GTK_IS_FILE_CHOOSER_DIALOG(widget) && gtk_widget_get_mapped(widget)) found.push_back(widget);
    }
    g_list_free(windows);
    return found;
}

}  // namespace

ChooserAnswer::ChooserAnswer(std::vector<std::string> paths) : paths_(std::move(paths)) {
    source_ = g_timeout_add(30, [](gpointer self) { return ChooserAnswer::Poll(self); }, this);
}

ChooserAnswer::~ChooserAnswer() {
    if (source_) g_source_remove(source_);
}

int ChooserAnswer::OpenChoosers() { return static_cast<int>(MappedChoosers().size()); }

int ChooserAnswer::Poll(void* data) {
    auto* self = static_cast<ChooserAnswer*>(data);
    std::vector<GtkWidget*> choosers = MappedChoosers();
    if (choosers.empty()) return G_SOURCE_CONTINUE;
    GtkWidget* dialog = choosers.front();
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    self->title_ = gtk_window_get_title(GTK_WINDOW(dialog));
    if (!self->paths_.empty()) {
        // The chooser reads its folder in the background: pick until the
        // pick holds.
        char* chosen = gtk_file_chooser_get_filename(chooser);
        bool holds = chosen && self->paths_.front() == chosen;
        g_free(chosen);
        if (!holds) {
            gtk_file_chooser_select_filename(chooser, self->paths_.front().c_str());
            return G_SOURCE_CONTINUE;
        }
    }
    self->answered_ = true;
    self->source_ = 0;
    gtk_dialog_response(GTK_DIALOG(dialog), self->paths_.empty() ? GTK_RESPONSE_CANCEL : GTK_RESPONSE_ACCEPT);
    return G_SOURCE_REMOVE;
}

qtest::LocalForumProcess* MusicWindowTest::forum_ = nullptr;

void MusicWindowTest::SetUpTestSuite() { forum_ = new qtest::LocalForumProcess(); }

void MusicWindowTest::TearDownTestSuite() {
    delete forum_;
    forum_ = nullptr;
}

void MusicWindowTest::SetUp() {
    ASSERT_TRUE(forum_->ok()) << forum_->error();
    profile = std::make_unique<qtest::ForumProfile>(forum_->host(), forum_->port());
    ASSERT_TRUE(SaveMusicSettings(Store(), InitialMusic()));
}

void MusicWindowTest::TearDown() {
    CloseWindow();
    profile.reset();
}

MusicSettings MusicWindowTest::InitialMusic() const {
    MusicSettings settings;
    settings.playlistPaths = {wxString::FromUTF8(Files().first), wxString::FromUTF8(Files().second)};
    settings.albumFolders = {wxString::FromUTF8(Files().albumFolder)};
    return settings;
}

void MusicWindowTest::OpenWindow() {
    frame = new MainFrame();
    frame->Show();
    qtest::Settle();
    Press(GDK_KEY_2, GDK_MOD1_MASK);
}

void MusicWindowTest::CloseWindow() {
    if (!frame) return;
    frame->Close(true);
    PumpUntil([this] { return !frame; }, 5000);
}

SettingsStore MusicWindowTest::Store() const {
    return SettingsStore(wxString::FromUTF8(profile->settingsFolder()));
}

wxString MusicWindowTest::Status() const { return frame->GetStatusBar()->GetStatusText(0); }

wxString MusicWindowTest::Label() const { return frame->ListLabel()->GetLabel(); }

std::vector<wxString> MusicWindowTest::Rows() const {
    std::vector<wxString> rows;
    for (unsigned i = 0; i < frame->MainList()->GetCount(); ++i) rows.push_back(frame->MainList()->GetString(i));
    return rows;
}

int MusicWindowTest::Selection() const { return frame->MainList()->GetSelection(); }

void MusicWindowTest::Select(int row) {
    frame->MainList()->SetFocus();
    frame->MainList()->SetSelection(row);
}

void MusicWindowTest::Press(guint key, GdkModifierType modifiers) {
    frame->MainList()->SetFocus();
    qtest::PressKey(frame, key, modifiers);
}

bool MusicWindowTest::PumpUntil(const std::function<bool()>& done, int ms) {
    return guitest::PumpUntil(done, std::chrono::milliseconds(ms));
}

void MusicWindowTest::PumpFor(int ms) { guitest::PumpFor(std::chrono::milliseconds(ms)); }

}  // namespace musicui

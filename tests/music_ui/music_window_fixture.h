// A real main window in the 本地音乐 category for the music tests: a
// throwaway profile whose settings.ini names the local forum server (so the
// forum side starts quietly) and a "/localMusic" group over real audio
// files, keys through GTK's own event path, and the toolkit's loop pumped
// until what the user would hear or see has happened.
#pragma once

#include "app/main_frame.h"
#include "music/music_settings.h"
#include "support/forum_profile.h"
#include "support/local_forum_process.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <wx/weakref.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable texts in failure messages.
void PrintTo(const wxString& text, std::ostream* out);

namespace musicui {

wxString U(const char* utf8);

// Audio files made once per test binary: two playlist songs and an album
// folder of two songs, every one a tone of kSongSeconds.
struct MusicFiles {
    std::string first, second;    // "第一首.wav", "第二首.ogg"
    std::string albumFolder;      // ".../晨曲" holding "b 段.ogg" and "A 段.wav"
    std::string albumA, albumB;
};
// Long enough that a key pressed after a status tick (every 500 ms) lands
// while the song still plays, even in a slow sanitizer build; short enough
// that waiting for a song's end stays quick.
constexpr double kSongSeconds = 3.0;
const MusicFiles& Files();

// The status sentence's tail after the level hint.
extern const char* const kKeysHelp;

// Answers the next GTK file chooser (the toolkit's file and folder
// dialogs): picks the one path and accepts, or cancels when there is none.
class ChooserAnswer {
public:
    explicit ChooserAnswer(std::vector<std::string> paths);
    ~ChooserAnswer();
    ChooserAnswer(const ChooserAnswer&) = delete;
    ChooserAnswer& operator=(const ChooserAnswer&) = delete;
    bool Answered() const { return answered_; }
    const std::string& Title() const { return title_; }
    // File choosers on screen now.
    static int OpenChoosers();

private:
    static int Poll(void* self);
    std::vector<std::string> paths_;
    bool answered_ = false;
    std::string title_;
    unsigned source_ = 0;
};

class MusicWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The music group written before the window opens.
    virtual MusicSettings InitialMusic() const;

    // Builds the window, shows it and switches to 本地音乐 with Alt+2.
    void OpenWindow();
    void CloseWindow();

    SettingsStore Store() const;
    wxString Status() const;
    wxString Label() const;
    std::vector<wxString> Rows() const;
    int Selection() const;
    void Select(int row);
    void Press(guint key, GdkModifierType modifiers = GdkModifierType(0));
    // Pumps the toolkit (timers included) until done() holds.
    bool PumpUntil(const std::function<bool()>& done, int ms = 8000);
    void PumpFor(int ms);

    static qtest::LocalForumProcess* forum_;
    std::unique_ptr<qtest::ForumProfile> profile;
    wxWeakRef<MainFrame> frame;
};

}  // namespace musicui

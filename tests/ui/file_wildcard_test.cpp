// The file choosers' wildcard: every pattern matches upper- and lower-case
// names, "所有文件" matches names without a dot, and the descriptions stay.
// Checked on the text and on the filters GTK really builds from it.
#include "ui/file_wildcard.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/filedlg.h>

#include <vector>

namespace {

wxString U8(const char* s) { return wxString::FromUTF8(s); }

TEST(FileChooserWildcard, PatternsBecomeCaseInsensitive) {
    const std::vector<std::pair<const char*, const char*>> cases{
        {"所有文件 (*.*)|*.*", "所有文件 (*.*)|*"},
        {"音频文件 (*.mp3;*.wav)|*.mp3;*.wav|所有文件 (*.*)|*.*",
         "音频文件 (*.mp3;*.wav)|*.[mM][pP]3;*.[wW][aA][vV]|所有文件 (*.*)|*"},
        {"图片 (*.JPG)|*.JPG", "图片 (*.JPG)|*.[jJ][pP][gG]"},
        {"Mixed|*.Mp4;*.m4a", "Mixed|*.[mM][pP]4;*.[mM]4[aA]"},
        {"Set|*.[ch]", "Set|*.[ch]"},
        {"Name|readme*", "Name|[rR][eE][aA][dD][mM][eE]*"},
        {"Empty|", "Empty|"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(FileChooserWildcard(U8(in)), U8(out)) << in;
}

bool Accepts(GtkFileFilter* filter, const char* name) {
    GtkFileFilterInfo info{};
    info.contains = GtkFileFilterFlags(GTK_FILE_FILTER_DISPLAY_NAME | GTK_FILE_FILTER_FILENAME);
    info.display_name = name;
    info.filename = name;
    return gtk_file_filter_filter(filter, &info);
}

TEST(FileChooserWildcard, TheToolkitsFiltersFindUpperCaseAndBareNames) {
    const char* wildcard =
        "音频文件 (*.mp3;*.wav;*.m4a;*.aac;*.flac)|*.mp3;*.wav;*.m4a;*.aac;*.flac|所有文件 (*.*)|*.*";
    wxFileDialog dialog(nullptr, U8("选择音频"), wxString(), wxString(), FileChooserWildcard(U8(wildcard)),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    GSList* filters = gtk_file_chooser_list_filters(GTK_FILE_CHOOSER(dialog.m_widget));
    ASSERT_EQ(g_slist_length(filters), 2u);
    auto* audio = GTK_FILE_FILTER(g_slist_nth_data(filters, 0));
    auto* all = GTK_FILE_FILTER(g_slist_nth_data(filters, 1));
    g_slist_free(filters);
    EXPECT_STREQ(gtk_file_filter_get_name(audio), "音频文件 (*.mp3;*.wav;*.m4a;*.aac;*.flac)");
    EXPECT_STREQ(gtk_file_filter_get_name(all), "所有文件 (*.*)");
    for (const char* name : {"song.mp3", "SONG.MP3", "Song.Flac", "a.M4A"}) EXPECT_TRUE(Accepts(audio, name)) << name;
    for (const char* name : {"notes.txt", "mp3", "song.mp3.part"}) EXPECT_FALSE(Accepts(audio, name)) << name;
    for (const char* name : {"README", "PHOTO.JPG", "a.b"}) EXPECT_TRUE(Accepts(all, name)) << name;
}

}  // namespace

// A song change with 10,000 songs in the playlist view, on a real list box:
// the whole list refilled (what every song change used to cost) against
// the marked rows rewritten, next to the floor of setting those two rows'
// texts alone. Run under a display (scripts/with-display). The sides
// alternate in one run; counters give medians and the median of ratios.
#include "median.h"
#include "music/music_library.h"
#include "music/music_view.h"

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listbox.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr int kSongs = 10000;

struct View {
    wxFrame* frame = nullptr;
    wxListBox* list = nullptr;
    MusicLibrary library;
    std::vector<MusicRow> shown;
    MusicViewStamp stamp;

    View()
    {
        frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(800, 600));
        list = new wxListBox(frame, wxID_ANY);
        frame->Show();
        std::vector<wxString> paths;  // need not exist: AddFiles takes them as they are
        for (int i = 0; i < kSongs; ++i) paths.push_back(wxString::Format("/m/Song %05d.mp3", i));
        library.AddFiles(paths);
        library.ShowPlaylist();
        library.SetCurrent(0, -1);
        Refill(PlayerMarks{true, false});
        list->SetFocus();
    }
    ~View() { frame->Destroy(); }

    void Refill(PlayerMarks marks)
    {
        MusicViewRows view = BuildMusicRows(library, marks);
        stamp = StampMusicView(library, view);
        shown = std::move(view.rows);
        wxArrayString items;
        items.reserve(shown.size());
        for (const MusicRow& row : shown) items.Add(row.text);
        list->Set(items);
        if (view.selectRow >= 0 && view.selectRow < static_cast<int>(shown.size())) list->SetSelection(view.selectRow);
    }

    void Update(PlayerMarks marks)
    {
        std::optional<MusicRowUpdate> update = UpdateMusicRows(library, marks, stamp);
        if (!update) return Refill(marks);
        for (auto& [row, content] : update->rows) {
            if (shown[row].text != content.text) list->SetString(static_cast<unsigned>(row), content.text);
            shown[row] = std::move(content);
        }
        if (list->GetSelection() != update->selectRow) list->SetSelection(update->selectRow);
    }
};

void Settle()
{
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxTheApp->ProcessIdle();
}

void BM_SongChangeInPlaylistView(benchmark::State& state)
{
    View view;
    Settle();
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::vector<double> refills, updates, floors, ratios;
    int song = 0;
    for (auto _ : state) {
        // Each side moves the current song on by one, as the end of a song does;
        // the time includes the toolkit's handling of the change.
        auto change = [&] {
            int old = song;
            song = (song + 1) % kSongs;
            view.library.SetCurrent(song, -1);
            return old;
        };
        change();
        auto t0 = Clock::now();
        view.Refill(PlayerMarks{true, false});
        Settle();
        refills.push_back(ms(Clock::now() - t0));
        change();
        t0 = Clock::now();
        view.Update(PlayerMarks{true, false});
        Settle();
        updates.push_back(ms(Clock::now() - t0));
        int old = change();
        // The floor: the same two rows set directly, nothing decided.
        wxString oldText = view.shown[old].text;
        t0 = Clock::now();
        view.list->SetString(static_cast<unsigned>(old), view.library.Playlist()[old].name + " | x");
        view.list->SetString(static_cast<unsigned>(song), view.library.Playlist()[song].name + " | y");
        view.list->SetSelection(song);
        Settle();
        floors.push_back(ms(Clock::now() - t0));
        ratios.push_back(floors.back() > 0 ? updates.back() / floors.back() : 0);
        view.Refill(PlayerMarks{true, false});  // back to true rows, untimed
        Settle();
    }
    state.counters["refill_ms"] = Median(refills);
    state.counters["update_ms"] = Median(updates);
    state.counters["two_rows_ms"] = Median(floors);
    state.counters["ratio"] = Median(ratios);
}
BENCHMARK(BM_SongChangeInPlaylistView)->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace

int main(int argc, char** argv)
{
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}

// The cost of waiting without freezing: one loopback request through the
// responsive wait (worker thread, local event loop) next to the same
// request called directly on the calling thread, alternating in one run.
// The wait's figure also reports how often the UI thread woke up.
//
//   bash scripts/with-display build/bench/request_wait_bench
#include "api/api_client.h"
#include "ui/request_forms.h"
#include "support/http_test_server.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/init.h>

namespace {

qtest::HttpTestServer& Server() {
    static qtest::HttpTestServer server;
    static bool ready = [] {
        server.SetDefault(qtest::Ok("[]"));
        return true;
    }();
    (void)ready;
    return server;
}

ApiClient Client() { return ApiClient(ServerEndpoint{wxString::FromUTF8(Server().Host()), Server().Port()}); }

void DirectCall(benchmark::State& state) {
    ApiClient api = Client();
    for (auto _ : state) {
        HttpResponse r = api.SendRequest(wxS("GET"), wxS("/api/section"), {}, {});
        benchmark::DoNotOptimize(r.statusCode);
    }
}

void ThroughTheWait(benchmark::State& state) {
    ApiClient api = Client();
    long wakeUps = 0;
    for (auto _ : state) {
        HttpResponse r = RunBusy([&] { return api.SendRequest(wxS("GET"), wxS("/api/section"), {}, {}); });
        benchmark::DoNotOptimize(r.statusCode);
        wakeUps += RequestWait::LastWakeUps();
    }
    state.counters["wakeups_per_request"] =
        benchmark::Counter(static_cast<double>(wakeUps), benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(DirectCall)->UseRealTime()->Repetitions(5);
BENCHMARK(ThroughTheWait)->UseRealTime()->Repetitions(5);

int main(int argc, char** argv) {
    // The wait needs the toolkit running (a display, as under with-display).
    wxApp::SetInstance(new wxApp);
    int wxArgc = 1;
    if (!wxEntryStart(wxArgc, argv)) return 1;
    wxTheApp->CallOnInit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}

// The forum client's exchanges next to bare libcurl doing the same
// requests: one SendRequest round trip, and a write that walks its whole
// fallback chain (every path, body and header form refused: 264 attempts)
// against libcurl replaying exactly the requests the walk sent. In every
// round the two sides alternate which goes first; each figure is the
// median of the per-round ratios. Reading the answer is measured in
// forum_bench.cpp.
#include "paired.h"
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "api/api_client.h"
#include "list_answer.h"
#include "support/http_test_server.h"

namespace {

constexpr const char* kPage = "/api/post/hot?pageNum=1&pageSize=20";
constexpr const char* kWrite = "/api/post/chain";

qtest::HttpTestServer& Server()
{
    static qtest::HttpTestServer server;
    static const bool once = [] {
        server.SetDefault(qtest::JsonAnswer(apibench::PostListAnswer()));
        // A clear refusal, so the walk goes on to the next form each time.
        server.Answer("POST", kWrite, qtest::Fail(1, "refused"));
        return true;
    }();
    (void)once;
    return server;
}

size_t Collect(char* data, size_t size, size_t count, void* user)
{
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

// One request as libcurl's plain easy interface sends it.
bool CurlExchange(const std::string& origin, const qtest::RecordedRequest& request)
{
    std::string body;
    CURL* curl = curl_easy_init();
    curl_slist* headers = nullptr;
    for (const auto& [name, value] : request.headers) {
        if (name == "Host" || name == "Content-Length" || name == "User-Agent") continue;
        headers = curl_slist_append(headers, (name + ": " + value).c_str());
    }
    curl_easy_setopt(curl, CURLOPT_URL, (origin + request.target).c_str());
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "QuilleryCommunity/1.0");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    if (!request.body.empty() || request.method == "POST") {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    const bool ok = curl_easy_perform(curl) == CURLE_OK;
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    benchmark::DoNotOptimize(body.data());
    return ok;
}

void BM_RoundTripAgainstCurl(benchmark::State& state)
{
    qtest::HttpTestServer& server = Server();
    const ApiClient client(ServerEndpoint{wxS("127.0.0.1"), server.Port()});
    const HeaderList headers{{wxS("Accept"), wxS("application/json")}};
    const std::string origin = "http://127.0.0.1:" + std::to_string(server.Port());
    // The request our client sends, for libcurl to send the same.
    client.SendRequest(wxS("GET"), wxString::FromUTF8(kPage), headers, {});
    const qtest::RecordedRequest request = server.Requests().back();
    Paired(
        state,
        [&] {
            HttpResponse r = client.SendRequest(wxS("GET"), wxString::FromUTF8(kPage), headers, {});
            benchmark::DoNotOptimize(r.body.data());
            return r.ok;
        },
        [&] { return CurlExchange(origin, request); });
    server.ClearRequests();
}
BENCHMARK(BM_RoundTripAgainstCurl)->Iterations(2000)->UseRealTime();

void BM_FallbackChainAgainstCurl(benchmark::State& state)
{
    qtest::HttpTestServer& server = Server();
    const ApiClient client(ServerEndpoint{wxS("127.0.0.1"), server.Port()});
    const std::string origin = "http://127.0.0.1:" + std::to_string(server.Port());
    std::vector<BodyVariant> variants;
    for (int i = 0; i < 8; ++i) {
        variants.push_back(BodyVariant{wxString::Format("form %d", i), wxS("application/json"),
                                       R"({"postId":12,"value":)" + std::to_string(i) + "}"});
    }
    const auto walk = [&] {
        return !client.SendWithFallbacks(wxS("POST"), wxString::FromUTF8(kWrite), wxS("tok"), wxS("sid=1"),
                                         variants, wxS("failed"))
                    .success;
    };
    server.ClearRequests();
    walk();
    const std::vector<qtest::RecordedRequest> chain = server.Requests();
    state.counters["attempts"] = static_cast<double>(chain.size());
    Paired(state, walk, [&] {
        for (const qtest::RecordedRequest& request : chain) {
            if (!CurlExchange(origin, request)) return false;
        }
        return true;
    });
    server.ClearRequests();
}
BENCHMARK(BM_FallbackChainAgainstCurl)->Iterations(30)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

// One SendRequest round trip against a bare libcurl exchange of the same
// request. Reading the answer is measured in forum_bench.cpp.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "api/api_client.h"
#include "list_answer.h"
#include "support/http_test_server.h"

namespace {

qtest::HttpTestServer& Server()
{
    static qtest::HttpTestServer server;
    static const bool once = [] {
        server.SetDefault(qtest::JsonAnswer(apibench::PostListAnswer()));
        return true;
    }();
    (void)once;
    return server;
}

void BM_SendRequest(benchmark::State& state)
{
    qtest::HttpTestServer& server = Server();
    const ApiClient client(ServerEndpoint{wxS("127.0.0.1"), server.Port()});
    const HeaderList headers{{wxS("Accept"), wxS("application/json")}};
    for (auto _ : state) {
        HttpResponse r = client.SendRequest(wxS("GET"), wxS("/api/post/hot?pageNum=1&pageSize=20"), headers, {});
        if (!r.ok) state.SkipWithError("request failed");
        benchmark::DoNotOptimize(r.body.data());
    }
    server.ClearRequests();
}
BENCHMARK(BM_SendRequest)->UseRealTime();

size_t Collect(char* data, size_t size, size_t count, void* user)
{
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

void BM_CurlBaseline(benchmark::State& state)
{
    qtest::HttpTestServer& server = Server();
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) +
                            "/api/post/hot?pageNum=1&pageSize=20";
    for (auto _ : state) {
        std::string body;
        CURL* curl = curl_easy_init();
        curl_slist* headers = curl_slist_append(nullptr, "Accept: application/json");
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "QuilleryCommunity/1.0");
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        if (curl_easy_perform(curl) != CURLE_OK) state.SkipWithError("request failed");
        curl_slist_free_all(headers);
        curl_easy_cleanup(curl);
        benchmark::DoNotOptimize(body.data());
    }
    server.ClearRequests();
}
BENCHMARK(BM_CurlBaseline)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

// One SendRequest round trip against a bare libcurl exchange of the same
// request, and envelope judgement plus getters against a bare parse.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "api/api_client.h"
#include "api/envelope.h"
#include "api/json_read.h"
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

void BM_EvaluateAndRead(benchmark::State& state)
{
    HttpResponse response;
    response.ok = true;
    response.body = apibench::PostListAnswer();
    for (auto _ : state) {
        rapidjson::Document doc;
        wxString message;
        if (!EvaluateResponse(response, doc, message, wxS("获取热门帖子失败"))) state.SkipWithError("bad");
        const JsonValue* data = JsonData(&doc);
        int64_t sum = JsonInt(data, "pages", 1) + JsonInt(data, "total", 0);
        for (const JsonValue& item : (*data)["list"].GetArray()) {
            sum += JsonInt(&item, "id", 0) + JsonInt(&item, "replyCount", 0) + JsonInt(&item, "viewCount", 0);
            sum += JsonInt(&item, "top", 0) + JsonInt(&item, "essence", 0);
            sum += static_cast<int64_t>(JsonText(&item, "title").length() + JsonText(&item, "userName").length() +
                                        JsonText(&item, "createTimeCn").length());
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_EvaluateAndRead);

void BM_RawParse(benchmark::State& state)
{
    const std::string body = apibench::PostListAnswer();
    for (auto _ : state) {
        rapidjson::Document doc;
        doc.Parse(body.c_str());
        benchmark::DoNotOptimize(doc.HasParseError());
    }
}
BENCHMARK(BM_RawParse);

}  // namespace

BENCHMARK_MAIN();

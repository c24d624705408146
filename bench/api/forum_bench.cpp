// Turning a 20-post and a 20-floor answer into records, next to a bare
// RapidJSON parse of the same bytes.
#include <benchmark/benchmark.h>

#include "api/envelope.h"
#include "api/forum_parsers.h"
#include "list_answer.h"

namespace {

HttpResponse Answer(std::string body)
{
    HttpResponse r;
    r.ok = true;
    r.body = std::move(body);
    return r;
}

void BM_PostPage(benchmark::State& state)
{
    const HttpResponse response = Answer(apibench::PostListAnswer());
    for (auto _ : state) {
        rapidjson::Document doc;
        PostListPage page;
        if (EvaluateResponse(response, doc, page.error, wxS("获取热门帖子失败"))) {
            FillPostListPage(JsonData(&doc), 1, 20, page, wxS("热门帖子数据格式不正确。"), wxS("热门帖子列表缺失。"));
        }
        if (page.items.size() != 20) state.SkipWithError("wrong page");
        benchmark::DoNotOptimize(page.items.data());
    }
}
BENCHMARK(BM_PostPage);

void BM_ReplyPage(benchmark::State& state)
{
    const HttpResponse response = Answer(apibench::ReplyListAnswer());
    for (auto _ : state) {
        rapidjson::Document doc;
        ReplyPage page;
        if (EvaluateResponse(response, doc, page.error, wxS("获取回帖列表失败"))) {
            FillReplyPage(JsonData(&doc), 1, 20, page);
        }
        if (page.items.size() != 20) state.SkipWithError("wrong page");
        benchmark::DoNotOptimize(page.items.data());
    }
}
BENCHMARK(BM_ReplyPage);

void RawParse(benchmark::State& state, const std::string& body)
{
    for (auto _ : state) {
        rapidjson::Document doc;
        doc.Parse(body.c_str());
        benchmark::DoNotOptimize(doc.HasParseError());
    }
}

void BM_RawParsePostPage(benchmark::State& state) { RawParse(state, apibench::PostListAnswer()); }
void BM_RawParseReplyPage(benchmark::State& state) { RawParse(state, apibench::ReplyListAnswer()); }
BENCHMARK(BM_RawParsePostPage);
BENCHMARK(BM_RawParseReplyPage);

}  // namespace

BENCHMARK_MAIN();

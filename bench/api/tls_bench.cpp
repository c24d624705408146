// One HTTPS round trip on loopback through the forum client's transport
// next to bare libcurl fetching the same page from the same server, each
// on a new connection (TCP and TLS handshake included), both trusting the
// same throwaway authority. Goal: ratio ≤ 1.1.
#include "paired.h"
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>

#include <string>
#include <thread>

#include "api/api_client.h"
#include "list_answer.h"
#include "support/test_certificates.h"

namespace {

constexpr const char* kPage = "/api/post/hot?pageNum=1&pageSize=20";

size_t Collect(char* data, size_t size, size_t count, void* user)
{
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

bool CurlGet(const std::string& url, const std::string& caFile)
{
    std::string body;
    CURL* curl = curl_easy_init();
    curl_slist* headers = curl_slist_append(nullptr, "Accept: application/json");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "QuilleryCommunity/1.0");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    const bool ok = curl_easy_perform(curl) == CURLE_OK && !body.empty();
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    benchmark::DoNotOptimize(body.data());
    return ok;
}

void BM_TlsRoundTripAgainstCurl(benchmark::State& state)
{
    qtest::TestCertificates certs;
    if (!certs.ok()) {
        state.SkipWithError(certs.error().c_str());
        return;
    }
    httplib::SSLServer server(certs.forLoopback.cert.c_str(), certs.forLoopback.key.c_str());
    const std::string answer = apibench::PostListAnswer();
    server.Get("/api/post/hot", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(answer, "application/json");
    });
    // Without it the server's split writes wait for a delayed ACK (~40 ms)
    // and that wait would hide both clients' own cost.
    server.set_tcp_nodelay(true);
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    // Bound and listening already: connections wait for the accept loop.

    ServerEndpoint endpoint(wxS("127.0.0.1"), port);
    endpoint.https = true;
    endpoint.caFile = wxString::FromUTF8(certs.caFile().c_str());
    const ApiClient client(endpoint);
    const HeaderList headers{{wxS("Accept"), wxS("application/json")}};
    const std::string url = "https://127.0.0.1:" + std::to_string(port) + kPage;
    Paired(
        state,
        [&] {
            HttpResponse r = client.SendRequest(wxS("GET"), wxString::FromUTF8(kPage), headers, {});
            benchmark::DoNotOptimize(r.body.data());
            return r.ok && !r.body.empty();
        },
        [&] { return CurlGet(url, certs.caFile()); });
    server.stop();
    serving.join();
}
BENCHMARK(BM_TlsRoundTripAgainstCurl)->Iterations(300)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

// Uploads: the multipart body byte for byte with the local file's problems,
// and the attempt walk against a loopback server.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "api/api_client.h"
#include "api/auth_variants.h"
#include "api/upload.h"
#include "client_fixture.h"
#include "support/loopback_proxy.h"
#include "support/temp_dir.h"

using apitest::ClientFor;
using apitest::U8;

using namespace std::string_literals;

namespace {

std::string SizedFile(const qtest::TempDir& dir, const std::string& name, off_t size)
{
    const std::string path = dir.write(name, "");
    EXPECT_EQ(::truncate(path.c_str(), size), 0);
    return path;
}

std::string Head(const std::string& b, const std::string& filename)
{
    return "--" + b + "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" + filename +
           "\"\r\nContent-Type: application/octet-stream\r\n\r\n";
}

TEST(MultipartBody, ByteForByteAndEveryLocalProblem)
{
    qtest::TempDir dir;
    const std::string b = "----QuilleryBoundary42";
    const std::string tail = "\r\n--" + b + "--\r\n";
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const auto max = static_cast<off_t>(kMaxUploadBytes);
    struct Case {
        std::string path;
        std::string wantName;   // the file name handed back
        std::string wantBody;   // "" with an error; "#size" checks only the size
        std::string wantError;
        size_t wantSize = 0;
    } cases[] = {
        {dir.write("歌 1.mp3", "ID3\0x"s), "歌 1.mp3", Head(b, "歌 1.mp3") + "ID3\0x"s + tail, ""},
        {dir.write("empty.txt", ""), "empty.txt", Head(b, "empty.txt") + tail, ""},
        // A name cannot close the parameter or start a header of its own.
        {dir.write("a\"b\r\nX-Evil: 1.txt", "z"), "a\"b\r\nX-Evil: 1.txt",
         Head(b, "a%22b%0D%0AX-Evil: 1.txt") + "z" + tail, ""},
        {SizedFile(dir, "exact.bin", max), "exact.bin", "#size", "",
         Head(b, "exact.bin").size() + kMaxUploadBytes + tail.size()},
        {SizedFile(dir, "over.bin", max + 1), "over.bin", "", "当前版本暂不支持上传超过 64MB 的单个文件。"},
        {dir.file("missing.mp3"), "missing.mp3", "", "打开文件失败。"},
        // A FIFO would block the read and a folder has no bytes to send.
        {dir.file("pipe"), "pipe", "", "读取文件长度失败。"},
        {dir.path(), "", "", "读取文件长度失败。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        wxString name, error;
        const std::string body = BuildMultipartBody(b, wxString::FromUTF8(c.path), name, error);
        EXPECT_EQ(U8(error), c.wantError);
        if (!c.wantName.empty()) {
            EXPECT_EQ(U8(name), c.wantName);
        }
        if (c.wantBody == "#size") {
            EXPECT_EQ(body.size(), c.wantSize);
            EXPECT_EQ(body.substr(body.size() - tail.size()), tail);
        } else {
            EXPECT_EQ(body, c.wantBody);
        }
    }
}

struct UploadFixture : ::testing::Test {
    qtest::HttpTestServer server;
    qtest::TempDir dir;
    ApiClient client = ClientFor(server);
    std::string file = dir.write("a.txt", "hello");

    UploadResult Upload(UploadKind kind = UploadKind::File, const UploadProgress& progress = {})
    {
        return client.UploadFile(wxS("tok"), wxS("c=1"), wxString::FromUTF8(file), kind, progress);
    }
};

TEST_F(UploadFixture, KindsChooseTheirPathsAndTheBoundaryMatchesItsHeader)
{
    server.SetHandler([](const qtest::RecordedRequest&) {
        return qtest::Ok(R"({"id":7,"url":"http://h/files/f7.txt"})");
    });
    const std::pair<int, const char*> kinds[] = {
        {0, "/api/file"}, {1, "/api/file/image"}, {2, "/api/file/video"}, {7, "/api/file"}};
    for (const auto& [kind, path] : kinds) {
        SCOPED_TRACE(kind);
        server.ClearRequests();
        uint64_t lastSent = 0, total = 0;
        const UploadResult r = Upload(static_cast<UploadKind>(kind), [&](uint64_t sent, uint64_t all) {
            EXPECT_GE(sent, lastSent);
            lastSent = sent;
            total = all;
        });
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.fileId, 7);
        EXPECT_EQ(U8(r.url), "http://h/files/f7.txt");
        ASSERT_EQ(server.RequestCount(), 1u);
        const qtest::RecordedRequest req = server.Requests()[0];
        EXPECT_EQ(req.method, "POST");
        EXPECT_EQ(req.target, path);
        const std::string type = req.Header("Content-Type");
        const std::string prefix = "multipart/form-data; boundary=----QuilleryBoundary";
        ASSERT_EQ(type.substr(0, prefix.size()), prefix);
        const std::string boundary = type.substr(type.find('=') + 1);
        EXPECT_EQ(req.body, Head(boundary, "a.txt") + "hello\r\n--" + boundary + "--\r\n");
        EXPECT_EQ(total, req.body.size());
        EXPECT_EQ(lastSent, req.body.size());
    }
}

// An accepted upload is stored: whatever its answer lacks, the file is not
// sent a second time. A refusal tries the next session form.
TEST_F(UploadFixture, AnswersEndTheWalkOrTryTheNextForm)
{
    const size_t forms = BuildAuthHeaderSets(wxS("tok"), wxS("c=1"), false).size();
    struct Case {
        qtest::ScriptedAnswer answer;
        size_t requests;
        std::string message;
        std::string debugInfo;
    } cases[] = {
        {qtest::Ok(R"({"id":0,"url":"http://h/x"})"), 1, "上传成功，但未返回文件编号。", ""},
        {qtest::Ok(R"([1,2])"), 1, "上传成功，但响应数据格式不正确。", ""},
        {qtest::Ok(), 1, "上传成功，但响应数据格式不正确。", ""},
        {qtest::Fail(-1, "不行"), forms, "不行", "接口：/api/file\n文件：a.txt\n返回：不行"},
        {qtest::JsonAnswer("<html>", 500), forms, "JSON 解析失败：Invalid value.",
         "接口：/api/file\n文件：a.txt\n返回：JSON 解析失败：Invalid value."},
        // The connection broke after the body went out: it may be stored.
        {qtest::Ok().WithCut(qtest::ScriptedAnswer::Cut::CloseBeforeAnswer), 1, "接收响应失败。",
         "接口：/api/file\n文件：a.txt\n返回：接收响应失败。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        server.ClearRequests();
        server.Answer("POST", "/api/file", c.answer);
        const UploadResult r = Upload();
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(server.RequestCount(), c.requests);
        EXPECT_EQ(U8(r.message), c.message);
        EXPECT_EQ(U8(r.debugInfo), c.debugInfo);
    }
    // Nothing is sent for a file that cannot go.
    server.ClearRequests();
    file = dir.file("gone.txt");
    EXPECT_EQ(U8(Upload().message), "打开文件失败。");
    EXPECT_EQ(server.RequestCount(), 0u);
}

// A slow uplink, and a server that takes its time to store the file: the
// upload goes through as long as bytes move and the server answers within
// the connect-and-answer time; beyond that it is a time-out, and the file
// may be stored, so it is not sent again.
TEST(UploadTimes, SlowLinesAndSlowServersStillStoreTheFile)
{
    qtest::HttpTestServer server;
    qtest::TempDir dir;
    const wxString file = wxString::FromUTF8(dir.write("clip.bin", std::string(24 * 1024, 'x')));
    auto upload = [&](ApiClient& client) {
        return client.UploadFile(wxS("tok"), wxS(""), file, UploadKind::File);
    };
    // 24 KiB at 8 KiB/s is three seconds on the line, well past the base
    // deadline of 0.2 s and its allowance for the body at 16 KiB/s.
    server.Answer("POST", "/api/file", qtest::Ok(R"({"id":9,"url":"u"})"));
    qtest::ThrottledRelay slowLine(server.Port(), 8 * 1024);
    ApiClient throughSlowLine(ServerEndpoint{wxS("127.0.0.1"), slowLine.Port()});
    throughSlowLine.SetTimeouts(platform::HttpTimeouts{2000, 4000, 200});
    UploadResult r = upload(throughSlowLine);
    EXPECT_TRUE(r.ok) << U8(r.message);
    EXPECT_EQ(r.fileId, 9);
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_GT(server.Requests()[0].body.size(), 24u * 1024u);

    // Silent after the last byte for longer than the stall limit, within
    // the connect-and-answer time.
    ApiClient direct = ClientFor(server);
    direct.SetTimeouts(platform::HttpTimeouts{2000, 300, 2000});
    server.Answer("POST", "/api/file", qtest::Ok(R"({"id":10,"url":"u"})").WithDelay(std::chrono::milliseconds(1000)));
    r = upload(direct);
    EXPECT_TRUE(r.ok) << U8(r.message);
    EXPECT_EQ(r.fileId, 10);

    server.ClearRequests();
    server.Answer("POST", "/api/file", qtest::Ok(R"({"id":11})").WithDelay(std::chrono::milliseconds(6000)));
    r = upload(direct);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(U8(r.message), "服务器响应超时，服务器可能已经处理了该请求。");
    EXPECT_EQ(server.RequestCount(), 1u);

}

}  // namespace

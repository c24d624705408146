// The forum server client. Every operation is synchronous, never throws and
// keeps no state between calls: the caller holds the session texts `token`
// and `cookies` and passes them in. Safe to use from several threads.
#pragma once

#include <string>
#include <vector>

#include <rapidjson/document.h>
#include <wx/string.h>

#include "api/api_result.h"
#include "api/forum_records.h"
#include "api/http_types.h"
#include "api/server_endpoint.h"
#include "platform/http_transport.h"

class ApiClient {
public:
    explicit ApiClient(ServerEndpoint endpoint = DefaultServerEndpoint());

    const ServerEndpoint& Endpoint() const { return endpoint_; }
    // Connect and stall limits of every exchange (tests shorten them).
    void SetTimeouts(const platform::HttpTimeouts& timeouts) { timeouts_ = timeouts; }
    // The largest answer body (and head) accepted; a larger one fails with
    // "读取响应失败。". Tests make it small.
    void SetBodyLimit(size_t bytes) { maxBodyBytes_ = bytes; }

    // --- Transport ----------------------------------------------------
    // One request to the server; `path` includes the query. POST, PUT and
    // PATCH always send a body (Content-Length: 0 when empty); other
    // methods send one only when `body` is not empty.
    HttpResponse SendRequest(const wxString& method, const wxString& path,
                             const HeaderList& headers, const std::string& body) const;

    // --- Sending with the session in every form -------------------------
    // A session-bound GET: first the quick header sets on the plain path,
    // then every path candidate with every header set. True with
    // `document` filled at the first accepted answer; otherwise `message`
    // holds the last attempt's message.
    bool SendGet(const wxString& path, const wxString& token, const wxString& cookies,
                 const wxString& failureText, rapidjson::Document& document,
                 wxString& message) const;
    // A write call: every path candidate × every variant × every header
    // set, until one is accepted.
    ApiResult SendWithFallbacks(const wxString& method, const wxString& path,
                                const wxString& token, const wxString& cookies,
                                const std::vector<BodyVariant>& variants,
                                const wxString& failureText) const;
    // SendWithFallbacks with the single variant "无请求体" (no body).
    ApiResult SendWithoutBody(const wxString& method, const wxString& path,
                              const wxString& token, const wxString& cookies,
                              const wxString& failureText) const;

    // --- Reading the forum (every list with page size 20 in practice) -----
    PostListPage GetHotPosts(int32_t pageNum, int32_t pageSize) const;
    PostListPage GetNewPosts(int32_t pageNum, int32_t pageSize) const;
    PostListPage GetNewReplies(int32_t pageNum, int32_t pageSize) const;
    PostListPage SearchPosts(const wxString& keyword, int32_t pageNum, int32_t pageSize) const;
    SectionList GetSections() const;
    // The title of the page is the section's name.
    PostListPage GetSectionPosts(int32_t sectionId, int32_t pageNum, int32_t pageSize) const;
    // Reading a post anonymously.
    PostDetailResult GetPost(int32_t postId) const;
    // The same post with the session, so the answer carries `isOwner`.
    PostDetailResult GetPostWithSession(int32_t postId, const wxString& token,
                                        const wxString& cookies) const;
    // A section manager's view of a post, for editing it.
    PostDetailResult GetManagedPost(int32_t postId, const wxString& token,
                                    const wxString& cookies) const;
    ReplyPage GetReplies(int32_t postId, int32_t pageNum, int32_t pageSize) const;
    // Code 0 means manager, 1 and -101 mean not; anything else is tried in
    // the next session form.
    ManagerCheck CheckSectionManager(const wxString& token, const wxString& cookies,
                                     int32_t sectionId) const;

    // path + "?"/"&" + "pageNum=N&pageSize=S".
    static wxString AppendPaging(const wxString& path, int32_t pageNum, int32_t pageSize);
    // Fills `page` from an object holding "list" and the paging members;
    // a missing list sets `page.error` to `missingListText` and nothing else.
    static void ParsePostPage(const rapidjson::Value* holder, int32_t pageNum, int32_t pageSize,
                              PostListPage& page, const wxString& missingListText);

private:
    // One GET with only Accept: application/json, judged by the envelope.
    bool PlainGet(const wxString& path, const wxString& failureText,
                  rapidjson::Document& document, wxString& message) const;
    struct ListTexts;
    PostListPage LoadPostList(const wxString& path, int32_t pageNum, int32_t pageSize,
                              const ListTexts& texts) const;

    ServerEndpoint endpoint_;
    platform::HttpTimeouts timeouts_;
    size_t maxBodyBytes_ = platform::kDefaultMaxBodyBytes;
};

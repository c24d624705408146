// The forum server client. Every operation is synchronous, never throws and
// keeps no state between calls: the caller holds the session texts `token`
// and `cookies` and passes them in. Safe to use from several threads.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <rapidjson/document.h>
#include <wx/string.h>

#include "api/account_records.h"
#include "api/api_result.h"
#include "api/forum_records.h"
#include "api/http_types.h"
#include "api/personal_records.h"
#include "api/post_input.h"
#include "api/server_endpoint.h"
#include "api/upload.h"
#include "api/user_profile.h"
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
    // holds the last attempt's message. `onRefused`, when given, hears
    // the message of every attempt that failed, in order.
    bool SendGet(const wxString& path, const wxString& token, const wxString& cookies,
                 const wxString& failureText, rapidjson::Document& document,
                 wxString& message,
                 const std::function<void(const wxString&)>& onRefused = {}) const;
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

    // --- Moderation ---------------------------------------------------
    // Each offers its bodies in a fixed order through SendWithFallbacks and
    // returns its result unchanged. `on` is the wanted new state.
    ApiResult SetEssence(const wxString& token, const wxString& cookies, int32_t postId, bool on) const;
    ApiResult SetLocked(const wxString& token, const wxString& cookies, int32_t postId, bool on) const;
    ApiResult SetSunk(const wxString& token, const wxString& cookies, int32_t postId, bool on) const;
    ApiResult SetTop(const wxString& token, const wxString& cookies, int32_t postId, bool on) const;
    // Bodiless: PATCH /api/post/N/shield or /unshield.
    ApiResult SetShielded(const wxString& token, const wxString& cookies, int32_t postId, bool on) const;
    // On: POST with the section numbers ([0] for none); off: a bodiless
    // DELETE that ignores `sectionIds`.
    ApiResult SetTopAll(const wxString& token, const wxString& cookies, int32_t postId, bool on,
                        const std::vector<int32_t>& sectionIds) const;
    // Bodiless: PATCH /api/user/N/ban or /cancelBan, /silence or /cancelSilence.
    ApiResult SetBanned(const wxString& token, const wxString& cookies, int32_t userId, bool on) const;
    ApiResult SetSilenced(const wxString& token, const wxString& cookies, int32_t userId, bool on) const;
    ApiResult ReportPost(const wxString& token, const wxString& cookies, int32_t postId,
                         const wxString& reason) const;
    ApiResult MovePost(const wxString& token, const wxString& cookies, int32_t postId,
                       int32_t sectionId) const;
    ApiResult SendSiteMessage(const wxString& token, const wxString& cookies, int32_t userId,
                              const wxString& text) const;

    // --- Accounts -------------------------------------------------------
    // Login, Register and ResetPassword send no session; each is one
    // request whose token ("data") and cookies make the new session, with
    // the display name fetched right after. A token the transport could
    // not send (spaces, control characters) is refused.
    LoginResult Login(const wxString& mobile, const wxString& password) const;
    LoginResult Register(const wxString& mobile, const wxString& password, const wxString& code) const;
    LoginResult ResetPassword(const wxString& mobile, const wxString& newPassword,
                              const wxString& code) const;
    // Asks for an SMS code, the number as a JSON string, as plain text, then
    // as raw JSON text, until one form is accepted.
    ApiResult SendVerifyCode(const wxString& mobile) const;
    // The profile's "name" through the first session form that yields one;
    // empty when none does. Failures are not reported.
    wxString GetDisplayName(const wxString& token, const wxString& cookies) const;
    // The profile; also the check that the session is still valid: it is
    // `sessionExpired` only when every session form the server answered
    // was refused with "code=-100" or "未登录"; any other failure of any
    // form means the server got past the session check, and that failure
    // is the `error`.
    UserInfo GetUserProfile(const wxString& token, const wxString& cookies) const;

    // --- Personal centre ---------------------------------------------
    // Authenticated reads of what belongs to the signed-in user.
    struct IntResult {
        bool ok = false;
        int32_t value = 0;
        wxString error;
    };
    AlbumList GetAlbums(const wxString& token, const wxString& cookies) const;
    FollowList GetFollowing(const wxString& token, const wxString& cookies) const;
    // Titled "我的帖子" and "与我相关".
    PostListPage GetMyPosts(const wxString& token, const wxString& cookies, int32_t pageNum,
                            int32_t pageSize) const;
    PostListPage GetMyReplies(const wxString& token, const wxString& cookies, int32_t pageNum,
                              int32_t pageSize) const;
    // The record lists; their entries become generic record lines.
    PersonalListPage GetMyMessages(const wxString& token, const wxString& cookies, int32_t pageNum,
                                   int32_t pageSize) const;
    PersonalListPage GetMyQuestions(const wxString& token, const wxString& cookies, int32_t pageNum,
                                    int32_t pageSize) const;
    PersonalListPage GetBoughtGoods(const wxString& token, const wxString& cookies, int32_t pageNum,
                                    int32_t pageSize) const;
    PersonalListPage GetBoughtPosts(const wxString& token, const wxString& cookies, int32_t pageNum,
                                    int32_t pageSize) const;
    PersonalListPage GetCrowdfundSummary(const wxString& token, const wxString& cookies, int32_t pageNum,
                                         int32_t pageSize) const;
    PersonalListPage GetAttachmentSales(const wxString& token, const wxString& cookies, int32_t pageNum,
                                        int32_t pageSize) const;
    PersonalListPage GetSoldGoods(const wxString& token, const wxString& cookies, int32_t pageNum,
                                  int32_t pageSize) const;
    PersonalListPage GetDiamondBill(const wxString& token, const wxString& cookies, int32_t pageNum,
                                    int32_t pageSize) const;
    // The balances of the site's two coins ("岚音币" and "钻石") of user `userId`.
    IntResult GetCoinCount(const wxString& token, const wxString& cookies, int32_t userId) const;
    IntResult GetDiamondCount(const wxString& token, const wxString& cookies, int32_t userId) const;
    // --- Writing ---------------------------------------------------------
    // Publishes a new post ("发布帖子失败").
    ApiResult CreatePost(const wxString& token, const wxString& cookies, const PostInput& input) const;
    // Saves an edited post, named by input.id; a section manager saves
    // through the manager's path ("编辑帖子失败").
    ApiResult EditPost(const wxString& token, const wxString& cookies, const PostInput& input,
                       bool asManager) const;
    ApiResult DeletePost(const wxString& token, const wxString& cookies, int32_t postId) const;
    // A reply to the post, or with `isFloorReply` to the floor `parentId`.
    // `text` is sent as it is (the caller trims it).
    ApiResult CreateReply(const wxString& token, const wxString& cookies, int32_t postId,
                          const wxString& text, int32_t parentId, bool isFloorReply) const;

    // --- Uploads -------------------------------------------------------
    // Sends one local file (see api/upload.h) with every session form until
    // the server names the stored file. Blocks; `progress`, when given,
    // hears how much of the body has gone out.
    UploadResult UploadFile(const wxString& token, const wxString& cookies,
                            const wxString& localPath, UploadKind kind,
                            const UploadProgress& progress = {}) const;

    // path + "?"/"&" + "pageNum=N&pageSize=S".
    static wxString AppendPaging(const wxString& path, int32_t pageNum, int32_t pageSize);
    // Fills `page` from an object holding "list" and the paging members;
    // a missing list sets `page.error` to `missingListText` and nothing else.
    static void ParsePostPage(const rapidjson::Value* holder, int32_t pageNum, int32_t pageSize,
                              PostListPage& page, const wxString& missingListText);

private:
    // SendRequest with the body's progress reported, and an overall
    // deadline that grows with the body so a large upload on a slow line
    // is not cut off while its bytes still move. An `upload` gives the
    // server the whole connect-and-answer time to begin answering after
    // the last byte, and a time-out reads "服务器响应超时" (saying the
    // file may be stored when the body had gone out).
    HttpResponse Exchange(const wxString& method, const wxString& path, const HeaderList& headers,
                          const std::string& body, const UploadProgress& progress, bool upload) const;
    // The attempt walk of SendWithFallbacks without its final text; also
    // says which variant the last failed attempt used.
    struct Walk {
        ApiResult result;
        wxString lastLabel;
    };
    Walk WalkFallbacks(const wxString& method, const wxString& path, const wxString& token,
                       const wxString& cookies, const std::vector<BodyVariant>& variants,
                       const wxString& failureText) const;
    ApiResult SavePost(const wxString& method, const wxString& path, const wxString& token,
                       const wxString& cookies, const PostInput& input, const wxString& failureText,
                       const wxString& finalText) const;
    // One GET with only Accept: application/json, judged by the envelope.
    bool PlainGet(const wxString& path, const wxString& failureText,
                  rapidjson::Document& document, wxString& message) const;
    ApiResult SendToggle(const wxString& path, const char* field, int32_t postId, bool on,
                         const wxString& token, const wxString& cookies,
                         const wxString& failureText) const;
    struct ListTexts;
    struct SessionTexts;
    LoginResult OpenSession(const wxString& path, const wxString& mobile, const std::string& body,
                            const SessionTexts& texts) const;
    struct RecordTexts;
    // `what` names the list in the failure and shape messages.
    PersonalListPage LoadRecordList(const wxString& path, const wxString& token, const wxString& cookies,
                                    int32_t pageNum, int32_t pageSize, const wxString& what) const;
    PostListPage LoadMyPostList(const wxString& path, const wxString& token, const wxString& cookies,
                                int32_t pageNum, int32_t pageSize, const RecordTexts& texts) const;
    IntResult LoadCount(const wxString& path, const wxString& token, const wxString& cookies,
                        const wxString& failure, const wxString& badFormat) const;
    PostListPage LoadPostList(const wxString& path, int32_t pageNum, int32_t pageSize,
                              const ListTexts& texts) const;

    ServerEndpoint endpoint_;
    platform::HttpTimeouts timeouts_;
    size_t maxBodyBytes_ = platform::kDefaultMaxBodyBytes;
};

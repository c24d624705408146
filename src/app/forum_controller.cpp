#include "app/forum_controller.h"

#include <wx/window.h>

#include "api/api_client.h"
#include "app/forum_host.h"
#include "ui/request_forms.h"
#include "app/search_dialog.h"
#include "ui/message_box.h"

namespace {

// Every forum list is requested with this page size.
constexpr int32_t kPageSize = 20;

} // namespace

ForumController::ForumController(const ApiClient& api, ForumHost& host)
    : api_(api), host_(host),
      searchWorker_(host.HostWindow(), [this](const SearchOutcome& outcome) { OnSearchOutcome(outcome); })
{
}

void ForumController::RenderList()
{
    RenderedList rendered = browser_.Render();
    if (rendered.needsSections) {
        LoadSections();
        return;
    }
    host_.ShowForumList(rendered);
}

void ForumController::Apply(const ForumUpdate& update)
{
    if (!update.cue.empty())
        host_.PlayForumCue(update.cue);
    if (update.needsSections) {
        LoadSections();
        return;
    }
    if (update.clearList)
        host_.ClearForumList();
    if (update.render)
        RenderList();
    if (!update.status.empty())
        host_.SetForumStatus(update.status);
    if (!update.errorCaption.empty())
        ShowErrorBox(host_.HostWindow(), update.errorCaption, update.errorText);
}

bool ForumController::PrefetchedSectionsArrived() const
{
    if (!prefetch_)
        return false;
    std::optional<SectionList> arrived = prefetch_->Arrived();
    return arrived && arrived->ok;
}

void ForumController::LoadSections()
{
    Apply(browser_.ApplySections(FetchSections()));
}

SectionList ForumController::FetchSections()
{
    if (!prefetch_)
        return RunBusy([&] { return api_.GetSections(); });
    // The early answer serves once, whatever it was; a later load asks again.
    std::unique_ptr<SectionsPrefetch> early = std::move(prefetch_);
    if (std::optional<SectionList> arrived = early->Arrived())
        return std::move(*arrived);
    return RunBusy([&] { return early->Wait(); });
}

void ForumController::ActivateRow(int row)
{
    Run(browser_.Activate(row));
}

void ForumController::GoBack()
{
    Apply(browser_.Back());
}

void ForumController::ReloadPostList()
{
    Run(browser_.ReloadPostList());
}

void ForumController::RebuildHome(bool onlyIfHomeShown)
{
    Apply(browser_.RebuildHome(onlyIfHomeShown));
}

void ForumController::ReplyToFloor(int row)
{
    Run(browser_.ReplyToFloor(row));
}

void ForumController::Run(const ForumAction& action)
{
    if (!action.cue.empty())
        host_.PlayForumCue(action.cue);
    if (action.render)
        RenderList();
    switch (action.kind) {
    case ForumActionKind::None:
        break;
    case ForumActionKind::Login:
        host_.EnsureLoggedIn();
        break;
    case ForumActionKind::PersonalCenter:
        if (host_.EnsureLoggedIn())
            host_.OpenPersonalCenter();
        break;
    case ForumActionKind::NewPost:
        if (host_.OpenNewPostComposer())
            RebuildHome();
        break;
    case ForumActionKind::AskSearchKeyword:
        if (std::optional<wxString> keyword = AskSearchKeyword(host_.HostWindow()))
            StartSearch(SearchRequest{*keyword, 1, false});
        break;
    case ForumActionKind::LoadPostList:
        LoadPostList(action.list);
        break;
    case ForumActionKind::LoadFloors:
        LoadFloors(action.floors);
        break;
    case ForumActionKind::StartSearch:
        StartSearch(action.search);
        break;
    case ForumActionKind::OpenPostDetail:
        OpenPostDetail(action);
        break;
    }
}

void ForumController::LoadPostList(const PostListRequest& request)
{
    if (request.source == ListSource::Search)
        return;  // searches run on the worker, never blocking
    PostListPage page = RunBusy([&] {
        switch (request.source) {
        case ListSource::Section:
            return api_.GetSectionPosts(request.sectionId, request.pageNum, kPageSize);
        case ListSource::LatestTopics:
            return api_.GetNewPosts(request.pageNum, kPageSize);
        case ListSource::LatestReplies:
            return api_.GetNewReplies(request.pageNum, kPageSize);
        case ListSource::HotPosts:
        case ListSource::Search:
            break;
        }
        return api_.GetHotPosts(request.pageNum, kPageSize);
    });
    Apply(browser_.ApplyPostList(request, page));
}

void ForumController::LoadFloors(const FloorRequest& request)
{
    ReplyPage page = RunBusy([&] { return api_.GetReplies(request.postId, request.pageNum, kPageSize); });
    Apply(browser_.ApplyFloors(request, page));
}

void ForumController::OpenPostDetail(const ForumAction& action)
{
    PostDetailResult result = BlockingRequest(host_.HostWindow(), PostDetailFailureCaption(),
                                              [&] { return api_.GetPost(action.postId); });
    if (!result.ok)
        return;
    const int dialogResult = host_.OpenPostDetail(result.detail, action.floorRow, action.allowOnlyOp);
    Run(browser_.AfterPostDetail(dialogResult, result.detail));
}

void ForumController::StartSearch(const SearchRequest& request)
{
    ForumBrowser::SearchStart start = browser_.StartSearch(request);
    Apply(start.update);
    // The worker gets its own client: it may outlive the window's one.
    searchWorker_.Start(start.ticket, [api = api_](const wxString& keyword, int32_t pageNum) {
        return api.SearchPosts(keyword, pageNum, kPageSize);
    });
}

void ForumController::OnSearchOutcome(const SearchOutcome& outcome)
{
    if (std::optional<ForumUpdate> update = browser_.AcceptSearchOutcome(outcome))
        Apply(*update);
}

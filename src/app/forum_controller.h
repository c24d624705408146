#pragma once

// Runs what the forum view model decides: the server calls under the busy
// cursor or on the search worker, the error boxes with their captions, the
// cues and the list. The window stays a thin binding of keys to these calls.

#include <memory>
#include <optional>

#include "app/forum_actions.h"
#include "app/forum_browser.h"
#include "app/search_worker.h"
#include "app/sections_prefetch.h"

class ApiClient;
class ForumHost;

class ForumController
{
public:
    // `api` and `host` must outlive the controller (the main window owns all three).
    ForumController(const ApiClient& api, ForumHost& host);

    const ForumBrowser& Browser() const { return browser_; }

    // Shows the top view, loading the sections first when there are none.
    void RenderList();
    // The sections asked for before the window was built: the first load
    // takes their answer instead of asking again.
    void AdoptSectionsPrefetch(std::unique_ptr<SectionsPrefetch> prefetch) { prefetch_ = std::move(prefetch); }
    // Those sections have arrived, and successfully.
    bool PrefetchedSectionsArrived() const;
    wxString StatusHint() const { return browser_.StatusHint(); }

    void ActivateRow(int row);
    void GoBack();
    void ReloadPostList();

    // After a login, a logout or a new post.
    void SetSession(const SessionRow& session) { browser_.SetSession(session); }
    void RebuildHome(bool onlyIfHomeShown = false);

    std::optional<FloorMenu> FloorMenuFor(int row) const { return browser_.FloorMenuFor(row); }
    void ReplyToFloor(int row);

    void StartSearch(const SearchRequest& request);
    // Closing: a search still running finishes unheard, so no outcome (and
    // no error box) reaches a window that is going away.
    void StopSearches() { searchWorker_.Disconnect(); }

private:
    void Run(const ForumAction& action);
    void Apply(const ForumUpdate& update);
    void LoadSections();
    SectionList FetchSections();
    void LoadPostList(const PostListRequest& request);
    void LoadFloors(const FloorRequest& request);
    void OpenPostDetail(const ForumAction& action);
    void OnSearchOutcome(const SearchOutcome& outcome);

    const ApiClient& api_;
    ForumHost& host_;
    ForumBrowser browser_;
    SearchWorker searchWorker_;
    std::unique_ptr<SectionsPrefetch> prefetch_;
};

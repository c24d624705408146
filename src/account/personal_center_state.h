// What the personal centre holds between key presses and how each function
// and tab page is fetched: the profile, the four counts, the page in the
// result list and the five tab pages, each tab fetched at most once. The
// requests run here synchronously; the dialog decides under which cursor.
#pragma once

#include <array>
#include <cstdint>

#include "account/personal_center_pages.h"
#include "api/api_client.h"

class PersonalCenterState {
public:
    PersonalCenterState(const ApiClient& client, const wxString& token, const wxString& cookies);

    // The session texts, after a login at start may have filled them.
    void SetSession(const wxString& token, const wxString& cookies);
    const wxString& Token() const { return token_; }
    const wxString& Cookies() const { return cookies_; }
    bool HasSession() const { return !token_.empty() || !cookies_.empty(); }

    UserInfo FetchProfile() const;
    void SetProfile(const UserInfo& profile) { profile_ = profile; }
    const UserInfo& Profile() const { return profile_; }
    HeaderTexts Header() const { return BuildHeader(profile_, postCount_, replyCount_); }

    // Loads function `type` afresh (the assets page from the counts already
    // held), makes it the current page, updates the post or reply count.
    const ShownPage& LoadFunction(int type);
    const ShownPage& Current() const { return current_; }

    // The two coin counts are wanted while either is missing, and only for
    // a profile that has an id: there is no user 0 to ask about.
    bool NeedsAssetCounts() const;
    ApiClient::IntResult FetchDiamondCount() const;
    ApiClient::IntResult FetchCoinCount() const;
    // Keeps the value of each count that arrived; a failed one stays -1.
    void StoreAssetCounts(const ApiClient::IntResult& diamonds, const ApiClient::IntResult& coins);

    bool TabLoaded(int index) const { return tabs_.at(static_cast<size_t>(index)).loaded; }
    // Fetches tab `index` unless it was loaded before (even when that failed).
    const ShownPage& LoadTab(int index);
    const ShownPage& Tab(int index) const { return tabs_.at(static_cast<size_t>(index)).shown; }

    int32_t PostCount() const { return postCount_; }
    int32_t ReplyCount() const { return replyCount_; }
    int32_t DiamondCount() const { return diamondCount_; }
    int32_t CoinCount() const { return coinCount_; }

private:
    struct TabRecord {
        ShownPage shown;
        bool loaded = false;
    };
    PersonalListPage FetchTab(int index) const;

    const ApiClient& client_;
    wxString token_;
    wxString cookies_;
    UserInfo profile_;
    int32_t postCount_ = -1;
    int32_t replyCount_ = -1;
    int32_t diamondCount_ = -1;
    int32_t coinCount_ = -1;
    ShownPage current_ = PlaceholderPage();
    std::array<TabRecord, kTabCount> tabs_;
};

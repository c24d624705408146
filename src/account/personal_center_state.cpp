#include "account/personal_center_state.h"

#include "platform/http_cancel.h"

namespace {

constexpr int32_t kFirstPage = 1;
constexpr int32_t kPageSize = 20;

const wxString& NoData()
{
    static const wxString text = wxS("当前没有可显示的数据。");
    return text;
}

template <class Answer>
ShownPage Shown(const Answer& answer, PersonalListPage (*build)(const Answer&), const wxString& emptyText)
{
    if (!answer.ok) return FailurePage(answer.error);
    return ShownPage{build(answer), emptyText, false};
}

PersonalListPage AsIs(const PersonalListPage& page)
{
    return page;
}

}  // namespace

PersonalCenterState::PersonalCenterState(const ApiClient& client, const wxString& token, const wxString& cookies)
    : client_(client), token_(token), cookies_(cookies)
{
    for (int i = 0; i < kTabCount; ++i) tabs_[static_cast<size_t>(i)].shown.emptyText = TabTextsOf(i).emptyText;
}

void PersonalCenterState::SetSession(const wxString& token, const wxString& cookies)
{
    token_ = token;
    cookies_ = cookies;
}

UserInfo PersonalCenterState::FetchProfile() const
{
    return client_.GetUserProfile(token_, cookies_);
}

const ShownPage& PersonalCenterState::LoadFunction(int type)
{
    switch (type) {
    case kFuncRelated:
    case kFuncMyPosts: {
        const PostListPage posts = type == kFuncRelated
                                       ? client_.GetMyReplies(token_, cookies_, kFirstPage, kPageSize)
                                       : client_.GetMyPosts(token_, cookies_, kFirstPage, kPageSize);
        current_ = Shown(posts, PostLines, NoData());
        if (posts.ok) (type == kFuncRelated ? replyCount_ : postCount_) = posts.pageInfo.total;
        break;
    }
    case kFuncFollowing:
        current_ = Shown(client_.GetFollowing(token_, cookies_), UserLines, NoData());
        break;
    case kFuncAssets:
        current_ = ShownPage{AssetLines(profile_, diamondCount_, coinCount_), NoData(), false};
        break;
    case kFuncAlbums:
        current_ = Shown(client_.GetAlbums(token_, cookies_), AlbumLines, NoData());
        break;
    case kFuncProfile:
        current_ = ShownPage{ProfileLines(profile_), NoData(), false};
        break;
    case kFuncQuestions:
        current_ = Shown(client_.GetMyQuestions(token_, cookies_, kFirstPage, kPageSize), QuestionLines, NoData());
        break;
    case kFuncMessages:
        current_ = Shown(client_.GetMyMessages(token_, cookies_, kFirstPage, kPageSize), AsIs, NoData());
        break;
    case kFuncDiamondBill:
        current_ = Shown(client_.GetDiamondBill(token_, cookies_, kFirstPage, kPageSize), AsIs, NoData());
        break;
    case kFuncCrowdfund:
        current_ = Shown(client_.GetCrowdfundSummary(token_, cookies_, kFirstPage, kPageSize), AsIs, NoData());
        break;
    default:
        break;
    }
    return current_;
}

bool PersonalCenterState::NeedsAssetCounts() const
{
    return profile_.id != 0 && (diamondCount_ == -1 || coinCount_ == -1);
}

ApiClient::IntResult PersonalCenterState::FetchDiamondCount() const
{
    return client_.GetDiamondCount(token_, cookies_, profile_.id);
}

ApiClient::IntResult PersonalCenterState::FetchCoinCount() const
{
    return client_.GetCoinCount(token_, cookies_, profile_.id);
}

void PersonalCenterState::StoreAssetCounts(const ApiClient::IntResult& diamonds, const ApiClient::IntResult& coins)
{
    if (diamonds.ok) diamondCount_ = diamonds.value;
    if (coins.ok) coinCount_ = coins.value;
}

PersonalListPage PersonalCenterState::FetchTab(int index) const
{
    switch (index) {
    case kTabSoldGoods: return client_.GetSoldGoods(token_, cookies_, kFirstPage, kPageSize);
    case kTabBoughtGoods: return client_.GetBoughtGoods(token_, cookies_, kFirstPage, kPageSize);
    case kTabBoughtPosts: return client_.GetBoughtPosts(token_, cookies_, kFirstPage, kPageSize);
    case kTabAttachmentSales: return client_.GetAttachmentSales(token_, cookies_, kFirstPage, kPageSize);
    default: return PersonalListPage{};
    }
}

const ShownPage& PersonalCenterState::LoadTab(int index)
{
    TabRecord& tab = tabs_.at(static_cast<size_t>(index));
    if (tab.loaded) return tab.shown;
    if (index == kTabRewards) {
        tab.shown = RewardsPage();
    } else {
        const PersonalListPage page = FetchTab(index);
        tab.shown = page.ok ? ShownPage{page, TabTextsOf(index).emptyText, false} : FailurePage(page.error);
    }
    // A load the user stopped is tried again when the tab is chosen again.
    tab.loaded = !platform::CancelRequested();
    return tab.shown;
}

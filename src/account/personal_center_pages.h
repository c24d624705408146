// The pages of the personal centre, built without a window: the lines of
// each function and tab page, their empty states, the header texts and
// which post a line opens. The dialog only lists what these return.
#pragma once

#include <cstdint>
#include <vector>

#include <wx/string.h>

#include "api/forum_records.h"
#include "api/personal_records.h"
#include "api/user_profile.h"

// The ten functions of the navigation list, by type number.
enum PersonalFunction : int {
    kFuncRelated = 0,
    kFuncFollowing = 1,
    kFuncAssets = 2,
    kFuncAlbums = 3,
    kFuncProfile = 4,
    kFuncMyPosts = 5,
    kFuncQuestions = 6,
    kFuncMessages = 7,
    kFuncDiamondBill = 8,
    kFuncCrowdfund = 9,
    kFunctionCount = 10,
};

// The five record tabs, by index.
enum PersonalTab : int {
    kTabSoldGoods = 0,
    kTabBoughtGoods = 1,
    kTabBoughtPosts = 2,
    kTabRewards = 3,  // no list on the server yet: a reserved notice
    kTabAttachmentSales = 4,
    kTabCount = 5,
};

wxString FunctionLabel(int type);
struct TabTexts {
    wxString title;
    wxString listName;
    wxString emptyText;
};
TabTexts TabTextsOf(int index);

// A page as it is shown: its lines and what the list says when it has none.
struct ShownPage {
    PersonalListPage page;
    wxString emptyText;
    bool failed = false;  // the single "加载失败" line
};

// What a list box holds for a page: its rows, the row to select and the
// text of the detail box.
struct ListFill {
    std::vector<wxString> rows;
    int selection = 0;
    wxString detail;
};
ListFill FillFor(const ShownPage& shown);
// A line's list text: its summary, or its title when the summary is empty.
wxString RowText(const RecordLine& line);

// Pages of single lines.
RecordLine NoticeLine(const wxString& title, const wxString& details);
ShownPage PlaceholderPage();                      // "请选择功能"
ShownPage FailurePage(const wxString& error);     // "加载失败"
ShownPage RewardsPage();                          // "打赏记录（预留）"

// Pages the dialog builds from other records.
PersonalListPage PostLines(const PostListPage& posts);
PersonalListPage UserLines(const FollowList& users);
PersonalListPage AlbumLines(const AlbumList& albums);
// Counts of -1 read "待加载".
PersonalListPage AssetLines(const UserInfo& profile, int32_t diamondCount, int32_t coinCount);
PersonalListPage ProfileLines(const UserInfo& profile);
// The questionnaire list behind its reserved notice line.
PersonalListPage QuestionLines(const PersonalListPage& answer);

// "%d", or "待加载" for -1.
wxString CountText(int32_t count);
struct HeaderTexts {
    wxString name, level, posts, replies;
};
HeaderTexts BuildHeader(const UserInfo& profile, int32_t postCount, int32_t replyCount);

// The post a line refers to: its objectId whenever that is set, otherwise
// its own id for a post line; 0 when it names no post.
int32_t PostToOpen(const RecordLine& line);

// What the screen reader hears when a page has loaded: its label and the
// number of lines, or "加载失败" with the failure text.
wxString LoadedAnnouncement(const wxString& label, const ShownPage& shown);

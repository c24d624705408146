#include "account/personal_center_pages.h"

namespace {

RecordLine Line(int32_t kind, int32_t id, const wxString& title, const wxString& summary,
                const wxString& details)
{
    RecordLine line;
    line.kind = kind;
    line.id = id;
    line.title = title;
    line.summary = summary;
    line.details = details;
    return line;
}

// A built page holds exactly its lines.
PersonalListPage PageOf(std::vector<RecordLine> lines)
{
    PersonalListPage page;
    page.ok = true;
    page.pageInfo.total = static_cast<int32_t>(lines.size());
    page.items = std::move(lines);
    return page;
}

ShownPage Single(const RecordLine& line, const wxString& emptyText, bool failed = false)
{
    return ShownPage{PageOf({line}), emptyText, failed};
}

}  // namespace

wxString FunctionLabel(int type)
{
    static const wchar_t* const labels[kFunctionCount] = {
        L"与我相关", L"特别关心", L"我的资产", L"我的专辑", L"个人信息",
        L"我的帖子", L"发布问卷", L"我的消息", L"钻石明细", L"众筹汇总",
    };
    return type >= 0 && type < kFunctionCount ? wxString(labels[type]) : wxString();
}

TabTexts TabTextsOf(int index)
{
    static const wchar_t* const texts[kTabCount][3] = {
        {L"售出物品", L"售出物品列表", L"当前没有售出物品记录。"},
        {L"购买物品", L"购买物品列表", L"当前没有购买物品记录。"},
        {L"购买帖子", L"购买帖子列表", L"当前没有购买帖子记录。"},
        {L"打赏记录", L"打赏记录列表", L"当前版本暂未接入打赏记录接口。"},
        {L"附件收费", L"附件收费列表", L"当前没有附件收费记录。"},
    };
    if (index < 0 || index >= kTabCount) return TabTexts{};
    return TabTexts{texts[index][0], texts[index][1], texts[index][2]};
}

wxString RowText(const RecordLine& line)
{
    return line.summary.empty() ? line.title : line.summary;
}

ListFill FillFor(const ShownPage& shown)
{
    ListFill fill;
    if (shown.page.items.empty()) {
        fill.rows.push_back(shown.emptyText);
        fill.detail = shown.emptyText;
        return fill;
    }
    for (const RecordLine& line : shown.page.items) fill.rows.push_back(RowText(line));
    fill.detail = shown.page.items.front().details;
    return fill;
}

RecordLine NoticeLine(const wxString& title, const wxString& details)
{
    return Line(kRecordNotice, 0, title, title, details);
}

ShownPage PlaceholderPage()
{
    return Single(NoticeLine(wxS("请选择功能"), wxS("在左侧列表按回车加载对应内容。")), wxS("请选择功能。"));
}

ShownPage FailurePage(const wxString& error)
{
    return Single(NoticeLine(wxS("加载失败"), error), wxS("当前没有可显示的数据。"), true);
}

ShownPage RewardsPage()
{
    return Single(NoticeLine(wxS("打赏记录（预留）"),
                             wxS("当前接口文档里没有明确的打赏记录列表接口，本版本先预留此页。")),
                  TabTextsOf(kTabRewards).emptyText);
}

PersonalListPage PostLines(const PostListPage& posts)
{
    std::vector<RecordLine> lines;
    for (const PostSummary& post : posts.items) {
        lines.push_back(Line(kRecordPost, post.id, post.title,
                             wxString::Format(wxS("%s | %s | %d回复 %d浏览"), post.title, post.userName,
                                              post.replyCount, post.viewCount),
                             wxString::Format(wxS("标题：%s\r\n作者：%s\r\n回复数：%d\r\n浏览数：%d\r\n时间：%s"),
                                              post.title, post.userName, post.replyCount, post.viewCount,
                                              post.createTime)));
    }
    PersonalListPage page = PageOf(std::move(lines));
    page.pageInfo = posts.pageInfo;
    return page;
}

PersonalListPage UserLines(const FollowList& users)
{
    std::vector<RecordLine> lines;
    for (const FollowEntry& user : users.users) {
        wxString summary = user.name;
        wxString details = wxS("用户名：") + user.name;
        if (!user.level.empty()) {
            summary += wxS(" | ") + user.level;
            details += wxS("\r\n等级：") + user.level;
        }
        if (!user.avatar.empty()) details += wxS("\r\n头像：") + user.avatar;
        lines.push_back(Line(kRecordUser, user.id, user.name, summary, details));
    }
    return PageOf(std::move(lines));
}

PersonalListPage AlbumLines(const AlbumList& albums)
{
    std::vector<RecordLine> lines;
    for (const AlbumEntry& album : albums.albums) {
        lines.push_back(Line(kRecordNamed, album.id, album.name, album.name,
                             wxString::Format(wxS("专辑编号：%d\r\n专辑名称：%s"), album.id, album.name)));
    }
    return PageOf(std::move(lines));
}

PersonalListPage AssetLines(const UserInfo& profile, int32_t diamondCount, int32_t coinCount)
{
    const wxString diamonds = CountText(diamondCount);
    const wxString coins = CountText(coinCount);
    return PageOf({
        Line(kRecordNotice, 0, wxS("余额"), wxString::Format(wxS("余额：%.2f"), profile.balance),
             wxString::Format(wxS("账户余额：%.2f"), profile.balance)),
        Line(kRecordNotice, 0, wxS("积分"), wxString::Format(wxS("积分：%d"), profile.point),
             wxString::Format(wxS("当前积分：%d"), profile.point)),
        Line(kRecordNotice, 0, wxS("钻石"), wxS("钻石：") + diamonds, wxS("当前钻石：") + diamonds),
        Line(kRecordNotice, 0, wxS("岚音币"), wxS("岚音币：") + coins, wxS("当前岚音币：") + coins),
        Line(kRecordNotice, 0, wxS("手机号"), wxS("手机号：") + profile.mobile, wxS("绑定手机号：") + profile.mobile),
    });
}

PersonalListPage ProfileLines(const UserInfo& profile)
{
    const wxString birth = wxS("出生日期：") + (profile.birth.empty() ? wxString(wxS("未填写")) : profile.birth);
    const wxString avatar = wxS("头像地址：") + (profile.avatar.empty() ? wxString(wxS("未设置")) : profile.avatar);
    const wxString manager = profile.isManager != 0 ? wxS("是") : wxS("否");
    return PageOf({
        Line(kRecordNotice, 0, wxS("用户名"), wxS("用户名：") + profile.name, wxS("用户名：") + profile.name),
        Line(kRecordNotice, 0, wxS("等级"), wxS("等级：") + profile.level, wxS("会员等级：") + profile.level),
        Line(kRecordNotice, 0, wxS("手机号"), wxS("手机号：") + profile.mobile, wxS("手机号：") + profile.mobile),
        Line(kRecordNotice, 0, wxS("出生日期"), birth, birth),
        Line(kRecordNotice, 0, wxS("头像地址"), avatar, avatar),
        Line(kRecordNotice, 0, wxS("管理员状态"), wxS("管理员：") + manager, wxS("管理员状态：") + manager),
    });
}

PersonalListPage QuestionLines(const PersonalListPage& answer)
{
    PersonalListPage page = answer;
    page.items.insert(page.items.begin(),
                      NoticeLine(wxS("发布问卷（预留）"), wxS("当前版本先展示我的问卷列表，问卷创建表单后续再接。")));
    return page;
}

wxString CountText(int32_t count)
{
    return count == -1 ? wxString(wxS("待加载")) : wxString::Format(wxS("%d"), count);
}

HeaderTexts BuildHeader(const UserInfo& profile, int32_t postCount, int32_t replyCount)
{
    return HeaderTexts{wxS("会员名称：") + profile.name, wxS("会员等级：") + profile.level,
                       wxS("发帖数：") + CountText(postCount), wxS("回帖数：") + CountText(replyCount)};
}

int32_t PostToOpen(const RecordLine& line)
{
    if (line.objectId != 0) return line.objectId;
    return line.kind == kRecordPost ? line.id : 0;
}

wxString LoadedAnnouncement(const wxString& label, const ShownPage& shown)
{
    if (shown.failed) {
        const wxString error = shown.page.items.empty() ? wxString() : shown.page.items.front().details;
        return wxS("加载失败：") + error;
    }
    if (shown.page.items.empty()) return label + wxS("：") + shown.emptyText;
    return wxString::Format(wxS("%s已加载，共 %zu 条。"), label, shown.page.items.size());
}

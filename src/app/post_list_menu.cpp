#include "app/post_list_menu.h"

#include "app/forum_browser.h"

std::optional<ListEntry> PostRowAt(const ForumBrowser& browser, int row)
{
    const View* top = browser.Top();
    const std::vector<ListEntry>& rows = browser.ShownEntries();
    if (!top || top->kind != ViewKind::PostList || row < 0 || row >= static_cast<int>(rows.size()))
        return std::nullopt;
    const ListEntry& entry = rows[static_cast<size_t>(row)];
    if (entry.type != EntryType::PostRow)
        return std::nullopt;
    return entry;
}

PostMenuItems PostMenuFor(bool isOwner, const ManagerCheck& check)
{
    const bool manager = check.answered && check.isManager;
    return PostMenuItems{isOwner || manager, manager};
}

wxString DeletePostQuestion(const wxString& postTitle)
{
    return wxString::Format(wxString::FromUTF8("确定要删除帖子《%s》吗？"), postTitle);
}

wxString NoPostActionsText()
{
    return wxString::FromUTF8("没有可用的帖子操作");
}

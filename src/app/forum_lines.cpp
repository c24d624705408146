#include "app/forum_lines.h"

wxString FormatPostLine(const PostSummary& post)
{
    return wxString::Format(wxS("%s | %s | %d回复 %d浏览 | %s"), post.title, post.userName,
                            post.replyCount, post.viewCount, post.createTime);
}

wxString FormatFloorLine(const ReplyItem& reply)
{
    wxString line = wxString::Format(wxS("%d楼 %s：%s"), reply.floor, reply.userName, reply.body);
    line.Replace(wxS("\r"), wxS(" "));
    line.Replace(wxS("\n"), wxS(" "));
    // wxString indexes code points here, so the cut never splits a character.
    if (line.length() > kFloorLineLimit)
        line = line.Left(kFloorLineLimit) + wxS("...");
    if (reply.parentFloor > 0)
        line += wxString::Format(wxS(" | 回复 %d楼"), reply.parentFloor);
    return line;
}

wxString FormatPageSummary(const PageInfo& paging)
{
    return wxString::Format(wxS("当前共 %d 页，第 %d 页，共 %d 条"), paging.pages, paging.pageNum,
                            paging.total);
}

ListEntry MakeTextRow(EntryType type, const wxString& text)
{
    ListEntry row;
    row.type = type;
    row.text = text;
    return row;
}

void AppendPagingRows(std::vector<ListEntry>& entries, const PageInfo& paging)
{
    const bool first = paging.pageNum <= 1;
    const bool last = paging.pageNum >= paging.pages;
    entries.push_back(MakeTextRow(EntryType::PageSummaryRow, FormatPageSummary(paging)));
    entries.push_back(MakeTextRow(EntryType::PreviousPageRow,
                                  first ? wxS("上一页（当前已是第一页）") : wxS("上一页")));
    entries.push_back(MakeTextRow(EntryType::NextPageRow,
                                  last ? wxS("下一页（当前已是最后一页）") : wxS("下一页")));
    entries.push_back(MakeTextRow(EntryType::FirstPageRow,
                                  first ? wxS("回到首页（当前已是第一页）") : wxS("回到首页")));
    entries.push_back(MakeTextRow(EntryType::LastPageRow,
                                  last ? wxS("回到尾页（当前已是最后一页）") : wxS("回到尾页")));
}

ListEntry MakePostRow(const PostSummary& post, int32_t sectionId, const wxString& listName)
{
    ListEntry row = MakeTextRow(EntryType::PostRow, FormatPostLine(post));
    row.postId = post.id;
    row.postTitle = post.title;
    row.sectionId = sectionId;
    row.listName = listName;
    return row;
}

ListEntry MakeNoticeRow(const wxString& text)
{
    return MakeTextRow(EntryType::NoticeRow, text);
}

#pragma once

// Row texts of the forum lists: the exact lines a screen reader reads out.

#include <vector>

#include <wx/string.h>

#include "api/forum_records.h"
#include "app/forum_view.h"

// A floor line longer than this many characters (not bytes) is cut.
inline constexpr size_t kFloorLineLimit = 120;

// "title | user | N回复 M浏览 | time"
wxString FormatPostLine(const PostSummary& post);

// "N楼 user：body" on one line, cut to kFloorLineLimit characters, then the
// " | 回复 N楼" suffix for replies to a floor.
wxString FormatFloorLine(const ReplyItem& reply);

wxString FormatPageSummary(const PageInfo& paging);

// The five rows that close every post list and floor list.
void AppendPagingRows(std::vector<ListEntry>& entries, const PageInfo& paging);

// A post row of a post list; `sectionId` is 0 outside section lists.
ListEntry MakePostRow(const PostSummary& post, int32_t sectionId, const wxString& listName);

// A row that is only its type and text: home rows, paging rows, notices.
ListEntry MakeTextRow(EntryType type, const wxString& text);

ListEntry MakeNoticeRow(const wxString& text);

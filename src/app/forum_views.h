#pragma once

// Building the forum views from answers, and the texts that describe them.

#include <vector>

#include <wx/string.h>

#include "api/forum_records.h"
#include "app/forum_actions.h"
#include "app/forum_view.h"

struct SessionRow
{
    bool loggedIn = false;
    wxString displayName;
};

View BuildHomeView(const SessionRow& session, const std::vector<SectionInfo>& sections);

// The answer must be ok; the request says which list it was.
View BuildPostListView(const PostListRequest& request, const PostListPage& page);

View BuildFloorView(const FloorRequest& request, const ReplyPage& page);

// A search view waiting for its answer: one notice row, no paging rows.
View BuildSearchPlaceholder(const wxString& keyword, int32_t pageNum);

// Fills a search view in place with an ok answer.
void FillSearchView(View& view, const PostListPage& page);

wxString ListLabelFor(const View& view);

// Status field text describing a view; nullptr: nothing loaded yet.
wxString StatusHintFor(const View* view);

wxString ListNameFor(ListSource source);
wxString EmptyListNotice(ListSource source);

// Captions of the error boxes of the loaders.
wxString PostListFailureCaption(ListSource source);
wxString FloorsFailureCaption();
wxString SectionsFailureCaption();
wxString PostDetailFailureCaption();
wxString SearchFailureCaption();

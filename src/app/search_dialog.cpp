#include "app/search_dialog.h"

#include <wx/textdlg.h>

#include "app/search_keyword.h"
#include "platform/accessibility.h"
#include "ui/message_box.h"

std::optional<wxString> AskSearchKeyword(wxWindow* parent)
{
    wxTextEntryDialog dialog(parent, SearchKeywordPrompt(), SearchKeywordCaption(), wxString(),
                             wxOK | wxCANCEL | wxCENTRE);
    SetOkCancelLabels(&dialog, SearchButtonLabel(), CancelLabel());
    a11y::NamePromptField(&dialog, SearchKeywordPrompt());
    if (dialog.ShowModal() != wxID_OK)
        return std::nullopt;
    std::optional<wxString> keyword = CleanSearchKeyword(dialog.GetValue());
    if (!keyword)
        ShowNoticeBox(parent, SearchKeywordMissing());
    return keyword;
}

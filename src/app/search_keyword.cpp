#include "app/search_keyword.h"

wxString SearchKeywordPrompt() { return wxS("请输入帖子关键词。"); }
wxString SearchKeywordCaption() { return wxS("搜索帖子"); }
wxString SearchButtonLabel() { return wxS("搜索"); }
wxString SearchKeywordMissing() { return wxS("请输入搜索关键词。"); }

namespace {

// Chinese input methods type the ideographic space, so it counts as white
// space next to the ASCII ones.
bool IsKeywordSpace(wxUniChar c)
{
    const auto v = c.GetValue();
    return v == ' ' || v == '\t' || v == '\r' || v == '\n' || v == '\v' || v == '\f' || v == 0x3000;
}

} // namespace

std::optional<wxString> CleanSearchKeyword(const wxString& entered)
{
    size_t begin = 0;
    size_t end = entered.length();
    while (begin < end && IsKeywordSpace(entered[begin]))
        ++begin;
    while (end > begin && IsKeywordSpace(entered[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    return entered.Mid(begin, end - begin);
}

// What the "帖子操作" menu of the post detail window offers and what each of
// its commands asks, sends, says and ends with, decided without a window.
// The window only shows the items, asks the questions and shows the boxes.
#pragma once

#include "api/api_result.h"
#include "api/forum_records.h"

#include <wx/string.h>

#include <cstdint>
#include <vector>

class ApiClient;

namespace postcmd {

inline constexpr int kReport = 6501;
inline constexpr int kOnlyOp = 6502;
inline constexpr int kMessage = 6503;
inline constexpr int kEdit = 6504;
inline constexpr int kDelete = 6505;
inline constexpr int kMove = 6506;
inline constexpr int kShield = 6507;
inline constexpr int kEssence = 6508;
inline constexpr int kTop = 6509;
inline constexpr int kTopAll = 6510;
inline constexpr int kSink = 6511;
inline constexpr int kLock = 6512;
inline constexpr int kSilence = 6513;
inline constexpr int kBan = 6514;
inline constexpr int kSeparator = 0;

}  // namespace postcmd

// One entry of the menu; `id` is postcmd::kSeparator for the separator.
struct PostMenuItem {
    int id = 0;
    wxString label;
};

// The items in menu order, their labels following the post's current state.
std::vector<PostMenuItem> BuildPostMenu(const PostDetail& post, bool managerFlag, bool allowOnlyOp);

// Who may run a command.
enum class CommandNeed { Nothing, Session, OwnerOrManager, Manager };

// What a command asks before it sends.
enum class CommandInput {
    None,
    Question,         // yes/no, question icon
    WarningQuestion,  // yes/no, warning icon
    Text,             // one-line prompt, trimmed
    Section,          // choice among the sections
};

struct PostCommandPlan {
    int id = 0;
    CommandNeed need = CommandNeed::Nothing;
    // Aimed at the post's author, who must be known (userId not 0).
    bool needsAuthor = false;
    CommandInput input = CommandInput::None;
    wxString caption;      // of the question, prompt or section choice
    wxString message;      // its text
    wxString emptyNotice;  // Text: the input was empty; Section: no sections
    wxString successText;
    int endCode = 0;       // the dialog's result on success; 0 keeps it open
};

// The plan for `id` against the post as the dialog holds it now; the
// switches choose their direction and texts from the current state.
PostCommandPlan PlanPostCommand(int id, const PostDetail& post);

// Whether a plan's need is met.
bool CommandAllowed(CommandNeed need, bool signedIn, bool isOwner, bool managerFlag);

// Said when a command against the author finds no author.
wxString UnknownAuthorText();
// Said when a re-login dropped the manager right a command needed.
wxString ReopenMenuText();

// The failure box's message: the result's message, then the debug text
// after a blank line and "调试信息：" when there is one.
wxString ResultFailureText(const ApiResult& result);

// The index of the section with `sectionId`, or -1.
int SectionIndex(const std::vector<SectionInfo>& sections, int32_t sectionId);

// What the user gave: the trimmed text, or the chosen section.
struct CommandInputValue {
    wxString text;
    int32_t sectionId = 0;
};

// Sends the server call of a command (not edit, not "only the thread
// starter") with the dialog's session. Switches go the opposite way of the
// post's current state.
ApiResult SendPostCommand(const ApiClient& client, const wxString& token, const wxString& cookies,
                          const PostDetail& post, int id, const CommandInputValue& input);

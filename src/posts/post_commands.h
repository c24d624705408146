// The "帖子操作" menu of the post detail window and its commands: the
// refresh before the menu, the session check, the questions and prompts,
// one blocking request per command and the box that reports it. What to
// offer and what each command means comes from post_commands_model.h.
#pragma once

#include "api/api_result.h"
#include "api/forum_records.h"
#include "posts/post_commands_model.h"
#include "posts/post_detail_model.h"

#include <functional>
#include <optional>
#include <vector>

class ApiClient;
class wxDialog;
class wxWindow;

// Opens the post composer to edit `post`; true when it saved. Kept as one
// function so the window that edits can change without touching the menu.
using PostEditorOpener = std::function<bool(wxWindow* parent, const PostDetail& post, bool asManager)>;

// The dialog state the commands read and change. It belongs to the
// dialog; the commands hold references.
struct PostCommandState {
    wxString& token;
    wxString& cookies;
    PostDetail& post;
    bool& managerFlag;
    const std::vector<SectionInfo>& sections;
    const LoginCallback& loginCallback;
    bool allowOnlyOp;
};

class PostCommands {
public:
    PostCommands(wxDialog* dialog, ApiClient& client, PostCommandState state, PostEditorOpener openEditor);

    // The menu: refresh the post and the manager right, then show the
    // items under `button`. A chosen item runs through Run.
    void OpenMenu(wxWindow* button);
    // Step one of opening the menu, on its own for tests: the fresh post
    // and the manager right (failures leave the old copy and no right).
    // False when the user stopped the wait; nothing has changed then.
    bool Refresh();
    std::vector<PostMenuItem> MenuItems() const;

    // Runs one command of the menu.
    void Run(int id);

    // True when the dialog holds a valid session, asking the opener to log
    // in when it holds none or the server says it is gone.
    bool EnsureSession();
    // Success: a notice with `successText`, then the dialog ends with
    // `endCode` when `end`. Failure: "操作失败" with message and debug text.
    void ShowResultBox(const ApiResult& result, const wxString& successText, bool end, int endCode);

private:
    bool AskInput(const PostCommandPlan& plan, CommandInputValue& value);
    std::optional<int32_t> ChooseSection(const PostCommandPlan& plan);
    void Edit();
    void EndDialog(int code);

    wxDialog* dialog_;
    ApiClient* client_;
    PostCommandState state_;
    PostEditorOpener openEditor_;
    // Set by a session check that had to log in again: the manager right
    // is gone until the menu is opened again.
    bool reloggedIn_ = false;
};

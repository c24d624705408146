// The post detail dialog's side of the "帖子操作" menu: it hands its state
// to the commands and its button to the menu.
#include "posts/post_detail_dialog.h"

#include "posts/post_editor.h"

#include <wx/button.h>

std::unique_ptr<PostCommands> PostDetailDialog::MakePostCommands() {
    PostCommandState state{token_, cookies_, post_, managerFlag_, sections_, loginCallback_, allowOnlyOp_};
    auto openEditor = [this](wxWindow* parent, const PostDetail& post, bool asManager) {
        return OpenPostEditor(parent, *client_, token_, cookies_, sections_, loginCallback_, post, asManager);
    };
    return std::make_unique<PostCommands>(this, *client_, state, openEditor);
}

void PostDetailDialog::OnPostActions(wxCommandEvent& event) {
    commands_->OpenMenu(FindWindow(event.GetId()));
}

#include "posts/post_editor.h"

#include "posts/post_composer_dialog.h"

bool OpenPostEditor(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                    const std::vector<SectionInfo>& sections, const LoginCallback& loginCallback,
                    const PostDetail& post, bool asManager) {
    PostComposerDialog composer(parent, client, token, cookies, sections, loginCallback, post, asManager);
    return composer.ShowModal() == wxID_OK;
}

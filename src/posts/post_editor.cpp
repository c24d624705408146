#include "posts/post_editor.h"

#include "ui/message_box.h"

// The composer window is not part of this build yet: say so instead of
// doing nothing, and report that nothing was saved.
bool OpenPostEditor(wxWindow* parent, ApiClient&, const wxString&, const wxString&,
                    const std::vector<SectionInfo>&, const LoginCallback&, const PostDetail&, bool) {
    ShowNoticeBox(parent, wxString::FromUTF8("编辑帖子的窗口尚未提供。"));
    return false;
}

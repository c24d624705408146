// Editing a post from the post detail window's "修改" command.
#pragma once

#include "api/forum_records.h"
#include "posts/post_detail_model.h"

#include <vector>

class ApiClient;
class wxWindow;

// Opens the post composer in edit mode on `post` (as fetched for editing)
// and returns true when the composer saved it.
bool OpenPostEditor(wxWindow* parent, ApiClient& client, const wxString& token, const wxString& cookies,
                    const std::vector<SectionInfo>& sections, const LoginCallback& loginCallback,
                    const PostDetail& post, bool asManager);

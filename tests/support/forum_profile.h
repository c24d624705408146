// A throwaway user profile whose settings.ini names the forum server, for
// tests that build the real main window: HOME and XDG_DATA_HOME point into a
// temporary folder while the object lives, and are restored afterwards.
//
//   qtest::ForumProfile profile("127.0.0.1", forum.port());
//   MainFrame* frame = new MainFrame();   // talks to that server
#pragma once

#include "support/temp_dir.h"

#include <optional>
#include <string>

namespace qtest {

class ForumProfile {
public:
    ForumProfile(const std::string& host, int port);
    ~ForumProfile();
    ForumProfile(const ForumProfile&) = delete;
    ForumProfile& operator=(const ForumProfile&) = delete;

    // The folder that holds settings.ini.
    std::string settingsFolder() const;
    std::string settingsText() const;

private:
    TempDir dir_;
    std::optional<std::string> oldHome_, oldData_;
};

}  // namespace qtest

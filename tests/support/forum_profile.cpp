#include "support/forum_profile.h"

#include <cstdlib>

namespace qtest {

namespace {

std::optional<std::string> Get(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void Restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

}  // namespace

ForumProfile::ForumProfile(const std::string& host, int port)
    : oldHome_(Get("HOME")), oldData_(Get("XDG_DATA_HOME")) {
    dir_.write("home/.keep", "");
    dir_.write("data/澄川论坛/settings.ini",
               "[server]\nhost=" + host + "\nport=" + std::to_string(port) + "\n");
    setenv("HOME", dir_.file("home").c_str(), 1);
    setenv("XDG_DATA_HOME", dir_.file("data").c_str(), 1);
}

ForumProfile::~ForumProfile() {
    Restore("HOME", oldHome_);
    Restore("XDG_DATA_HOME", oldData_);
}

std::string ForumProfile::settingsFolder() const { return dir_.file("data/澄川论坛"); }

std::string ForumProfile::settingsText() const {
    return ReadFile(settingsFolder() + "/settings.ini");
}

}  // namespace qtest

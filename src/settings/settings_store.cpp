#include "settings/settings_store.h"

#include <wx/fileconf.h>
#include <wx/utils.h>

#include <sys/stat.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char* const kAppFolder = "澄川论坛";

void EnsureFolder(const wxString& folder)
{
    std::error_code ec;
    fs::path p = fs::u8path(folder.utf8_string());
    if (fs::is_directory(p, ec)) return;
    fs::create_directories(p, ec);
    if (!ec) fs::permissions(p, fs::perms::owner_all, ec);
}

}  // namespace

SettingsStore::SettingsStore(wxString folder)
    : folder_(folder.empty() ? DefaultSettingsFolder() : std::move(folder))
{
}

wxString SettingsStore::DefaultSettingsFolder()
{
    wxString base;
    wxString xdg;
    if (wxGetEnv("XDG_DATA_HOME", &xdg) && xdg.StartsWith("/")) {
        base = xdg;
    } else {
        base = wxGetHomeDir() + "/.local/share";
    }
    if (!base.EndsWith("/")) base += "/";
    return base + wxString::FromUTF8(kAppFolder);
}

wxString SettingsStore::SettingsFilePath() const
{
    EnsureFolder(folder_);
    wxString path = folder_;
    if (!path.EndsWith("/")) path += "/";
    return path + "settings.ini";
}

SettingsFile SettingsStore::Open() const
{
    return SettingsFile::Open(SettingsFilePath());
}

LoginSettings SettingsStore::LoadLoginSettings() const
{
    SettingsFile file = Open();
    const wxFileConfig& config = file.View();
    LoginSettings s;
    s.mobile = config.Read("/login/mobile", wxString());
    s.password = config.Read("/login/password", wxString());
    s.rememberPassword = config.ReadBool("/login/rememberPassword", false);
    s.autoLogin = config.ReadBool("/login/autoLogin", false);
    if (!s.rememberPassword) {
        s.password.clear();
        s.autoLogin = false;
    }
    return s;
}

bool SettingsStore::SaveLoginSettings(const LoginSettings& settings) const
{
    SettingsFile file = Open();
    wxFileConfig& config = file.Config();
    config.SetPath("/login");
    config.Write("mobile", settings.mobile);
    config.Write("rememberPassword", settings.rememberPassword);
    config.Write("autoLogin", settings.rememberPassword && settings.autoLogin);
    // An empty password is no password: one kept in the keyring leaves no
    // entry behind.
    if (settings.rememberPassword && !settings.password.empty()) {
        config.Write("password", settings.password);
    } else {
        config.DeleteEntry("password", true);
    }
    return file.Save();
}

bool SettingsStore::ClearLoginSettings() const
{
    SettingsFile file = Open();
    file.Config().DeleteGroup("/login");
    return file.Save();
}

ServerEndpoint SettingsStore::LoadServerEndpoint() const
{
    ServerEndpoint endpoint = DefaultServerEndpoint();
    SettingsFile file = Open();
    const wxFileConfig& config = file.View();
    wxString host = config.Read("/server/host", wxString()).Trim(true).Trim(false);
    if (!host.empty()) endpoint.host = host;
    // Anything but "http" counts as HTTPS: a mistyped "htps" must not send
    // the password in plain text.
    wxString scheme = config.Read("/server/scheme", wxString()).Trim(true).Trim(false).Lower();
    if (!scheme.empty()) endpoint.https = scheme != wxS("http");
    if (endpoint.https) endpoint.port = 443;
    endpoint.caFile = config.Read("/server/caFile", wxString()).Trim(true).Trim(false);
    long port = config.ReadLong("/server/port", 0);
    if (port >= 1 && port <= 65535) endpoint.port = static_cast<int>(port);
    return endpoint;
}

// One opened copy of settings.ini. Every load or save reads the whole file
// into memory, lets the caller read or change its groups, and writes the
// whole file back; there is no settings object that lives for the run.
#pragma once

#include <wx/string.h>

#include <memory>
#include <string>

class wxFileConfig;

class SettingsFile {
public:
    // Reads path; a missing file gives an empty document. A file that
    // exists but cannot be read also gives an empty document, which then
    // refuses to be saved so the unread file is never overwritten.
    static SettingsFile Open(const wxString& path);

    SettingsFile(SettingsFile&&) noexcept;
    SettingsFile& operator=(SettingsFile&&) noexcept;
    ~SettingsFile();

    wxFileConfig& Config() { return *config_; }
    const wxFileConfig& Config() const { return *config_; }

    // Writes the whole document to a new file beside the old one and renames
    // it over the old one, so a failed write leaves the previous file whole.
    // The file is readable by its owner only: it may hold a password.
    bool Save() const;

    // The document's text as it would be written (UTF-8).
    std::string Serialize() const;

private:
    SettingsFile(wxString path, std::unique_ptr<wxFileConfig> config, bool writable);

    wxString path_;
    std::unique_ptr<wxFileConfig> config_;
    bool writable_ = true;
};

// Replaces path with bytes through a temporary file in the same folder
// (mode 0600, flushed to disk before the rename). False when any step fails;
// the previous file is then untouched and no temporary file is left.
bool ReplaceFileAtomically(const wxString& path, const std::string& bytes);

// settings.ini as this process holds it. The file is read and parsed once
// and the document kept for the run; every later Open only checks, with
// one stat(), that the file on disk is still the version it was read from
// or last written as. Another instance of the program saving, or a hand
// edit, gives the file a new version, and the next Open reads that, as
// every operation did when each one read the whole file: the last writer's
// groups win, and a save starts from what is on disk then.
#pragma once

#include "settings/settings_disk.h"

#include <wx/string.h>

#include <memory>
#include <mutex>
#include <string>

class wxFileConfig;

class SettingsFile {
public:
    // The document of the file at path, read again only when the file has
    // changed. A missing file gives an empty document. A file that exists
    // but cannot be read also gives an empty document, which then refuses
    // to be saved so the unread file is never overwritten.
    static SettingsFile Open(const wxString& path);

    SettingsFile(SettingsFile&&) noexcept;
    SettingsFile& operator=(SettingsFile&&) noexcept;
    // Changes that were not saved are dropped with the handle: the next
    // Open reads the file again rather than see them.
    ~SettingsFile();

    // The document, to change (then Save) or to read with relative paths.
    wxFileConfig& Config();
    // The document, to read with absolute paths ("/group/key") only.
    const wxFileConfig& View() const;

    // Writes the whole document to a new file beside the old one and renames
    // it over the old one, so a failed write leaves the previous file whole.
    // The file is readable by its owner only: it may hold a password. When
    // the document's text is what the file already holds, nothing is
    // written. A failed save drops the changes, as the handle's end does.
    bool Save();

    // The document's text as it would be written (UTF-8).
    std::string Serialize() const;

    struct Document;

private:
    SettingsFile(std::shared_ptr<Document> document, std::unique_lock<std::recursive_mutex> lock);
    void DropIfChanged();

    std::shared_ptr<Document> document_;
    // Held while the handle lives: one handle at a time changes a document.
    std::unique_lock<std::recursive_mutex> lock_;
    bool changing_ = false;
};

#include "settings/settings_file.h"

#include <wx/fileconf.h>

#include <map>

struct SettingsFile::Document {
    wxString path;
    std::unique_ptr<wxFileConfig> config;
    bool writable = true;
    SettingsFileVersion version;  // what the file held when read or written
};

namespace {

// The documents this process holds, by path. Settings are read and written
// on the UI thread; the lock only keeps a stray caller on another thread
// from seeing a document half changed.
struct Documents {
    std::recursive_mutex mutex;
    std::map<wxString, std::shared_ptr<SettingsFile::Document>> byPath;
};

Documents& Held()
{
    static Documents* documents = new Documents;  // used until the very end
    return *documents;
}

std::shared_ptr<SettingsFile::Document> ReadDocument(const wxString& path)
{
    auto document = std::make_shared<SettingsFile::Document>();
    document->path = path;
    std::string bytes;
    document->writable = ReadSettingsBytes(path, bytes, document->version);
    document->config = ParseSettings(bytes);
    return document;
}

void Forget(const std::shared_ptr<SettingsFile::Document>& document)
{
    auto& held = Held().byPath;
    auto it = held.find(document->path);
    if (it != held.end() && it->second == document) held.erase(it);
}

}  // namespace

SettingsFile::SettingsFile(std::shared_ptr<Document> document, std::unique_lock<std::recursive_mutex> lock)
    : document_(std::move(document)), lock_(std::move(lock))
{
}

SettingsFile::SettingsFile(SettingsFile&& other) noexcept
    : document_(std::move(other.document_)), lock_(std::move(other.lock_)), changing_(other.changing_)
{
    other.changing_ = false;
}

SettingsFile& SettingsFile::operator=(SettingsFile&& other) noexcept
{
    if (this != &other) {
        DropIfChanged();
        document_ = std::move(other.document_);
        lock_ = std::move(other.lock_);
        changing_ = other.changing_;
        other.changing_ = false;
    }
    return *this;
}

SettingsFile::~SettingsFile() { DropIfChanged(); }

void SettingsFile::DropIfChanged()
{
    if (document_ && changing_) Forget(document_);
    changing_ = false;
}

SettingsFile SettingsFile::Open(const wxString& path)
{
    std::unique_lock<std::recursive_mutex> lock(Held().mutex);
    std::shared_ptr<Document>& held = Held().byPath[path];
    // An unreadable file is tried again every time, as it may become
    // readable; so is a path whose state stat() cannot tell.
    if (!held || !held->writable || !held->version.StillOnDisk(path)) held = ReadDocument(path);
    held->config->SetPath("/");
    return SettingsFile(held, std::move(lock));
}

wxFileConfig& SettingsFile::Config()
{
    changing_ = true;
    return *document_->config;
}

const wxFileConfig& SettingsFile::View() const { return *document_->config; }

std::string SettingsFile::Serialize() const { return SerializeSettings(*document_->config); }

bool SettingsFile::Save()
{
    Document& document = *document_;
    bool saved = false;
    if (document.writable && !document.path.empty()) {
        std::string bytes = Serialize();
        // The file may have been removed or replaced since this handle
        // opened it; then it is written whatever it held.
        bool unchanged = document.version.stamp.state == FileStamp::State::Present &&
                         HashSettingsBytes(bytes) == document.version.hash &&
                         FileStamp::Of(document.path) == document.version.stamp;
        saved = unchanged || ReplaceFileAtomically(document.path, bytes, document.version);
    }
    if (saved) {
        changing_ = false;
    } else {
        DropIfChanged();
        Forget(document_);
    }
    return saved;
}

#include "posts/post_drafts.h"

#include "settings/settings_disk.h"

#include <wx/fileconf.h>
#include <wx/filename.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kComposerKind = "composer";
const char* const kReplyKind = "reply";

wxString Number(double value) { return wxString::FromCDouble(value); }

double ReadDouble(wxFileConfig& config, const wxString& key) {
    double value = 0.0;
    return config.Read(key, wxString()).ToCDouble(&value) ? value : 0.0;
}

int32_t ReadInt(wxFileConfig& config, const wxString& key) {
    return static_cast<int32_t>(config.ReadLong(key, 0));
}

void WriteFiles(wxFileConfig& config, const wxString& group, const std::vector<AttachmentEntry>& files) {
    config.Write(group + "/count", static_cast<long>(files.size()));
    for (size_t i = 0; i < files.size(); ++i) {
        const wxString at = wxString::Format("%s/%zu/", group, i);
        config.Write(at + "fileId", static_cast<long>(files[i].fileId));
        config.Write(at + "coverId", static_cast<long>(files[i].coverId));
        config.Write(at + "name", files[i].name);
        config.Write(at + "url", files[i].url);
        config.Write(at + "localPath", files[i].localPath);
    }
}

std::vector<AttachmentEntry> ReadFiles(wxFileConfig& config, const wxString& group) {
    std::vector<AttachmentEntry> files(std::max<long>(0, config.ReadLong(group + "/count", 0)));
    for (size_t i = 0; i < files.size(); ++i) {
        const wxString at = wxString::Format("%s/%zu/", group, i);
        files[i].fileId = ReadInt(config, at + "fileId");
        files[i].coverId = ReadInt(config, at + "coverId");
        files[i].name = config.Read(at + "name", wxString());
        files[i].url = config.Read(at + "url", wxString());
        files[i].localPath = config.Read(at + "localPath", wxString());
    }
    return files;
}

// The file's document when it holds a draft of `kind`; null otherwise.
// `state` tells which.
std::unique_ptr<wxFileConfig> Open(const wxString& path, const char* kind, DraftState& state) {
    state = DraftState::None;
    std::string bytes;
    SettingsFileVersion version;
    if (!ReadSettingsBytes(path, bytes, version)) {
        state = DraftState::Unreadable;
        return nullptr;
    }
    if (version.stamp.state == FileStamp::State::Missing) return nullptr;
    std::unique_ptr<wxFileConfig> config = ParseSettings(bytes);
    if (!config || config->Read("/draft/kind", wxString()) != kind) {
        state = DraftState::Unreadable;
        return nullptr;
    }
    state = DraftState::Found;
    return config;
}

std::unique_ptr<wxFileConfig> NewDocument(const char* kind) {
    std::unique_ptr<wxFileConfig> config = ParseSettings(std::string());
    config->Write("/draft/kind", wxString(kind));
    return config;
}

}  // namespace

PostDrafts::PostDrafts(wxString dataFolder) : folder_(std::move(dataFolder)) {}

wxString PostDrafts::NewPostName() { return wxS("post-new"); }
wxString PostDrafts::EditPostName(int32_t postId) { return wxString::Format("post-%d", static_cast<int>(postId)); }
wxString PostDrafts::ReplyName(int32_t postId) { return wxString::Format("reply-%d", static_cast<int>(postId)); }

wxString PostDrafts::PathOf(const wxString& name) const { return folder_ + "/drafts/" + name + ".ini"; }

DraftState PostDrafts::Load(const wxString& name, ComposerDraft& draft) const {
    DraftState state;
    std::unique_ptr<wxFileConfig> config = Open(PathOf(name), kComposerKind, state);
    if (!config) return state;
    wxFileConfig& c = *config;
    c.SetPath("/draft");
    draft = ComposerDraft{};
    PostInput& v = draft.values;
    draft.sectionId = ReadInt(c, "sectionId");
    v.id = ReadInt(c, "id");
    v.sectionId = ReadInt(c, "postSectionId");
    v.title = c.Read("title", wxString());
    v.body = c.Read("body", wxString());
    v.notify = c.ReadBool("notify", false);
    v.rewardPoint = ReadInt(c, "rewardPoint");
    v.viewPrice = ReadDouble(c, "viewPrice");
    v.goodsPrice = ReadDouble(c, "goodsPrice");
    v.attachmentPrice = ReadDouble(c, "attachmentPrice");
    v.mediaPrice = ReadDouble(c, "mediaPrice");
    v.postPrice = ReadDouble(c, "postPrice");
    v.albumId = ReadInt(c, "albumId");
    v.richBody = c.ReadBool("richBody", false);
    v.isResource = c.ReadBool("isResource", false);
    v.mediaDownload = ReadInt(c, "mediaDownload");
    v.resourceType = ReadInt(c, "resourceType");
    v.downloadType = c.Read("downloadType", wxString());
    v.resourceDesc = c.Read("resourceDesc", wxString());
    v.replyForbidden = ReadInt(c, "replyForbidden");
    c.SetPath("/");
    v.linkList.resize(std::max<long>(0, c.ReadLong("/links/count", 0)));
    for (size_t i = 0; i < v.linkList.size(); ++i) {
        v.linkList[i].url = c.Read(wxString::Format("/links/%zu/url", i), wxString());
        v.linkList[i].desc = c.Read(wxString::Format("/links/%zu/desc", i), wxString());
    }
    v.imageList = ReadFiles(c, "/images");
    v.audioList = ReadFiles(c, "/audios");
    v.videoList = ReadFiles(c, "/videos");
    v.fileList = ReadFiles(c, "/files");
    return DraftState::Found;
}

DraftState PostDrafts::Load(const wxString& name, wxString& replyText) const {
    DraftState state;
    std::unique_ptr<wxFileConfig> config = Open(PathOf(name), kReplyKind, state);
    if (config) replyText = config->Read("/draft/text", wxString());
    return state;
}

namespace {

bool Store(const wxString& path, wxFileConfig& config) {
    const wxString folder = wxFileName(path).GetPath();
    if (!wxFileName::DirExists(folder) && !wxFileName::Mkdir(folder, 0700, wxPATH_MKDIR_FULL)) return false;
    return ReplaceFileAtomically(path, SerializeSettings(config));
}

}  // namespace

bool PostDrafts::Save(const wxString& name, const ComposerDraft& draft) const {
    std::unique_ptr<wxFileConfig> config = NewDocument(kComposerKind);
    wxFileConfig& c = *config;
    const PostInput& v = draft.values;
    c.SetPath("/draft");
    c.Write("sectionId", static_cast<long>(draft.sectionId));
    c.Write("id", static_cast<long>(v.id));
    c.Write("postSectionId", static_cast<long>(v.sectionId));
    c.Write("title", v.title);
    c.Write("body", v.body);
    c.Write("notify", v.notify);
    c.Write("rewardPoint", static_cast<long>(v.rewardPoint));
    c.Write("viewPrice", Number(v.viewPrice));
    c.Write("goodsPrice", Number(v.goodsPrice));
    c.Write("attachmentPrice", Number(v.attachmentPrice));
    c.Write("mediaPrice", Number(v.mediaPrice));
    c.Write("postPrice", Number(v.postPrice));
    c.Write("albumId", static_cast<long>(v.albumId));
    c.Write("richBody", v.richBody);
    c.Write("isResource", v.isResource);
    c.Write("mediaDownload", static_cast<long>(v.mediaDownload));
    c.Write("resourceType", static_cast<long>(v.resourceType));
    c.Write("downloadType", v.downloadType);
    c.Write("resourceDesc", v.resourceDesc);
    c.Write("replyForbidden", static_cast<long>(v.replyForbidden));
    c.SetPath("/");
    c.Write("/links/count", static_cast<long>(v.linkList.size()));
    for (size_t i = 0; i < v.linkList.size(); ++i) {
        c.Write(wxString::Format("/links/%zu/url", i), v.linkList[i].url);
        c.Write(wxString::Format("/links/%zu/desc", i), v.linkList[i].desc);
    }
    WriteFiles(c, "/images", v.imageList);
    WriteFiles(c, "/audios", v.audioList);
    WriteFiles(c, "/videos", v.videoList);
    WriteFiles(c, "/files", v.fileList);
    return Store(PathOf(name), c);
}

bool PostDrafts::Save(const wxString& name, const wxString& replyText) const {
    std::unique_ptr<wxFileConfig> config = NewDocument(kReplyKind);
    config->Write("/draft/text", replyText);
    return Store(PathOf(name), *config);
}

bool PostDrafts::Remove(const wxString& name) const {
    const wxCharBuffer path = PathOf(name).fn_str();
    return std::remove(path.data()) == 0 || errno == ENOENT;
}

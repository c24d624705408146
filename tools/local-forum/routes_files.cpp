// Uploads: one multipart part "file", stored under --files and served back
// at /files/<stored name> (Range requests included, by the static mount).
#include "forum_rows.h"
#include "routes.h"
#include "sessions.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>

namespace forum {
namespace {

std::string Extension(const std::string& name) {
    auto dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext;
    for (char c : name.substr(dot + 1)) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return {};
        ext += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return ext.size() <= 8 ? ext : std::string();
}

// Kind 1 takes images, kind 2 videos, kind 0 anything.
std::string KindProblem(int kind, const std::string& ext) {
    static const std::set<std::string> images = {"jpg", "jpeg", "png", "gif", "webp", "bmp"};
    static const std::set<std::string> videos = {"mp4", "m4v", "mkv", "webm", "avi", "mov", "flv", "3gp"};
    if (kind == 1 && !images.count(ext)) return "图片上传只接受 jpg、jpeg、png、gif、webp 或 bmp 文件。";
    if (kind == 2 && !videos.count(ext)) return "视频上传只接受 mp4、m4v、mkv、webm、avi、mov、flv 或 3gp 文件。";
    return {};
}

Handler Upload(int kind) {
    return [kind](Call& call) {
        int user = SessionUser(call);
        if (!user) return Reply::NeedLogin();
        if (!call.req.is_multipart_form_data() || !call.req.has_file("file"))
            return BadRequest("请用 multipart/form-data 上传，文件放在名为 file 的部分。");
        httplib::MultipartFormData part = call.req.get_file_value("file");
        if (part.content.size() > call.forum.options.maxUpload)
            return Reply::Fail(kTooLarge, "文件超过大小限制（最大 " +
                                              std::to_string(call.forum.options.maxUpload) + " 字节）。");
        std::string name = part.filename.empty() ? "upload" : part.filename;
        if (!IsUtf8(name)) return BadRequest("文件名不是有效的 UTF-8 文本。");
        std::string ext = Extension(name);
        if (auto problem = KindProblem(kind, ext); !problem.empty()) return BadRequest(problem);
        call.db().Prepare("INSERT INTO files(user_id, kind, name, stored, size, created) VALUES(?,?,?,'',?,?)")
            .Bind(1, user).Bind(2, kind).Bind(3, name)
            .Bind(4, static_cast<std::int64_t>(part.content.size())).Bind(5, Now()).Run();
        int id = static_cast<int>(call.db().LastInsertId());
        std::string stored = "f" + std::to_string(id) + (ext.empty() ? "" : "." + ext);
        std::string path = call.forum.options.filesDir + "/" + stored;
        std::ofstream out(path, std::ios::binary);
        out.write(part.content.data(), static_cast<std::streamsize>(part.content.size()));
        out.close();
        if (!out) {
            std::remove(path.c_str());
            call.db().Prepare("DELETE FROM files WHERE id = ?").Bind(1, id).Run();
            return Reply::Fail(kServerError, "保存文件失败。");
        }
        call.db().Prepare("UPDATE files SET stored = ? WHERE id = ?").Bind(1, stored).Bind(2, id).Run();
        return Reply::Ok(ToJson([&](JsonWriter& w) {
            w.StartObject();
            Put(w, "id", id);
            Put(w, "url", FileUrl(call, stored));
            Put(w, "name", name);
            w.Key("size");
            w.Int64(static_cast<std::int64_t>(part.content.size()));
            w.EndObject();
        }));
    };
}

}  // namespace

void RegisterFileRoutes(Router& r) {
    r.Post("/api/file", Upload(0));
    r.Post("/api/file/image", Upload(1));
    r.Post("/api/file/video", Upload(2));
}

}  // namespace forum

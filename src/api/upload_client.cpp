// ApiClient::UploadFile: one body, offered with every session form until
// the server stores the file.
#include "api/api_client.h"

#include "api/auth_variants.h"
#include "api/envelope.h"
#include "api/json_read.h"
#include "api/upload.h"

UploadResult ApiClient::UploadFile(const wxString& token, const wxString& cookies,
                                   const wxString& localPath, UploadKind kind,
                                   const UploadProgress& progress) const
{
    UploadResult result;
    const wxString path = UploadPath(kind);
    const std::string boundary = MakeUploadBoundary();
    wxString fileName;
    const std::string body = BuildMultipartBody(boundary, localPath, fileName, result.message);
    if (!result.message.empty()) return result;

    const wxString failureText = wxS("上传文件失败");
    for (HeaderList headers : BuildAuthHeaderSets(token, cookies, false)) {
        headers.emplace_back(wxS("Content-Type"),
                             wxS("multipart/form-data; boundary=") + wxString::FromUTF8(boundary));
        const HttpResponse response = Exchange(wxS("POST"), path, headers, body, progress, true);
        rapidjson::Document document;
        wxString message;
        const WriteVerdict verdict = JudgeWriteAttempt(response, document, message, failureText);
        if (verdict == WriteVerdict::Accepted) {
            // The server has the file now: sending it again in another
            // form would store a second copy, so an odd answer ends here.
            const JsonValue* data = JsonData(&document);
            if (!data || !data->IsObject()) {
                result.message = wxS("上传成功，但响应数据格式不正确。");
                return result;
            }
            result.fileId = JsonInt(data, "id", 0);
            result.url = JsonText(data, "url");
            result.ok = result.fileId != 0;
            if (!result.ok) result.message = wxS("上传成功，但未返回文件编号。");
            return result;
        }
        result.message = message;
        result.debugInfo =
            wxString::Format(wxS("接口：%s\n文件：%s\n返回：%s"), path, fileName, message);
        // Only a clear refusal lets another form try; after a dropped
        // connection the file may already be stored.
        if (verdict == WriteVerdict::Unsure) break;
    }
    if (result.message.empty()) result.message = wxS("上传文件失败。");
    return result;
}

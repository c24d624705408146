// What an upload makes of the server's answer: the stored file's number and
// address, the refusals that let another session form try, and an accepted
// upload never sent a second time.
#include "fuzz_files.h"
#include "fuzz_server.h"
#include "fuzz_support.h"

namespace {

const wxString& SmallFile()
{
    static const wxString path = [] {
        const std::string p = fuzz::Folder() + "/歌 1.mp3";
        fuzz::WriteFile(p, std::string("ID3\0small song", 14));
        return wxString::FromUTF8(p);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ApiClient client = fuzz::ClientAnswering(data, size);
    const UploadResult r = client.UploadFile(wxS("tok"), wxString(), SmallFile(), UploadKind::Image);
    for (const wxString* t : {&r.url, &r.message, &r.debugInfo}) fuzz::Use(*t);
    const size_t sent = fuzz::Server().RequestCount();
    FUZZ_CHECK(sent >= 1);
    if (r.ok) {
        FUZZ_CHECK(r.fileId != 0 && r.message.empty() && sent == 1);
    } else {
        FUZZ_CHECK(!r.message.empty());
        // Accepted but oddly answered: the server has the file already.
        if (r.message.StartsWith(wxS("上传成功"))) FUZZ_CHECK(sent == 1);
    }
    return 0;
}

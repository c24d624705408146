#include "api/utf8_text.h"

namespace {

// Length of the well-formed sequence at `s`, or 0 when there is none.
size_t SequenceLength(const unsigned char* s, size_t n)
{
    const unsigned char b = s[0];
    if (b < 0x80) return 1;
    size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;  // overlong
        if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;  // overlong
        if (b == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (n < len || s[1] < lo || s[1] > hi) return 0;
    for (size_t i = 2; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
    }
    return len;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < bytes.size();) {
        const size_t len = SequenceLength(s + i, bytes.size() - i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

wxString Utf8WithReplacement(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) return wxString::FromUTF8(bytes.data(), bytes.size());
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    wxString text;
    for (size_t i = 0; i < bytes.size();) {
        const size_t len = SequenceLength(s + i, bytes.size() - i);
        if (len == 0) {
            text += wxUniChar(0xFFFD);
            ++i;
        } else {
            text += wxString::FromUTF8(bytes.data() + i, len);
            i += len;
        }
    }
    return text;
}

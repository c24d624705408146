#include "api/utf8_text.h"

#include <iterator>
#include <string>

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
    // One pass that checks and decodes together: the toolkit's converter
    // would walk the bytes a second time, and record reading converts
    // every text of every answer. No byte yields more than one unit (a
    // four-byte sequence at most two), so the buffer never grows.
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    // Most texts (names, titles, times) fit on the stack.
    wchar_t local[256];
    std::wstring heap;
    if (bytes.size() > std::size(local)) heap.resize(bytes.size());
    wchar_t* const begin = heap.empty() ? local : heap.data();
    wchar_t* out = begin;
    for (size_t i = 0; i < bytes.size();) {
        if (s[i] < 0x80) {
            *out++ = static_cast<wchar_t>(s[i++]);
            continue;
        }
        const size_t len = SequenceLength(s + i, bytes.size() - i);
        char32_t c;
        switch (len) {
        case 0: c = 0xFFFD; break;
        case 2: c = (char32_t(s[i] & 0x1F) << 6) | (s[i + 1] & 0x3F); break;
        case 3: c = (char32_t(s[i] & 0x0F) << 12) | (char32_t(s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F); break;
        default:
            c = (char32_t(s[i] & 0x07) << 18) | (char32_t(s[i + 1] & 0x3F) << 12) |
                (char32_t(s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
            break;
        }
        i += len == 0 ? 1 : len;  // after a bad byte the next one is read again
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0x10000) {
                c -= 0x10000;
                *out++ = static_cast<wchar_t>(0xD800 + (c >> 10));
                *out++ = static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
                continue;
            }
        }
        *out++ = static_cast<wchar_t>(c);
    }
    return wxString(begin, static_cast<size_t>(out - begin));
}

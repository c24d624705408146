#include "api/body_encoding.h"

#include <cmath>

std::string ToUtf8(const wxString& text)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

wxString EscapeJsonText(const wxString& text)
{
    wxString out;
    out.reserve(text.length() + 8);
    for (wxUniChar c : text) {
        switch (c.GetValue()) {
        case '\t': out += wxS("\\t"); break;
        case '\n': out += wxS("\\n"); break;
        case '\r': out += wxS("\\r"); break;
        case '"': out += wxS("\\\""); break;
        case '\\': out += wxS("\\\\"); break;
        default:
            if (c.GetValue() < 0x20) {
                out += wxString::Format(wxS("\\u%04X"), static_cast<unsigned>(c.GetValue()));
            } else {
                out += c;
            }
        }
    }
    return out;
}

wxString UrlEncode(const wxString& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : ToUtf8(text)) {
        const bool keep = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                          b == '-' || b == '.' || b == '_' || b == '~';
        if (keep) {
            out += static_cast<char>(b);
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return wxString::FromUTF8(out);
}

wxString PathNumber(int32_t number)
{
    return wxString::Format(wxS("%d"), number);
}

JsonBodyWriter& JsonBodyWriter::Value(const wxString& text)
{
    const std::string utf8 = ToUtf8(text);
    writer_.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
    return *this;
}

JsonBodyWriter& JsonBodyWriter::Value(double number)
{
    if (std::isfinite(number)) {
        writer_.Double(number);
    } else {
        writer_.Null();
    }
    return *this;
}

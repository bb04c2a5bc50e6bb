#include "core/Utf8.h"

namespace qm {

namespace {

void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::wstring DecodeUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        size_t length = 0;
        char32_t cp = 0, minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) length = 2, cp = lead & 0x1F, minimum = 0x80;
        else if (lead >= 0xE0 && lead <= 0xEF) length = 3, cp = lead & 0x0F, minimum = 0x800;
        else if (lead >= 0xF0 && lead <= 0xF4) length = 4, cp = lead & 0x07, minimum = 0x10000;
        size_t taken = 1;
        while (length != 0 && taken < length && i + taken < bytes.size() &&
               IsContinuation(static_cast<unsigned char>(bytes[i + taken]))) {
            cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + taken]) & 0x3F);
            ++taken;
        }
        const bool whole = length != 0 && taken == length;
        if (whole && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
            AppendCodePoint(out, cp);
        } else {
            out += L'\uFFFD';
        }
        i += taken;  // a bad lead byte alone, or a cut sequence up to where it broke
    }
    return out;
}

}  // namespace qm

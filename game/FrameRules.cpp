#include "game/FrameRules.h"

#include "core/Utf8.h"
#include "res/resource.h"

namespace qm {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string UrlDecodeBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        // Two more characters must follow the "%".
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::wstring ServerNameFromAnsiUrl(std::string_view ansiUrl) {
    const std::wstring decoded = DecodeUtf8(UrlDecodeBytes(ansiUrl));
    const size_t at = decoded.find(L"svname");
    if (at == std::wstring::npos) return std::wstring();
    // "svname" and the character after it (normally "=").
    const size_t start = at + 7;
    if (start >= decoded.size()) return std::wstring();
    std::wstring rest = decoded.substr(start);
    const size_t slash = rest.find(L'/');
    if (slash != std::wstring::npos) rest.resize(slash);
    return rest;
}

std::wstring FormatServerTitle(const std::wstring& serverName) { return L"[ " + serverName + L" ]"; }

std::array<TitleButtonPlace, kTitleButtonCount> TitleButtonPlaces(int w) {
    return {{
        {IDC_FRAME_CLOSE, w - 28, 3, 28, 26},
        {IDC_FRAME_MAXIMIZE, w - 57, 3, 28, 26},
        {IDC_FRAME_RESTORE, w - 57, 3, 28, 26},
        {IDC_FRAME_MINIMIZE, w - 86, 3, 28, 26},
        {IDC_FRAME_FULLSCREEN, w - 172, 3, 85, 24},
        {IDC_FRAME_BOSSKEY, w - 270, 3, 97, 24},
        {IDC_FRAME_CLEARCACHE, w - 349, 3, 85, 24},
        {IDC_FRAME_REFRESH, w - 428, 3, 78, 24},
        {IDC_FRAME_SELECTSERVER, w - 488, 3, 59, 24},
    }};
}

ScreenPoint WorkAreaOrigin(const ScreenRect& taskbar, const ScreenRect& workArea) {
    if (taskbar.bottom == workArea.top) return {0, taskbar.bottom};
    if (taskbar.right == workArea.left) return {taskbar.right, 0};
    return {0, 0};
}

std::wstring TrayTipText(const std::wstring& title) {
    size_t length = title.size();
    if (length < kTrayTipCapacity) return title;
    length = kTrayTipCapacity - 1;
    if (title[length - 1] >= 0xD800 && title[length - 1] <= 0xDBFF) --length;
    return title.substr(0, length);
}

}  // namespace qm

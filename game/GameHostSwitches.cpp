#include "game/GameHostSwitches.h"

#include <cstdio>

#include "core/TextRules.h"

namespace qm {

namespace {
constexpr std::wstring_view kFrameWnd = L"-frameWnd=";
constexpr std::wstring_view kGameUrl = L"-gameurl=";
constexpr std::wstring_view kCookie = L"-spCookie=";
}  // namespace

GameHostSwitches ParseGameHostSwitches(std::wstring_view s) {
    GameHostSwitches result;
    if (size_t i = s.find(kFrameWnd); i != std::wstring_view::npos) {
        // The other switches are looked for only after it, handle or not.
        s = s.substr(i + kFrameWnd.size());
        if (size_t j = s.find(L' '); j != std::wstring_view::npos) {
            result.frameWnd = ParseLeadingInteger(s.substr(0, j));
            s = s.substr(j);  // the blank stays in front
        }
    }
    const size_t k = s.find(kCookie);
    if (size_t i = s.find(kGameUrl); i != std::wstring_view::npos) {
        const size_t start = i + kGameUrl.size();
        if (k == std::wstring_view::npos)
            result.gameUrl = std::wstring(s.substr(start));
        else if (k > start)
            result.gameUrl = std::wstring(s.substr(start, k - start));
    }
    if (k != std::wstring_view::npos) result.handedCookies = std::wstring(s.substr(k + kCookie.size()));
    return result;
}

std::wstring FormatGameHostCommandLine(const std::wstring& exePath, long frameWnd, const std::wstring& gameUrl,
                                       const std::wstring& cookies) {
    std::wstring line = L"\"" + exePath + L"\" -frameWnd=" + std::to_wstring(frameWnd) + L" -gameurl=" + gameUrl +
                        L" -spCookie=" + cookies;
    if (line.size() >= kCommandLineCapacity) line.resize(kCommandLineCapacity - 1);
    return line;
}

std::vector<std::wstring> CookiePiecesToSet(std::wstring_view handed, std::wstring_view have) {
    std::vector<std::wstring> pieces;
    auto consider = [&](std::wstring_view piece) {
        if (have.find(piece) == std::wstring_view::npos) pieces.emplace_back(piece);
    };
    for (size_t semicolon; (semicolon = handed.find(L';')) != std::wstring_view::npos;) {
        consider(handed.substr(0, semicolon));
        handed = handed.substr(semicolon + 1);
    }
    consider(handed);
    return pieces;
}

}  // namespace qm

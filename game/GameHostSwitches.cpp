#include "game/GameHostSwitches.h"

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
        std::wstring_view rest = s.substr(i + kFrameWnd.size());
        if (size_t j = rest.find(L' '); j != std::wstring_view::npos) {
            result.frameWnd = ParseLeadingInteger(rest.substr(0, j));
            s = rest.substr(j);  // the blank stays in front
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

}  // namespace qm

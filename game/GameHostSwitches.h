#pragma once
// The switches a frame hands to the child game host on its command line:
//   "<exe>" -frameWnd=<handle> -gameurl=<address> -spCookie=<cookies>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

struct GameHostSwitches {
    long frameWnd = 0;                         // 0: no frame, so not a child host
    std::wstring gameUrl;                      // may keep the blank before -spCookie=
    std::optional<std::wstring> handedCookies; // text after "-spCookie=", when present
};

// Reads the three switches from the whole command line. Searches are
// case-sensitive and take the first occurrence; a handle must be followed by
// a blank to count.
GameHostSwitches ParseGameHostSwitches(std::wstring_view commandLine);

}  // namespace qm

#pragma once
// The switches a frame hands to the child game host on its command line:
//   "<exe>" -frameWnd=<handle> -gameurl=<address> -spCookie=<cookies>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The longest command line a process may be given, terminator included.
constexpr size_t kCommandLineCapacity = 32767;

// The line the frame starts its child with:
//   "<path>" -frameWnd=<handle> -gameurl=<address> -spCookie=<cookies>
// Nothing is cut short unless the whole line would not fit a command line.
std::wstring FormatGameHostCommandLine(const std::wstring& exePath, long frameWnd, const std::wstring& gameUrl,
                                       const std::wstring& cookies);

// The pieces of handed cookie text that this process lacks: the text split
// at each semicolon, every piece kept as it is (after the first, with the
// blank that follows the semicolon), and only those that `have` does not
// contain as a plain substring. An empty piece is always contained.
std::vector<std::wstring> CookiePiecesToSet(std::wstring_view handed, std::wstring_view have);

}  // namespace qm

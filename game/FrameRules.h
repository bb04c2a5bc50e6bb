#pragma once
// Rules of the frame window that need no window: the server name in its
// title bar, the places of its title buttons, where the maximised frame
// starts, and the tray tip.
#include <array>
#include <string>
#include <string_view>

namespace qm {

// Percent escapes decoded to bytes: "%" followed by two hexadecimal digits
// is one byte; any other "%" stays as it is.
std::string UrlDecodeBytes(std::string_view text);

// The server name of a game address given in the system's ANSI code page:
// decoded, read as UTF-8, then what follows "svname" and one more character,
// up to the first "/" (an "&" does not end it). Empty without "svname".
std::wstring ServerNameFromAnsiUrl(std::string_view ansiUrl);

// The title-bar text for a server name.
std::wstring FormatServerTitle(const std::wstring& serverName);

// The title-bar buttons: control id and place in client coordinates.
struct TitleButtonPlace {
    int controlId;
    int x, y, width, height;
};
constexpr int kTitleStripHeight = 30;
constexpr int kTitleButtonCount = 9;
std::array<TitleButtonPlace, kTitleButtonCount> TitleButtonPlaces(int clientWidth);

// A screen rectangle, right and bottom exclusive.
struct ScreenRect {
    int left, top, right, bottom;
};
struct ScreenPoint {
    int x, y;
};
// Where the maximised frame starts: below a taskbar at the top, right of one
// at the left, else at (0, 0).
ScreenPoint WorkAreaOrigin(const ScreenRect& taskbar, const ScreenRect& workArea);

// The tip of the tray icon, cut to the 127 characters its record holds
// (never between the two halves of a surrogate pair).
constexpr size_t kTrayTipCapacity = 128;  // characters, terminator included
std::wstring TrayTipText(const std::wstring& title);

}  // namespace qm

#pragma once
// The two system-wide hotkeys of the frame and how their settings read:
// key names joined by "+", modifiers first, the key last ("Ctrl+Shift+A").
#include <string_view>

namespace qm {

constexpr int HOTKEY_ID_SCREENTOGGLE = 2;  // the boss key
constexpr int HOTKEY_ID_FULLSCREEN = 3;

// The platform's modifier bits.
constexpr unsigned kHotkeyAlt = 1, kHotkeyCtrl = 2, kHotkeyShift = 4;

struct HotkeyCombination {
    unsigned modifiers = 0;
    unsigned keyCode = 0;  // a virtual-key code; 0 when the name is unknown
    bool operator==(const HotkeyCombination& o) const { return modifiers == o.modifiers && keyCode == o.keyCode; }
};

// The virtual-key code of a key name of the settings (exact, case-sensitive);
// 0 for a name that is not in the table.
unsigned LookUpKeyName(std::string_view name);

// Every part before a "+" may add a modifier (other parts are ignored); the
// part after the last "+" names the key. So "+" itself can never be the key.
HotkeyCombination ParseHotkeyText(std::wstring_view text);

}  // namespace qm

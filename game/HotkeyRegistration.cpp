#include "game/HotkeyRegistration.h"

#include "core/Settings.h"
#include "game/Hotkeys.h"

namespace qm {

void RegisterHotkeys(HWND frame) {
    const struct {
        const wchar_t* key;
        int id;
    } hotkeys[] = {{kKeyScreenToggle, HOTKEY_ID_SCREENTOGGLE}, {kKeyFullScreen, HOTKEY_ID_FULLSCREEN}};
    for (const auto& hotkey : hotkeys) {
        // A missing key registers nothing, like an empty one: read as "0" it
        // would take the digit key 0 away from every program on the desktop.
        const std::wstring value = ReadSetting(kSectionSetting, hotkey.key, L"");
        if (value.empty()) continue;
        ::UnregisterHotKey(frame, hotkey.id);
        const HotkeyCombination combination = ParseHotkeyText(value);
        ::RegisterHotKey(frame, hotkey.id, combination.modifiers, combination.keyCode);
    }
}

}  // namespace qm

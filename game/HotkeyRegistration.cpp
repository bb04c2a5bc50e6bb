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
        const std::wstring value = ReadSetting(kSectionSetting, hotkey.key, L"0");
        if (value.empty()) continue;
        ::UnregisterHotKey(frame, hotkey.id);
        const HotkeyCombination combination = ParseHotkeyText(value);
        ::RegisterHotKey(frame, hotkey.id, combination.modifiers, combination.keyCode);
    }
}

}  // namespace qm

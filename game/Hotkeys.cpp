#include "game/Hotkeys.h"

#include <string>

namespace qm {

namespace {

struct KeyName {
    const char* name;
    unsigned code;
};

// Names with a code of their own; letters, digits, F-keys and the number
// pad digits follow from their ranges below.
constexpr KeyName kNamedKeys[] = {
    {"Alt", 18},     {"Ctrl", 17},    {"Shift", 16},    {"Space", 32},    {"PageUp", 33},  {"PageDown", 34},
    {"End", 35},     {"Home", 36},    {"Left", 37},     {"Up", 38},       {"Right", 39},   {"Down", 40},
    {"Insert", 45},  {"Delete", 46},  {";", 186},       {"+", 187},       {",", 188},      {"-", 189},
    {".", 190},      {"/", 191},      {"`", 192},       {"[", 219},       {"\\", 220},     {"]", 221},
    {"'", 222},      {"Num*", 106},   {"Num+", 107},    {"Num-", 109},    {"NumDel", 110}, {"Num/", 111},
};

}  // namespace

unsigned LookUpKeyName(std::string_view name) {
    for (const KeyName& key : kNamedKeys)
        if (name == key.name) return key.code;
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return static_cast<unsigned>(name[0]);
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return static_cast<unsigned>(name[0]);
    if (name.size() == 2 && name[0] == 'F' && name[1] >= '1' && name[1] <= '9') return 112 + (name[1] - '1');
    if (name == "F10" || name == "F11" || name == "F12") return 121 + (name[2] - '0');
    if (name.size() == 4 && name.substr(0, 3) == "Num" && name[3] >= '0' && name[3] <= '9')
        return 96 + (name[3] - '0');
    return 0;
}

HotkeyCombination ParseHotkeyText(std::wstring_view text) {
    HotkeyCombination combination;
    auto narrow = [](std::wstring_view part) {
        std::string out;
        for (wchar_t c : part) {
            if (c >= 0x80) return std::string();  // no key name has other characters
            out += static_cast<char>(c);
        }
        return out;
    };
    std::wstring_view rest = text;
    for (size_t plus; !rest.empty() && (plus = rest.find(L'+')) != std::wstring_view::npos;) {
        const std::wstring_view token = rest.substr(0, plus);
        if (token == L"Alt") combination.modifiers |= kHotkeyAlt;
        else if (token == L"Ctrl") combination.modifiers |= kHotkeyCtrl;
        else if (token == L"Shift") combination.modifiers |= kHotkeyShift;
        rest = rest.substr(plus + 1);
    }
    const std::string key = narrow(rest);
    combination.keyCode = key.empty() ? 0 : LookUpKeyName(key);
    return combination;
}

}  // namespace qm

#include <gtest/gtest.h>

#include "core/Utf8.h"
#include "game/FrameRules.h"
#include "game/Hotkeys.h"
#include "res/resource.h"

namespace qm {
namespace {

TEST(ServerName, DecodedFromTheGameAddress) {
    struct Case {
        const char* url;
        std::wstring name;
    } cases[] = {
        // The development portal's game address: 双月一服, percent-encoded UTF-8, ended by "/".
        {"http://127.0.0.1:18127/games/qlmr/dlq/play.php?play_gamecode=qlmr&svname=%E5%8F%8C%E6%9C%88%E4%B8%80%E6%9C%8D/",
         L"双月一服"},
        {"http://www.vexo.com/play.php?svname=%e5%8f%8c%e6%9c%88/x/y", L"双月"},  // lower-case digits
        {"http://www.vexo.com/play.php?play_gamecode=qlmr", L""},                  // no svname
        {"http://www.vexo.com/play.php?SVNAME=s1/", L""},                          // case-sensitive
        // Only "/" ends the name: the ampersand and further keys stay.
        {"http://h/play.php?svname=s1&sid=7&t=9", L"s1&sid=7&t=9"},
        // The character after "svname" is skipped, whatever it is.
        {"http://h/p?svname:s2/", L"s2"},
        {"http://h/p?svname", L""},
        {"http://h/p?svname=", L""},
        // A "%" too near the end, or not followed by two digits, stays.
        {"http://h/p?svname=a%4", L"a%4"},
        {"http://h/p?svname=a%41", L"aA"},
        {"http://h/p?svname=a%zz/", L"a%zz"},
        {"http://h/p?svname=%", L"%"},
        // Bytes that are not UTF-8 read as replacement characters, never as garbage.
        {"http://h/p?svname=%E5%8F/", L"\uFFFD"},
        {"http://h/p?svname=%FFa/", L"\uFFFDa"},
        // An encoded slash ends the name too: decoding comes first.
        {"http://h/p?svname=s3%2Fmore", L"s3"},
        {"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(ServerNameFromAnsiUrl(c.url), c.name) << c.url;
    EXPECT_EQ(FormatServerTitle(L"双月一服"), L"[ 双月一服 ]");
}

TEST(DecodeUtf8, ReadsLikeTheSystemConversion) {
    EXPECT_EQ(DecodeUtf8("Quellmoor"), L"Quellmoor");
    EXPECT_EQ(DecodeUtf8("\xE7\x99\xBB\xE5\xBD\x95"), L"登录");
    EXPECT_EQ(DecodeUtf8("\xC0\x80"), L"\uFFFD\uFFFD");    // an over-long form is refused
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), L"\uFFFD");      // so is an encoded surrogate
    EXPECT_EQ(DecodeUtf8("a\xE7\x99"), L"a\uFFFD");        // cut at the end
    EXPECT_EQ(DecodeUtf8("\xE7" "b"), L"\uFFFDb");         // broken before an ASCII byte, which survives
    const std::wstring grin = DecodeUtf8("\xF0\x9F\x98\x80");
    if (sizeof(wchar_t) == 2) EXPECT_EQ(grin, std::wstring(L"\xD83D\xDE00"));
    else EXPECT_EQ(grin.size(), 1u);
}

TEST(ParseHotkeyText, ModifiersFirstTheKeyLast) {
    struct Case {
        const wchar_t* text;
        unsigned modifiers, keyCode;
    } cases[] = {
        {L"Ctrl+Shift+A", 6, 65},
        {L"F10", 0, 121},
        {L"F11", 0, 122},
        {L"Alt+F4", 1, 115},
        {L"ctrl+a", 0, 0},      // names are case-sensitive
        {L"Win+F10", 0, 121},   // a part that is no modifier is dropped
        {L"F10+Ctrl", 0, 17},   // the key is always the last part
        {L"+", 0, 0},           // "+" is always a separator
        {L"Ctrl++", 2, 0},
        {L"Ctrl+", 2, 0},
        {L"Ctrl+Ctrl+B", 2, 66},
        {L"0", 0, 48},          // what a missing setting reads as
        {L"Q", 0, 81},
        {L"Shift+Num5", 4, 101},
        {L"F13", 0, 0},
        {L"", 0, 0},
        {L"Ctrl+登", 2, 0},
    };
    for (const Case& c : cases) {
        const HotkeyCombination got = ParseHotkeyText(c.text);
        EXPECT_EQ(got.modifiers, c.modifiers) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(got.keyCode, c.keyCode) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(KeyNameTable, EveryNameAndItsCode) {
    struct Case {
        const char* name;
        unsigned code;
    } cases[] = {
        {"Alt", 18},     {"Ctrl", 17},    {"Shift", 16},   {"Space", 32},   {"PageUp", 33},  {"PageDown", 34},
        {"End", 35},     {"Home", 36},    {"Left", 37},    {"Up", 38},      {"Right", 39},   {"Down", 40},
        {"Insert", 45},  {"Delete", 46},  {"F1", 112},     {"F9", 120},     {"F12", 123},    {"0", 48},
        {"9", 57},       {"A", 65},       {"Z", 90},       {";", 186},      {"+", 187},      {",", 188},
        {"-", 189},      {".", 190},      {"/", 191},      {"`", 192},      {"[", 219},      {"\\", 220},
        {"]", 221},      {"'", 222},      {"Num0", 96},    {"Num9", 105},   {"Num*", 106},   {"Num+", 107},
        {"Num-", 109},   {"NumDel", 110}, {"Num/", 111},
        // Not in the table.
        {"a", 0},        {"F0", 0},       {"F1 ", 0},      {"Num", 0},      {"Esc", 0},      {"Num.", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(LookUpKeyName(c.name), c.code) << c.name;
}

TEST(TitleButtonPlaces, FromTheRightEdgeOfTheClientArea) {
    struct Expected {
        int id, x, width, height;
    } expected[] = {
        {IDC_FRAME_CLOSE, 1000 - 28, 28, 26},      {IDC_FRAME_MAXIMIZE, 1000 - 57, 28, 26},
        {IDC_FRAME_RESTORE, 1000 - 57, 28, 26},    {IDC_FRAME_MINIMIZE, 1000 - 86, 28, 26},
        {IDC_FRAME_FULLSCREEN, 1000 - 172, 85, 24}, {IDC_FRAME_BOSSKEY, 1000 - 270, 97, 24},
        {IDC_FRAME_CLEARCACHE, 1000 - 349, 85, 24}, {IDC_FRAME_REFRESH, 1000 - 428, 78, 24},
        {IDC_FRAME_SELECTSERVER, 1000 - 488, 59, 24},
    };
    const auto places = TitleButtonPlaces(1000);
    for (const Expected& e : expected) {
        bool found = false;
        for (const TitleButtonPlace& p : places) {
            if (p.controlId != e.id) continue;
            found = true;
            EXPECT_EQ(p.x, e.x) << e.id;
            EXPECT_EQ(p.y, 3) << e.id;
            EXPECT_EQ(p.width, e.width) << e.id;
            EXPECT_EQ(p.height, e.height) << e.id;
        }
        EXPECT_TRUE(found) << e.id;
    }
    EXPECT_EQ(TitleButtonPlaces(1920)[0].x, 1892) << "the layout follows the width";
}

TEST(WorkAreaOrigin, FollowsTheTaskbar) {
    struct Case {
        const char* where;
        ScreenRect taskbar, workArea;
        int x, y;
    } cases[] = {
        {"bottom", {0, 1040, 1920, 1080}, {0, 0, 1920, 1040}, 0, 0},
        {"top", {0, 0, 1920, 40}, {0, 40, 1920, 1080}, 0, 40},
        {"left", {0, 0, 60, 1080}, {60, 0, 1920, 1080}, 60, 0},
        {"right", {1860, 0, 1920, 1080}, {0, 0, 1860, 1080}, 0, 0},
        {"none (work area is the screen)", {0, 0, 0, 0}, {0, 0, 1280, 1024}, 0, 0},
    };
    for (const Case& c : cases) {
        const ScreenPoint p = WorkAreaOrigin(c.taskbar, c.workArea);
        EXPECT_EQ(p.x, c.x) << c.where;
        EXPECT_EQ(p.y, c.y) << c.where;
    }
}

TEST(TrayTipText, CutToTheRecord) {
    EXPECT_EQ(TrayTipText(L"Quellmoor登录器"), L"Quellmoor登录器");
    EXPECT_EQ(TrayTipText(std::wstring(127, L'x')).size(), 127u);
    EXPECT_EQ(TrayTipText(std::wstring(500, L'登')), std::wstring(127, L'登'));
    std::wstring pairAtTheCut(126, L'x');
    pairAtTheCut += std::wstring(L"\xD83D\xDE00" L"yz");
    EXPECT_EQ(TrayTipText(pairAtTheCut), std::wstring(126, L'x')) << "no half of a pair is left";
}

}  // namespace
}  // namespace qm

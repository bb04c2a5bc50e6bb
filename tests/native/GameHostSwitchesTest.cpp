#include <gtest/gtest.h>

#include "game/GameHostSwitches.h"

namespace qm {
namespace {

struct SwitchCase {
    const wchar_t* line;
    long frameWnd;
    const wchar_t* gameUrl;
    const wchar_t* cookies;  // null: no -spCookie= at all
};

class GameHostSwitchTable : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(GameHostSwitchTable, ParsesAsTheFrameWroteIt) {
    const SwitchCase& c = GetParam();
    GameHostSwitches s = ParseGameHostSwitches(c.line);
    EXPECT_EQ(s.frameWnd, c.frameWnd) << c.line;
    EXPECT_EQ(s.gameUrl, c.gameUrl) << c.line;
    ASSERT_EQ(s.handedCookies.has_value(), c.cookies != nullptr) << c.line;
    if (c.cookies) {
        EXPECT_EQ(*s.handedCookies, c.cookies) << c.line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GameHostSwitchTable,
    ::testing::Values(
        // The frame's own format: the blank before -spCookie= stays with the address.
        SwitchCase{L"\"C:\\Q.exe\" -frameWnd=1234 -gameurl=http://h/g?play_gamecode=7 -spCookie=a=1; b=2",
                   1234, L"http://h/g?play_gamecode=7 ", L"a=1; b=2"},
        SwitchCase{L"\"C:\\Q.exe\" -frameWnd=1234 -gameurl=http://h/g -spCookie=", 1234, L"http://h/g ", L""},
        SwitchCase{L"\"C:\\Q.exe\" -frameWnd=1234 -gameurl=http://h/g", 1234, L"http://h/g", nullptr},
        SwitchCase{L"\"C:\\Q.exe\"", 0, L"", nullptr},
        // No blank after the handle: the handle stays 0 and the text is searched whole.
        SwitchCase{L"-frameWnd=1234", 0, L"", nullptr},
        SwitchCase{L"-frameWnd=  77 -gameurl=u", 0, L"u", nullptr},  // text before the first blank is empty
        SwitchCase{L"-frameWnd=12ab -gameurl=u", 12, L"u", nullptr},
        SwitchCase{L"-frameWnd=-5 -gameurl=u", -5, L"u", nullptr},
        SwitchCase{L"-frameWnd=99999999999 -gameurl=u", 2147483647, L"u", nullptr},
        // -spCookie= before -gameurl=: the address is empty, the cookies run to the end.
        SwitchCase{L"-frameWnd=3 -spCookie=c=1 -gameurl=u", 3, L"", L"c=1 -gameurl=u"},
        // Only the text after the handle is searched for the other switches.
        SwitchCase{L"-gameurl=early -frameWnd=3 -gameurl=late", 3, L"late", nullptr},
        SwitchCase{L"-gameurl=http://h/a -spCookie=x", 0, L"http://h/a ", L"x"}));

}  // namespace
}  // namespace qm

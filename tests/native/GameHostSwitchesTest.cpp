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
        // No blank after the handle: the handle stays 0, and only the text after
        // "-frameWnd=" is searched for the other switches.
        SwitchCase{L"-frameWnd=1234", 0, L"", nullptr},
        SwitchCase{L"\"Q.exe\" -spCookie=a=1 -frameWnd=5", 0, L"", nullptr},
        SwitchCase{L"-gameurl=u -frameWnd=5", 0, L"", nullptr},
        SwitchCase{L"-frameWnd=  77 -gameurl=u", 0, L"u", nullptr},  // text before the first blank is empty
        SwitchCase{L"-frameWnd=12ab -gameurl=u", 12, L"u", nullptr},
        SwitchCase{L"-frameWnd=-5 -gameurl=u", -5, L"u", nullptr},
        SwitchCase{L"-frameWnd=99999999999 -gameurl=u", 2147483647, L"u", nullptr},
        // -spCookie= before -gameurl=: the address is empty, the cookies run to the end.
        SwitchCase{L"-frameWnd=3 -spCookie=c=1 -gameurl=u", 3, L"", L"c=1 -gameurl=u"},
        // Only the text after the handle is searched for the other switches.
        SwitchCase{L"-gameurl=early -frameWnd=3 -gameurl=late", 3, L"late", nullptr},
        SwitchCase{L"-gameurl=http://h/a -spCookie=x", 0, L"http://h/a ", L"x"}));

TEST(GameHostCommandLine, TheFrameWritesWhatTheChildReads) {
    const std::wstring line = FormatGameHostCommandLine(
        L"C:\\Users\\p\\AppData\\Roaming\\vexo\\Quellmoor.exe", 65812,
        L"http://127.0.0.1:18127/games/qlmr/dlq/play.php?play_gamecode=qlmr&svname=%E5%8F%8C/", L"qlmr_session=abc; x=1");
    EXPECT_EQ(line,
              L"\"C:\\Users\\p\\AppData\\Roaming\\vexo\\Quellmoor.exe\" -frameWnd=65812 "
              L"-gameurl=http://127.0.0.1:18127/games/qlmr/dlq/play.php?play_gamecode=qlmr&svname=%E5%8F%8C/ "
              L"-spCookie=qlmr_session=abc; x=1");
    const GameHostSwitches back = ParseGameHostSwitches(line);
    EXPECT_EQ(back.frameWnd, 65812);
    EXPECT_EQ(back.gameUrl, L"http://127.0.0.1:18127/games/qlmr/dlq/play.php?play_gamecode=qlmr&svname=%E5%8F%8C/ ");
    ASSERT_TRUE(back.handedCookies.has_value());
    EXPECT_EQ(*back.handedCookies, L"qlmr_session=abc; x=1");

    EXPECT_EQ(FormatGameHostCommandLine(L"Q.exe", -2, L"", L""), L"\"Q.exe\" -frameWnd=-2 -gameurl= -spCookie=");

    // Long addresses and large cookie jars arrive whole (a 1024-character line
    // would have lost the cookies and the sign-in with them).
    const std::wstring jar = L"a=" + std::wstring(3000, L'x') + L"; b=2";
    const GameHostSwitches big =
        ParseGameHostSwitches(FormatGameHostCommandLine(L"Q.exe", 7, L"http://h/" + std::wstring(1500, L'p'), jar));
    EXPECT_EQ(big.gameUrl.size(), 9u + 1500u + 1u);
    EXPECT_EQ(big.handedCookies.value_or(L""), jar);
    // Only what no command line can hold is cut.
    EXPECT_EQ(FormatGameHostCommandLine(L"Q.exe", 7, L"u", std::wstring(40000, L'c')).size(),
              kCommandLineCapacity - 1);
}

TEST(CookiePiecesToSet, OnlyThePiecesThisProcessLacks) {
    struct Case {
        const wchar_t* handed;
        const wchar_t* have;
        std::vector<std::wstring> set;
    } cases[] = {
        {L"a=1; b=2", L"a=1", {L" b=2"}},  // the blank after the semicolon stays
        {L"a=1; b=2", L"", {L"a=1", L" b=2"}},
        {L"a=1; b=2", L"a=1; b=2", {}},
        {L"", L"", {}},                     // an empty piece is always there
        {L"a=1;", L"", {L"a=1"}},
        {L";;a=1", L"", {L"a=1"}},
        {L"a=1; b=2", L"xa=1y", {L" b=2"}},  // a plain substring test
        {L"qlmr_session=abc; x=1; y=", L"x=1", {L"qlmr_session=abc", L" x=1", L" y="}},
        {L"a=12345", L"a=1234", {L"a=12345"}},
    };
    for (const Case& c : cases) EXPECT_EQ(CookiePiecesToSet(c.handed, c.have), c.set) << c.handed << " / " << c.have;
}

}  // namespace
}  // namespace qm

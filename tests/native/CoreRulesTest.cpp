#include <gtest/gtest.h>

#include "core/Digest.h"
#include "core/Layout.h"
#include "core/TextFit.h"
#include "core/TextRules.h"
#include "core/UpdateLogFormat.h"

namespace qm {
namespace {

TEST(ParseLeadingInteger, ReadsLikeTheRuntimeConversion) {
    struct Case {
        const wchar_t* text;
        long value;
    } cases[] = {
        {L"1001", 1001},    {L"  1001", 1001},  {L"1001  ", 1001},   {L"1001abc", 1001},
        {L"abc1001", 0},    {L"", 0},           {L"-1", -1},         {L"+7", 7},
        {L"\t\r\n 42", 42}, {L"- 1", 0},        {L"--1", 0},         {L"0x10", 0},
        {L"2147483647", 2147483647L},           {L"2147483648", 2147483647L},
        {L"-2147483648", -2147483647L - 1},     {L"-99999999999", -2147483647L - 1},
        {L"00012", 12},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLeadingInteger(c.text), c.value) << c.text;
}

TEST(VersionToNumber, DropsTheDotsThenReadsTheDigits) {
    struct Case {
        const wchar_t* text;
        long value;
    } cases[] = {
        {L"1.0.1.0", 1010},  {L"2.0.0.1", 2001}, {L"1.0.10.0", 10100}, {L"1.1.0.0", 1100},
        {L"", 0},            {L"None VerSion Supprot", 0},             {L" 1.2", 12},
        {L"1.0.1.0beta", 1010}, {L"....", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(VersionToNumber(c.text), c.value) << c.text;
    // The comparison the installer makes: a dotted part of two digits outweighs the next part.
    EXPECT_GT(VersionToNumber(L"1.0.10.0"), VersionToNumber(L"1.1.0.0"));
}

TEST(ShortenWithEllipsis, KeepsTheLongestPrefixThatFitsWithTheEllipsis) {
    // A box that holds a given number of UTF-16 units.
    auto upTo = [](size_t units) { return [units](const std::wstring& t) { return t.size() <= units; }; };
    struct Case {
        std::wstring text;
        size_t room;
        std::wstring expected;
    } cases[] = {
        {L"温馨提示", 4, L"温馨提示"},                 // fits: unchanged
        {L"温馨提示温馨提示", 4, L"温馨提\u2026"},     // three characters and the ellipsis
        {L"是否退出 登录器", 6, L"是否退出\u2026"},    // no blank before the ellipsis
        // A UTF-16 surrogate pair (spelt out: wchar_t is wider here) is never split.
        {std::wstring(L"ab\xD83D\xDE00" L"cd"), 4, L"ab\u2026"},
        {std::wstring(L"ab\xD83D\xDE00" L"cd"), 5, std::wstring(L"ab\xD83D\xDE00\u2026")},
        {L"温馨提示", 1, L"\u2026"},                   // only the ellipsis fits
        {L"温馨提示", 0, L""},                         // nothing fits
        {L"", 0, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenWithEllipsis(c.text, upTo(c.room)), c.expected) << c.room;
}

TEST(FormatUpdateLogLine, PadsWithBlanksNeverZeros) {
    struct Case {
        LogTime time;
        const wchar_t* message;
        const wchar_t* line;
    } cases[] = {
        {{2018, 3, 3, 8, 5, 9}, L"Finish Update.", L"2018- 3- 3  8: 5: 9 : \tUpdateModule\tFinish Update."},
        {{2026, 12, 11, 23, 59, 58}, L"x", L"2026-12-11 23:59:58 : \tUpdateModule\tx"},
        {{2026, 1, 1, 0, 0, 0}, L"", L"2026- 1- 1  0: 0: 0 : \tUpdateModule\t"},
        {{99, 10, 31, 10, 10, 10}, L"a\tb", L"99-10-31 10:10:10 : \tUpdateModule\ta\tb"},
        {{2026, 5, 6, 7, 8, 9}, L"更新成功", L"2026- 5- 6  7: 8: 9 : \tUpdateModule\t更新成功"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatUpdateLogLine(c.time, kUpdateLogTag, c.message), c.line);
    // The fixed part in front of the tab is 22 characters for every four-digit year.
    EXPECT_EQ(FormatUpdateLogLine({2018, 3, 3, 8, 5, 9}, kUpdateLogTag, L"").find(L'\t'), 22u);
}

TEST(UpdateLogLimit, KeepsExactlyTenMebibytes) {
    EXPECT_FALSE(IsUpdateLogOverLimit(0));
    EXPECT_FALSE(IsUpdateLogOverLimit(10485760));
    EXPECT_TRUE(IsUpdateLogOverLimit(10485761));
    EXPECT_TRUE(IsUpdateLogOverLimit(0x100000000ULL));  // sizes past 32 bits are still seen
}

TEST(FormatDigestHex, TwoLowerCaseDigitsPerByteInOrder) {
    const unsigned char bytes[] = {0x00, 0x0f, 0xa0, 0xff, 0x7e};
    EXPECT_EQ(FormatDigestHex(bytes, 5), L"000fa0ff7e");
    EXPECT_EQ(FormatDigestHex(bytes, 0), L"");
}

TEST(Layout, DataFolderEndsWithOneBackslash) {
    EXPECT_EQ(ComposeDataFolder(L"C:\\Users\\p\\AppData\\Roaming", L"vexo", L"qlmr"),
              L"C:\\Users\\p\\AppData\\Roaming\\vexo\\qlmr\\");
    EXPECT_EQ(UpdateLogPathIn(L"C:\\d\\vexo\\qlmr\\"), L"C:\\d\\vexo\\qlmr\\res\\update.log");
}

}  // namespace
}  // namespace qm

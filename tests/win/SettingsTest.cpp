#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "TestSupport.h"
#include "core/DataFolder.h"
#include "core/Settings.h"
#include "core/TextRules.h"

namespace qm {
namespace {

const char kDefaultIni[] =
    "[Info]\r\ncode=\r\npwd=\r\nrem=1\r\n[Setting]\r\nsoundoff=0\r\nautostart=0\r\nautologin=0\r\n"
    "screenshots=Ctrl+Shift+A\r\nscreentoggle=F10\r\nfullscreen=F11\r\n[Start]\r\nfirststart=1\r\n";

// Each test starts without a data folder and leaves none behind.
class Settings : public ::testing::Test {
protected:
    void SetUp() override { test::RemoveTree(GetDataFolder()); }
    void TearDown() override { test::RemoveTree(GetDataFolder()); }
    void MakeResourceFolder() {
        int rc = ::SHCreateDirectoryExW(nullptr, (GetDataFolder() + L"res").c_str(), nullptr);
        ASSERT_TRUE(rc == ERROR_SUCCESS || rc == ERROR_ALREADY_EXISTS) << rc;
    }
    void WriteIni(const std::string& content) {
        MakeResourceFolder();
        test::WriteAllBytes(GetSettingsPath(), content);
    }
};

TEST_F(Settings, LiveInTheResourceFolderOfTheDataFolder) {
    std::wstring folder = GetDataFolder();
    EXPECT_EQ(folder.rfind(GetAppDataFolder(), 0), 0u) << test::Utf8(folder);
    ASSERT_GE(folder.size(), 12u);
    EXPECT_EQ(folder.substr(folder.size() - 11), L"\\vexo\\qlmr\\");
    EXPECT_NE(folder[folder.size() - 12], L'\\');
    std::wstring path = GetSettingsPath();
    EXPECT_EQ(path, folder + L"res//systemset.ini");
    EXPECT_EQ(GetDataFolder(), folder) << "computed once, the same every call";
}

TEST_F(Settings, MissingFileSectionOrKeyGiveTheDefault) {
    EXPECT_EQ(ReadSetting(kSectionSetting, kKeyStart, L"-1"), L"-1");
    EXPECT_EQ(ReadSetting(kSectionStart, kKeyFirstStart, L"0"), L"0");
    EXPECT_EQ(ReadSetting(kSectionSetting, kKeyScreenToggle, L"0"), L"0");

    WriteIni(kDefaultIni);
    EXPECT_EQ(ReadSetting(kSectionSetting, kKeyStart, L"-1"), L"-1") << "no start key in the defaults";
    EXPECT_EQ(ReadSetting(L"Nowhere", kKeyFirstStart, L"0"), L"0");
    EXPECT_EQ(ReadSetting(kSectionStart, kKeyFirstStart, L"0"), L"1");
    EXPECT_EQ(ReadSetting(kSectionSetting, kKeyScreenToggle, L"0"), L"F10");
    EXPECT_EQ(ReadSetting(L"setting", L"FULLSCREEN", L"0"), L"F11") << "names compare without case";
}

TEST_F(Settings, StartValueCountsByItsLeadingDigits) {
    struct Case {
        const char* line;
        const wchar_t* read;
        long number;
    } cases[] = {
        {"start=1001", L"1001", 1001},
        {"start=  1001  ", L"1001", 1001},
        {"start=1001abc", L"1001abc", 1001},
        {"start=abc1001", L"abc1001", 0},
        {"start=", L"", 0},
    };
    for (const Case& c : cases) {
        WriteIni(std::string("[Setting]\r\n") + c.line + "\r\n");
        std::wstring value = ReadSetting(kSectionSetting, kKeyStart, L"-1");
        EXPECT_EQ(value, c.read) << c.line;
        EXPECT_EQ(ParseLeadingInteger(value), c.number) << c.line;
    }
}

TEST_F(Settings, LongValueIsCutTo259Characters) {
    std::string value(300, 'v');
    for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>('a' + i % 26);
    WriteIni("[Info]\r\ncode=" + value + "\r\n");
    std::wstring read = ReadSetting(L"Info", L"code", L"");
    ASSERT_EQ(read.size(), 259u);
    EXPECT_EQ(test::Utf8(read), value.substr(0, 259));
}

TEST_F(Settings, WriteIntoAMissingFolderIsSilentAndCreatesNothing) {
    WriteSetting(kSectionSetting, kKeyStart, L"1001");
    EXPECT_FALSE(test::FileExists(GetDataFolder())) << "no folder is made for the file";
    EXPECT_EQ(ReadSetting(kSectionSetting, kKeyStart, L"-1"), L"-1");
}

TEST_F(Settings, WriteChangesOneKeyAndKeepsEveryOtherLine) {
    WriteIni(kDefaultIni);
    WriteSetting(kSectionSetting, kKeyStart, L"1001");
    WriteSetting(kSectionStart, kKeyFirstStart, L"0");
    EXPECT_EQ(ReadSetting(kSectionSetting, kKeyStart, L"-1"), L"1001");
    EXPECT_EQ(ReadSetting(kSectionStart, kKeyFirstStart, L"0"), L"0");

    std::vector<unsigned char> bytes = test::ReadAllBytes(GetSettingsPath());
    std::string text(bytes.begin(), bytes.end());
    for (const char* line : {"[Info]\r\n", "code=\r\n", "pwd=\r\n", "rem=1\r\n", "soundoff=0\r\n",
                             "screenshots=Ctrl+Shift+A\r\n", "screentoggle=F10\r\n", "fullscreen=F11\r\n",
                             "start=1001\r\n", "firststart=0\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("firststart=1"), std::string::npos);
}

}  // namespace
}  // namespace qm

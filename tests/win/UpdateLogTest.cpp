#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <cwctype>
#include <string>

#include "TestSupport.h"
#include "core/DataFolder.h"
#include "core/UpdateLog.h"
#include "update/UpdateJob.h"
#include "win/Handles.h"

namespace qm {
namespace {

using test::ReadAllBytes;
using test::ScratchFolder;

std::wstring AsUtf16(const std::vector<unsigned char>& bytes) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return text;
}

// The stamp in front of the tag: "%2d-%2d-%2d %2d:%2d:%2d : " with blank padding.
void ExpectStamp(const std::wstring& line) {
    ASSERT_GE(line.size(), 22u);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(iswdigit(line[i])) << "the year is never padded";
    const wchar_t separators[] = {L'-', L'-', L' ', L':', L':'};
    for (int field = 0; field < 5; ++field) {
        size_t at = 4 + field * 3;
        EXPECT_EQ(line[at], separators[field]) << "at " << at;
        EXPECT_TRUE(line[at + 1] == L' ' || iswdigit(line[at + 1])) << "padding at " << at + 1;
        EXPECT_NE(line[at + 1], L'0') << "padded with a zero at " << at + 1;
        EXPECT_TRUE(iswdigit(line[at + 2]));
    }
    EXPECT_EQ(line.substr(19, 3), L" : ");
}

TEST(UpdateLog, NewFileHoldsUtf16LinesWithoutByteOrderMark) {
    ScratchFolder dir;
    std::wstring path = dir / L"update.log";
    ASSERT_EQ(AppendUpdateLogLine(path, L"Finish Update."), 0);

    std::vector<unsigned char> bytes = ReadAllBytes(path);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_FALSE(bytes[0] == 0xFF && bytes[1] == 0xFE) << "no byte-order mark";
    EXPECT_TRUE(bytes[0] >= '0' && bytes[0] <= '9' && bytes[1] == 0) << "starts with the year's first digit";
    // The line end is the two code units CR LF: four bytes.
    ASSERT_EQ(bytes.size() % 2, 0u);
    EXPECT_EQ(std::vector<unsigned char>(bytes.end() - 4, bytes.end()),
              (std::vector<unsigned char>{0x0D, 0x00, 0x0A, 0x00}));

    std::wstring text = AsUtf16(bytes);
    ExpectStamp(text);
    EXPECT_EQ(text.substr(22), L"\tUpdateModule\tFinish Update.\r\n");
}

TEST(UpdateLog, EmptyMessageStillWritesAWholeLine) {
    ScratchFolder dir;
    ASSERT_EQ(AppendUpdateLogLine(dir / L"update.log", L""), 0);
    std::wstring text = AsUtf16(ReadAllBytes(dir / L"update.log"));
    ExpectStamp(text);
    EXPECT_EQ(text.substr(22), L"\tUpdateModule\t\r\n");
}

TEST(UpdateLog, AppendsToWhatIsThereAndKeepsNonAsciiText) {
    ScratchFolder dir;
    std::wstring path = dir / L"update.log";
    test::WriteAllBytes(path, std::string("e\0a\0r\0l\0y\0\r\0\n\0", 14));
    ASSERT_EQ(AppendUpdateLogLine(path, L"Update success.Current Version:1.0.1.0"), 0);
    ASSERT_EQ(AppendUpdateLogLine(path, L"更新 ✓"), 0);

    std::wstring text = AsUtf16(ReadAllBytes(path));
    ASSERT_EQ(text.substr(0, 7), L"early\r\n");
    size_t second = text.find(L"\r\n", 7) + 2;
    EXPECT_EQ(text.substr(7 + 22, second - 7 - 22), L"\tUpdateModule\tUpdate success.Current Version:1.0.1.0\r\n");
    EXPECT_EQ(text.substr(second + 22), L"\tUpdateModule\t更新 ✓\r\n");
}

TEST(UpdateLog, LosesTheLineSilentlyWhenItCannotWrite) {
    ScratchFolder dir;
    // No folder: nothing is created, -1 comes back.
    EXPECT_EQ(AppendUpdateLogLine(dir / L"res\\update.log", L"x"), -1);
    EXPECT_FALSE(test::FileExists(dir / L"res"));

    // Held open by another writer without sharing: the file stays as it was.
    std::wstring path = dir / L"update.log";
    test::WriteAllBytes(path, std::string("k\0e\0e\0p\0", 8));
    {
        win::UniqueFile holder(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                             0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(AppendUpdateLogLine(path, L"lost"), -1);
    }
    EXPECT_EQ(ReadAllBytes(path).size(), 8u);
}

TEST(UpdateLog, SizeLimitKeepsTenMebibytesAndDeletesOneByteMore) {
    ScratchFolder dir;
    struct Case {
        long long size;
        bool deleted;
    } cases[] = {{0, false}, {10485760, false}, {10485761, true}, {0x100000000LL + 5, true}};
    for (const Case& c : cases) {
        std::wstring path = dir / L"update.log";
        test::MakeFileOfSize(path, c.size);
        EXPECT_EQ(DeleteUpdateLogOverLimit(path), c.deleted) << c.size;
        EXPECT_EQ(test::FileExists(path), !c.deleted) << c.size;
        ::DeleteFileW(path.c_str());
    }
    EXPECT_FALSE(DeleteUpdateLogOverLimit(dir / L"missing.log"));
}

TEST(UpdateLog, ApplicationWriterUsesTheDataFolder) {
    const std::wstring res = GetDataFolder() + L"res";
    test::RemoveTree(GetDataFolder());
    EXPECT_EQ(WriteUpdateLog(L"no folder yet"), -1);
    ASSERT_TRUE(::SHCreateDirectoryExW(nullptr, res.c_str(), nullptr) == ERROR_SUCCESS);

    EXPECT_EQ(WriteUpdateLog(L"http://127.0.0.1/games/qlmr/dlq//getClientVersion.php?v=1.0.1.0"), 0);
    std::wstring log = res + L"\\update.log";
    EXPECT_TRUE(test::FileExists(log));
    TrimUpdateLog();
    EXPECT_TRUE(test::FileExists(log)) << "a small log survives the size check";
    test::MakeFileOfSize(log, 10485761);
    TrimUpdateLog();
    EXPECT_FALSE(test::FileExists(log));
    test::RemoveTree(GetDataFolder());
}

TEST(UpdateLog, JobWriterUsesTheUpdateTargetFolderWithItsBlank) {
    CUpdateJob job;
    EXPECT_EQ(job.m_strMakerFolder, L"\\ dunwel\\qlmr\\");
    const std::wstring target = GetAppDataFolder() + L"\\ dunwel\\qlmr";
    const std::wstring withoutBlank = GetAppDataFolder() + L"\\dunwel\\qlmr";
    test::RemoveTree(GetAppDataFolder() + L"\\ dunwel");

    // Nothing creates that folder: without it the line is lost.
    EXPECT_EQ(job.WriteJobLog(L"lost"), -1);
    ASSERT_TRUE(::SHCreateDirectoryExW(nullptr, (target + L"\\res").c_str(), nullptr) == ERROR_SUCCESS);
    EXPECT_EQ(job.WriteJobLog(L"Finish Update."), 0);
    std::wstring text = AsUtf16(ReadAllBytes(target + L"\\res\\update.log"));
    EXPECT_EQ(text.substr(22), L"\tUpdateModule\tFinish Update.\r\n");
    EXPECT_FALSE(test::FileExists(withoutBlank));
    test::RemoveTree(GetAppDataFolder() + L"\\ dunwel");
}

}  // namespace
}  // namespace qm

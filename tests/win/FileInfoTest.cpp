#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"
#include "core/FileInfo.h"
#include "win/Handles.h"
#include "win/Strings.h"

namespace qm {
namespace {

using test::LauncherPath;

TEST(FileVersion, ReadsTheFileVersionTextOrTheFixedAnswers) {
    test::ScratchFolder dir;
    test::WriteAllBytes(dir / L"notes.txt", "no version here\r\n");
    EXPECT_EQ(GetFileVersionText(win::GetModulePath()), L"1.0.1.0") << "this test carries the launcher's resources";
    EXPECT_EQ(GetFileVersionText(dir / L"notes.txt"), L"None VerSion Supprot");
    EXPECT_EQ(GetFileVersionText(dir / L"missing.exe"), L"");
    EXPECT_EQ(GetFileVersionText(dir.Path()), L"None VerSion Supprot") << "a folder exists but has no resource";
}

TEST(FileVersion, OfTheBuiltLauncher) {
    std::wstring exe = LauncherPath();
    if (exe.empty()) GTEST_SKIP() << "QM_LAUNCHER_EXE not set";
    EXPECT_EQ(GetFileVersionText(exe), L"1.0.1.0") << test::Utf8(exe);
}

TEST(FileMd5, DigestsOfKnownContent) {
    test::ScratchFolder dir;
    struct Case {
        std::string content;
        const wchar_t* md5;
    } cases[] = {
        {"", L"d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", L"900150983cd24fb0d6963f7d28e17f72"},
        // Larger than one read piece, so the pieces must join up.
        {std::string(1000000, 'a'), L"7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const Case& c : cases) {
        test::WriteAllBytes(dir / L"f.bin", c.content);
        std::wstring digest;
        EXPECT_TRUE(GetFileMd5(dir / L"f.bin", digest)) << c.content.size();
        EXPECT_EQ(digest, c.md5) << c.content.size();
    }
    std::wstring appended = L"md5=";
    EXPECT_TRUE(GetFileMd5(dir / L"f.bin", appended));
    EXPECT_EQ(appended, L"md5=7707d6ae4e027c70eea2a935c2296f21") << "the digest is appended to the text given";
}

TEST(FileMd5, FailsWithAnEmptyDigestWhenTheFileCannotBeShared) {
    test::ScratchFolder dir;
    std::wstring path = dir / L"held.exe";
    test::WriteAllBytes(path, "abc");
    std::wstring digest;
    EXPECT_FALSE(GetFileMd5(dir / L"missing.exe", digest));
    EXPECT_TRUE(digest.empty());

    struct Holder {
        DWORD access, share;
        const char* what;
    } holders[] = {
        {GENERIC_READ, 0, "open without shared reading"},
        {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, "open for writing"},
    };
    for (const Holder& h : holders) {
        win::UniqueFile held(::CreateFileW(path.c_str(), h.access, h.share, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held) << h.what;
        digest.clear();
        EXPECT_FALSE(GetFileMd5(path, digest)) << h.what;
        EXPECT_TRUE(digest.empty()) << h.what;
    }
    digest.clear();
    EXPECT_TRUE(GetFileMd5(path, digest)) << "readable again once the holder closed it";
}

}  // namespace
}  // namespace qm

#include <gtest/gtest.h>

#include "app/RunMode.h"
#include "game/GameHostSwitches.h"

namespace qm {
namespace {

struct ModeCase {
    const wchar_t* line;
    RunMode expected;
};

class RunModeTable : public ::testing::TestWithParam<ModeCase> {};

TEST_P(RunModeTable, ClassifiesTheExactLine) {
    EXPECT_EQ(ClassifyCommandLine(GetParam().line), GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, RunModeTable,
    ::testing::Values(
        ModeCase{L"", RunMode::Normal},
        ModeCase{L"\"C:\\Games\\Quellmoor.exe\"", RunMode::Normal},
        ModeCase{L"-d", RunMode::Replace},  // no path: replace fails, start-up goes on
        ModeCase{L"-d C:\\Users\\p\\AppData\\Roaming\\vexo\\qlmr\\Quellmoor.exe", RunMode::Replace},
        ModeCase{L"-d C:\\x\\Quellmoor.exe -u", RunMode::Replace},  // the prefix is tested first
        ModeCase{L"-u C:\\x\\Quellmoor.exe -u", RunMode::UninstallConfirmation},
        ModeCase{L"C:\\x\\Quellmoor.exe -u", RunMode::UninstallConfirmation},
        ModeCase{L"\"C:\\x\\Quellmoor.exe\" -u", RunMode::UninstallConfirmation},
        ModeCase{L"-u", RunMode::UninstallConfirmation},  // "-u" is its own suffix
        ModeCase{L"-u C:\\x\\Quellmoor.exe", RunMode::UninstallCleanup},
        ModeCase{L"-D C:\\x\\Quellmoor.exe", RunMode::Normal},  // case-sensitive
        ModeCase{L"-U C:\\x\\Quellmoor.exe", RunMode::Normal},
        ModeCase{L"C:\\x\\Quellmoor.exe -U", RunMode::Normal},
        ModeCase{L"\"C:\\x\\Quellmoor.exe\" -d C:\\y.exe", RunMode::Normal},  // program path first
        ModeCase{L"\"C:\\x\\Quellmoor.exe\" -u C:\\y.exe", RunMode::Normal},
        ModeCase{L"-", RunMode::Normal},
        ModeCase{L"u", RunMode::Normal},
        ModeCase{L"\"C:\\x\\Q.exe\" -frameWnd=65812 -gameurl=http://h/p?play_gamecode=1 -spCookie=a=1",
                 RunMode::ChildHost},
        ModeCase{L"\"C:\\x\\Q.exe\" -frameWnd=-2 -gameurl=x", RunMode::ChildHost},  // handles are signed
        ModeCase{L"\"C:\\x\\Q.exe\" -frameWnd=0 -gameurl=x -spCookie=", RunMode::Normal},
        ModeCase{L"\"C:\\x\\Q.exe\" -frameWnd=65812", RunMode::Normal},  // no blank after the handle
        ModeCase{L"\"C:\\x\\Q.exe\" -framewnd=65812 -gameurl=x", RunMode::Normal},
        ModeCase{L"\"C:\\x\\Q.exe\" -frameWnd=abc -gameurl=x", RunMode::Normal},
        ModeCase{L"-d -frameWnd=65812 -gameurl=x", RunMode::Replace}));

TEST(RunModeByAffixes, LeavesTheSwitchesToTheGameHostParser) {
    // Replace mode that fails falls back to the switch parsing, which may
    // still find a frame handle.
    const wchar_t* line = L"-d -frameWnd=65812 -gameurl=x";
    EXPECT_EQ(SelectRunModeByAffixes(line), RunMode::Replace);
    EXPECT_EQ(ParseGameHostSwitches(line).frameWnd, 65812);
}

}  // namespace
}  // namespace qm

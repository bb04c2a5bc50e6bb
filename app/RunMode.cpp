#include "app/RunMode.h"

#include "game/GameHostSwitches.h"

namespace qm {

RunMode SelectRunModeByAffixes(std::wstring_view line) {
    // A line shorter than two characters is its own prefix and suffix.
    std::wstring_view prefix = line.substr(0, 2);
    std::wstring_view suffix = line.size() < 2 ? line : line.substr(line.size() - 2);
    if (prefix == L"-d") return RunMode::Replace;
    if (suffix == L"-u") return RunMode::UninstallConfirmation;
    if (prefix == L"-u") return RunMode::UninstallCleanup;
    return RunMode::Normal;
}

RunMode ClassifyCommandLine(std::wstring_view line) {
    RunMode mode = SelectRunModeByAffixes(line);
    if (mode != RunMode::Normal) return mode;
    return ParseGameHostSwitches(line).frameWnd != 0 ? RunMode::ChildHost : RunMode::Normal;
}

}  // namespace qm

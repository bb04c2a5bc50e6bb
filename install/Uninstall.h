#pragma once
#include <string>

namespace qm {

// "... -u": asks the player, hands over to a temporary copy of the executable
// and removes the uninstall entry.
void RunUninstallConfirmation(const std::wstring& commandLine);
// "-u <installed path>": removes the shortcuts, the executable and its data.
void RunUninstallCleanup(const std::wstring& commandLine);

}  // namespace qm

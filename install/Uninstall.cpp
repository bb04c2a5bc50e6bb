#include "install/Uninstall.h"

namespace qm {

// Both stages come with the install work; until then an uninstall start ends
// at once without touching anything.
void RunUninstallConfirmation(const std::wstring&) {}
void RunUninstallCleanup(const std::wstring&) {}

}  // namespace qm

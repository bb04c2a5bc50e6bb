#pragma once

namespace qm {

// The self-update check of the login window: asks the portal for a newer
// version and installs it (ending the process) when there is one. Runs
// synchronously on the UI thread.
void RunUpdateCheck();

}  // namespace qm

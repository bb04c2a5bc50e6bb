#include "update/UpdateDriver.h"

namespace qm {

// The version check, download and replacement come with the update work;
// the login form already calls this once, at its first loaded page.
void RunUpdateCheck() {}

}  // namespace qm

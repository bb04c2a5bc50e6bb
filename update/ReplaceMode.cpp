#include "update/ReplaceMode.h"

namespace qm {

// Self-replacement arrives with the update work; until then a "-d" start
// carries on as an ordinary start, as a failed copy does.
bool RunReplaceMode(const std::wstring&) { return false; }

}  // namespace qm

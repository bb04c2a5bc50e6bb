#include "game/GameHost.h"

namespace qm {

// The game window, its host process and the frame arrive with the game work.
// Until then a child start has no window to run, so it ends, and normal mode
// ends at once.
void MergeHandedCookies(const std::wstring&) {}
bool StartChildHost(long, const std::wstring&) { return false; }
void RunFrameWindow() {}

}  // namespace qm

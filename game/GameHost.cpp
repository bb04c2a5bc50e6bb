#include "game/GameHost.h"

#include "game/FrameWindow.h"

namespace qm {

// The game window and its host process arrive with the game-host work. Until
// then a child start has no window to run, so it ends, and the frame starts
// no child.
void MergeHandedCookies(const std::wstring&) {}
bool StartChildHost(long, const std::wstring&) { return false; }
void LaunchGameHost(HWND, const std::wstring&) {}

void RunFrameWindow() {
    CZuvere_KelDlg frame;
    frame.DoModal();
}

}  // namespace qm

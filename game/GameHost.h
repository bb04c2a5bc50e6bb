#pragma once
#include <windows.h>

#include <string>

namespace qm {

// Child game host: the cookies the frame handed over are added to this
// process's cookie store.
void MergeHandedCookies(const std::wstring& handedCookies);

// Child game host: opens the game window inside the frame of another process.
// True when the window runs and the message loop should follow; false when
// it could not be created, and the process then ends.
bool StartChildHost(long frameWnd, const std::wstring& gameUrl);
// At the end of the process: the game window and its view go.
void EndChildHost();

// Normal mode: the frame window, run modally until the player leaves.
void RunFrameWindow();

// On the frame's worker thread: starts the child game host for the frame
// with the game address.
void LaunchGameHost(HWND frame, const std::wstring& gameUrl);

}  // namespace qm

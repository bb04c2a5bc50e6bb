#pragma once
#include <windows.h>

namespace qm {

// Registers the boss key and the full-screen key on the frame, from the
// settings file ("Setting": "screentoggle", "fullscreen"; a missing or empty
// value registers nothing). Failures are not reported: that key then simply
// does not work.
void RegisterHotkeys(HWND frame);

}  // namespace qm

#pragma once
#include <windows.h>

namespace qm {

// The browser-cache cleaner, on a worker thread of its own: when it is done it
// sends command ID_CACHE_CLEARED to the frame and waits until the frame has
// handled it. Returns false when no thread could be started.
bool StartCacheCleaner(HWND frame);

// The worker's body (exit code 0).
DWORD WINAPI CacheCleanThread(LPVOID frame);

}  // namespace qm

#include "install/CacheClean.h"

#include "game/FrameMessages.h"
#include "win/Handles.h"

namespace qm {

DWORD WINAPI CacheCleanThread(LPVOID frame) {
    // The removal of the cache entries and files comes with the installer
    // work; the frame already shows and hides its mask around this worker.
    ::SendMessageW(static_cast<HWND>(frame), WM_COMMAND, ID_CACHE_CLEARED, 0);
    return 0;
}

bool StartCacheCleaner(HWND frame) {
    win::UniqueKernelHandle thread(::CreateThread(nullptr, 0, &CacheCleanThread, frame, 0, nullptr));
    return static_cast<bool>(thread);
}

}  // namespace qm

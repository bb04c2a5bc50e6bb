#include "game/GameHost.h"

#include <wininet.h>

#include <memory>
#include <vector>

#include "game/FrameWindow.h"
#include "game/GameHostSwitches.h"
#include "game/GameWindow.h"
#include "launcher_page.h"
#include "win/Strings.h"

namespace qm {

namespace {

// The cookies this process holds for the launcher page address, whole:
// the buffer grows to what the store reports it needs.
std::wstring LauncherPageCookies() {
    std::vector<wchar_t> buffer(1024);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (::InternetGetCookieW(QM_LAUNCHER_PAGE_W, nullptr, buffer.data(), &size)) return std::wstring(buffer.data());
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::wstring();
        // The size comes back in bytes on some systems and in characters on others.
        buffer.assign(static_cast<size_t>(size) + 1 > buffer.size() * 2 ? static_cast<size_t>(size) + 1
                                                                          : buffer.size() * 2,
                      L'\0');
    }
    return std::wstring();
}

// The one game window of a child host process.
std::unique_ptr<CGameWndDlg> g_pGameWindow;

}  // namespace

void LaunchGameHost(HWND frame, const std::wstring& gameUrl) {
    const std::wstring path = win::GetModulePath();
    std::wstring line = FormatGameHostCommandLine(
        path, static_cast<long>(reinterpret_cast<INT_PTR>(frame)), gameUrl, LauncherPageCookies());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                         &startup, &started)) {
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
    }
}

void MergeHandedCookies(const std::wstring& handedCookies) {
    for (const std::wstring& piece : CookiePiecesToSet(handedCookies, LauncherPageCookies()))
        ::InternetSetCookieW(QM_LAUNCHER_PAGE_W, nullptr, piece.c_str());
}

bool StartChildHost(long frameWnd, const std::wstring& gameUrl) {
    HWND frame = reinterpret_cast<HWND>(static_cast<INT_PTR>(frameWnd));
    g_pGameWindow = std::make_unique<CGameWndDlg>(frame, gameUrl);
    if (!g_pGameWindow->Create(frame)) {
        g_pGameWindow.reset();
        return false;
    }
    ::ShowWindow(g_pGameWindow->GetSafeHwnd(), SW_SHOW);
    return true;
}

void EndChildHost() { g_pGameWindow.reset(); }

void RunFrameWindow() {
    CZuvere_KelDlg frame;
    frame.DoModal();
}

}  // namespace qm

#include "app/App.h"

#include <commctrl.h>
#include <gdiplus.h>

#include "game/GameHost.h"
#include "game/GameHostSwitches.h"
#include "install/Uninstall.h"
#include "update/ReplaceMode.h"

namespace qm {

namespace {
constexpr wchar_t kRegistryIdentity[] = L"vexoQuellmoor";
}

CZuvere_KelApp::CZuvere_KelApp() = default;
CZuvere_KelApp::~CZuvere_KelApp() = default;

bool CZuvere_KelApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    win::CWinAppBase::InitInstance();
    // The browser windows are OLE containers: OLE lives on the UI thread for
    // the whole run.
    m_ole = std::make_unique<win::OleScope>();
    SetRegistryKey(kRegistryIdentity);
    Gdiplus::GdiplusStartupInput gdiplus;  // version 1, no callback, background thread on
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplus, nullptr);

    const wchar_t* raw = ::GetCommandLineW();
    return RunSelectedMode(raw ? raw : L"");
}

bool CZuvere_KelApp::RunSelectedMode(const std::wstring& line) {
    m_runMode = SelectRunModeByAffixes(line);
    switch (m_runMode) {
    case RunMode::Replace:
        if (RunReplaceMode(line)) return false;
        break;  // the copy failed: go on as an ordinary start
    case RunMode::UninstallConfirmation:
        RunUninstallConfirmation(line);
        return false;
    case RunMode::UninstallCleanup:
        RunUninstallCleanup(line);
        return false;
    default:
        break;
    }

    GameHostSwitches switches = ParseGameHostSwitches(line);
    if (switches.handedCookies) MergeHandedCookies(*switches.handedCookies);
    if (switches.frameWnd != 0) {
        m_runMode = RunMode::ChildHost;
        return StartChildHost(switches.frameWnd, switches.gameUrl);
    }
    m_runMode = RunMode::Normal;
    RunFrameWindow();
    return false;
}

int CZuvere_KelApp::ExitInstance() {
    EndChildHost();  // its window and view go before the services they use
    if (m_gdiplusToken) Gdiplus::GdiplusShutdown(m_gdiplusToken);
    m_gdiplusToken = 0;
    m_ole.reset();
    return win::CWinAppBase::ExitInstance();
}

}  // namespace qm

#pragma once
// The launcher's main window: a caption-less, skinned frame with a 30-pixel
// title bar of nine image buttons, around the game window that the child
// game host puts into its client area. It owns the tray icon, the two
// system-wide hotkeys, the F5 accelerator and the cache-clearing mask.
#include <windows.h>

#include <memory>
#include <string>

#include "game/TrayIcon.h"
#include "ui/Images.h"
#include "ui/Mask.h"
#include "ui/TouchButton.h"
#include "win/Dialog.h"
#include "win/Handles.h"

namespace qm {

class CZuvere_KelDlg : public win::CDialogBase {
public:
    CZuvere_KelDlg();
    ~CZuvere_KelDlg() override;

    // Enter and Escape go past the dialog manager; then accelerator 303 (F5).
    bool PreTranslateMessage(MSG& msg) override;

    // State, for the tests and the states' own rules.
    bool IsFullScreen() const noexcept { return m_bFullScreen; }
    bool IsMaximizedLayout() const noexcept { return m_bMaximized; }
    bool IsMinimizedByButton() const noexcept { return m_bMinimizedByButton != 0; }
    HWND GameWindow() const noexcept { return m_hGameWnd; }
    const std::wstring& GameUrl() const noexcept { return m_strGameUrl; }
    const std::wstring& ServerName() const noexcept { return m_strServerName; }
    const TrayIcon& Tray() const noexcept { return m_tray; }
    CMenbanDlg* Mask() const noexcept { return m_pMask.get(); }

protected:
    BOOL OnInitDialog() override;
    // Commands: 1 and 2 (dialog manager), 1001/32777 exit, 1002 restore,
    // 1003 minimise, 1004 full screen, 1005 boss key, 1007 server switch,
    // 1008 maximise, 1021 refresh, 1030/32776 clear cache, 10002 cache
    // cleared, 32775 show or hide, 32778 F5 (nothing).
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    // WM_PAINT, WM_ERASEBKGND, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_SYSCOMMAND,
    // WM_TIMER, WM_HOTKEY, WM_SIZE, WM_ACTIVATE, WM_GETMINMAXINFO,
    // WM_SET_GAME_WINDOW, WM_TRAY_NOTIFY, "TaskbarCreated", and the large
    // icon again on WM_NCPAINT, WM_NCACTIVATE, WM_NOTIFY and WM_MOVE.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Start-up step 4: runs the login window and returns the game address it
    // caught (empty until the login window exists).
    virtual std::wstring RunLogin();
    // Start-up step 14: starts the child game host on a worker thread.
    virtual void StartGameHost();
    // Server switch: a fresh start of this executable, without arguments.
    virtual void StartNewInstance();
    // Clear cache: the worker that removes the files and reports back.
    virtual void StartCacheCleaner();

    // Window states.
    void LayoutTitleButtons();
    void ShowTitleButtons(bool show);
    void FitToWorkArea();
    void EnterFullScreen();
    void LeaveFullScreen();

private:
    void OnMaximize();
    void OnRestore();
    void OnMinimize();
    void OnFullScreenButton();
    void OnLButtonDblClk();
    void OnLButtonDown(LPARAM lParam);
    void OnHotKey(WPARAM id);
    void OnTrayNotify(LPARAM lParam);
    void OnExit();
    void OnSelectServer();
    void OnClearCache();
    void OnCacheCleared();
    void ToggleVisibility();
    void CloseGameWindow();
    void FitGameWindow(bool wholeClient);
    void InvalidateTitleStrip();
    // Maximised: to the work area, restore button shown. Restored: 1000 × 700,
    // maximise button shown. Neither touches the full-screen or minimise flags.
    // Leaving full screen shows every title button, once laid out.
    void ApplyMaximizedLayout(bool showTitleButtons = false);
    void ApplyRestoredLayout();
    void SetLargeIcon();
    void PaintTitleBar(HDC dc);
    CTouchButton& Button(int id);

    CTouchButton m_btnClose;
    CTouchButton m_btnMaximize;
    CTouchButton m_btnRestore;
    CTouchButton m_btnMinimize;
    CTouchButton m_btnSelectServer;
    CTouchButton m_btnBossKey;
    CTouchButton m_btnFullScreen;
    CTouchButton m_btnRefresh;
    CTouchButton m_btnClearCache;
    bool m_bFullScreen = false;
    bool m_bMaximized = false;
    TrayIcon m_tray;
    std::unique_ptr<CMenbanDlg> m_pMask;
    HWND m_hGameWnd = nullptr;
    std::wstring m_strGameUrl;
    std::wstring m_strServerName;
    std::unique_ptr<CPngImage> m_pTitleLeft;
    std::unique_ptr<CPngImage> m_pTitleMiddle;
    std::unique_ptr<CPngImage> m_pTitleRight;
    int m_bMinimizedByButton = 0;
    HACCEL m_hAccel = nullptr;  // a resource of the module: never destroyed
    win::UniqueIcon m_largeIcon;
    win::UniqueIcon m_trayIcon;
    UINT m_uTaskbarCreated = 0;
};

// The game address with its server name: the address converted to the
// system's ANSI code page, then decoded (see ServerNameFromAnsiUrl).
std::wstring ExtractServerName(const std::wstring& gameUrl);

}  // namespace qm

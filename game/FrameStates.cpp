// The frame's window states: maximised to the work area, restored to
// 1000 × 700, minimised, full screen; the title-button layout of each, and
// how much of the client area the game window is told to cover.
#include "game/FrameMessages.h"
#include "game/FrameRules.h"
#include "game/FrameWindow.h"

namespace qm {

namespace {
constexpr RECT kRestoredTitleStrip{0, 0, 1000, kTitleStripHeight};
}

void CZuvere_KelDlg::LayoutTitleButtons() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    for (const TitleButtonPlace& place : TitleButtonPlaces(client.right))
        ::SetWindowPos(Button(place.controlId).GetSafeHwnd(), nullptr, place.x, place.y, place.width, place.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void CZuvere_KelDlg::ShowTitleButtons(bool show) {
    for (const TitleButtonPlace& place : TitleButtonPlaces(0))
        ::ShowWindow(Button(place.controlId).GetSafeHwnd(), show ? SW_SHOW : SW_HIDE);
}

void CZuvere_KelDlg::FitToWorkArea() {
    RECT taskbar{}, area{};
    if (HWND tray = ::FindWindowW(L"Shell_TrayWnd", L"")) ::GetWindowRect(tray, &taskbar);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const ScreenPoint origin = WorkAreaOrigin({taskbar.left, taskbar.top, taskbar.right, taskbar.bottom},
                                              {area.left, area.top, area.right, area.bottom});
    ::SetWindowPos(m_hWnd, nullptr, origin.x, origin.y, area.right - area.left, area.bottom - area.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_hGameWnd) FitGameWindow(false);
    InvalidateTitleStrip();
}

void CZuvere_KelDlg::EnterFullScreen() {
    m_bFullScreen = true;
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_hGameWnd) FitGameWindow(true);
    ShowTitleButtons(false);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

void CZuvere_KelDlg::LeaveFullScreen() {
    m_bFullScreen = false;
    ApplyMaximizedLayout(true);
}

void CZuvere_KelDlg::ApplyMaximizedLayout(bool showTitleButtons) {
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    m_bMaximized = true;
    FitToWorkArea();
    LayoutTitleButtons();
    // Shown only once they stand in their new places.
    if (showTitleButtons) ShowTitleButtons(true);
    ::ShowWindow(m_btnMaximize.GetSafeHwnd(), SW_HIDE);
    ::ShowWindow(m_btnRestore.GetSafeHwnd(), SW_SHOW);
    InvalidateTitleStrip();
}

void CZuvere_KelDlg::ApplyRestoredLayout() {
    m_bMaximized = false;
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    LayoutTitleButtons();
    if (m_hGameWnd) FitGameWindow(false);
    ::ShowWindow(m_btnMaximize.GetSafeHwnd(), SW_SHOW);
    ::ShowWindow(m_btnRestore.GetSafeHwnd(), SW_HIDE);
    // The strip of the restored width; the window's own repaint does the rest.
    ::InvalidateRect(m_hWnd, &kRestoredTitleStrip, TRUE);
}

void CZuvere_KelDlg::OnMaximize() {
    m_bMinimizedByButton = 0;
    ApplyMaximizedLayout();
}

void CZuvere_KelDlg::OnRestore() {
    m_bMinimizedByButton = 0;
    ApplyRestoredLayout();
}

void CZuvere_KelDlg::OnMinimize() {
    m_bMinimizedByButton = 1;
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CZuvere_KelDlg::OnFullScreenButton() {
    m_bMinimizedByButton = 0;
    EnterFullScreen();
}

void CZuvere_KelDlg::OnLButtonDblClk() {
    if (::IsZoomed(m_hWnd)) ApplyRestoredLayout();
    else ApplyMaximizedLayout();
}

void CZuvere_KelDlg::OnLButtonDown(LPARAM lParam) {
    if (::IsZoomed(m_hWnd)) return;
    // Pressing the title strip moves the window, as a caption would.
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(m_hWnd, &at);
    ::PostMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
}

void CZuvere_KelDlg::FitGameWindow(bool wholeClient) {
    ::SendMessageW(m_hGameWnd, WM_FIT_GAME_WINDOW, wholeClient ? 1 : 0, 0);
}

void CZuvere_KelDlg::InvalidateTitleStrip() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    RECT strip{0, 0, client.right, kTitleStripHeight};
    ::InvalidateRect(m_hWnd, &strip, TRUE);
}


}  // namespace qm

#include "game/GameWindow.h"

#include "game/FrameMessages.h"
#include "game/FrameRules.h"
#include "res/resource.h"
#include "win/Handles.h"

namespace qm {

CGameWndDlg::CGameWndDlg(HWND frameWnd, std::wstring gameUrl)
    : CDialogBase(IDD_GAME_HOST, frameWnd), m_hFrameWnd(frameWnd), m_strGameUrl(std::move(gameUrl)) {}

CGameWndDlg::~CGameWndDlg() = default;

BOOL CGameWndDlg::OnInitDialog() {
    if (m_hFrameWnd) {
        m_pView = std::make_unique<CMyHtmlView>();
        m_pView->Create(m_hWnd, RECT{});
        Reload();
        FitToFrame(false, true);
        SizeViewToClient();
        ::SetParent(m_hWnd, m_hFrameWnd);
        ::SendMessageW(m_hFrameWnd, WM_SET_GAME_WINDOW, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
    StartFrameWatcher();
    return TRUE;
}

namespace {
struct WatchedWindows {
    HWND frame;
    HWND dialog;
};
}  // namespace

void CGameWndDlg::StartFrameWatcher() {
    // Copies, so the thread never reads a dialog that has gone before it runs.
    auto windows = std::make_unique<WatchedWindows>(WatchedWindows{m_hFrameWnd, m_hWnd});
    win::UniqueKernelHandle thread(
        ::CreateThread(nullptr, 0, &CGameWndDlg::WatchFrameThread, windows.get(), 0, nullptr));
    if (thread) windows.release();  // the thread's now
}

DWORD WINAPI CGameWndDlg::WatchFrameThread(LPVOID parameter) {
    const std::unique_ptr<WatchedWindows> windows(static_cast<WatchedWindows*>(parameter));
    const HWND frame = windows->frame, dialog = windows->dialog;
    while (::IsWindow(frame)) ::Sleep(1000);
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    ::Sleep(1000);
    ::ExitProcess(0);
}

void CGameWndDlg::Reload() {
    if (m_pView) m_pView->Navigate2(m_strGameUrl);
}

void CGameWndDlg::FitToFrame(bool wholeClient, bool repaint) {
    RECT rc{};
    ::GetClientRect(m_hFrameWnd, &rc);
    if (!wholeClient) rc.top += kTitleStripHeight;
    // Before SetParent the dialog still sits in screen coordinates: place it
    // where the frame's client area is on the screen.
    if (!(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_CHILD) || ::GetParent(m_hWnd) != m_hFrameWnd)
        ::MapWindowPoints(m_hFrameWnd, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rc), 2);
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint);
}

void CGameWndDlg::SizeViewToClient() {
    if (!m_pView || !m_pView->GetSafeHwnd()) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_pView->MoveWindow(client, false);
}

bool CGameWndDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        if (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN) return false;
        if (msg.wParam == VK_F5 && m_pView) {
            // The game address, not whatever the page has navigated to since.
            Reload();
            return true;
        }
    }
    // The page's own keys before the dialog's keyboard handling takes them.
    if (m_pView && m_pView->TranslateAccelerator(msg)) return true;
    return CDialogBase::PreTranslateMessage(msg);
}

bool CGameWndDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_CLOSE:
        if (m_pView) {
            m_pView->DestroyWindow();
            m_pView.reset();
        }
        ::PostQuitMessage(0);
        result = 0;
        return true;
    case WM_MOUSEACTIVATE:
    case WM_TIMER:
        result = ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        return true;
    case WM_SIZE:
        SizeViewToClient();
        return false;
    default:
        break;
    }
    if (msg == WM_RELOAD_GAME) {
        Reload();
        result = 0;
        return true;
    }
    if (msg == WM_FIT_GAME_WINDOW) {
        if (m_hFrameWnd) {
            FitToFrame(wParam != 0, false);
            if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOW);
        }
        result = 0;
        return true;
    }
    return false;
}

}  // namespace qm

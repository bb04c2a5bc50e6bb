#include "game/FrameWindow.h"

#include <memory>
#include <vector>

#include "game/FrameMessages.h"
#include "game/FrameRules.h"
#include "game/GameHost.h"
#include "game/HotkeyRegistration.h"
#include "game/Hotkeys.h"
#include "install/CacheClean.h"
#include "res/resource.h"
#include "ui/MemDC.h"
#include "ui/MessageBox.h"
#include "win/Gdi.h"
#include "win/Strings.h"

namespace qm {

namespace {

constexpr int kRestoredWidth = 1000, kRestoredHeight = 700;
const Gdiplus::Color kServerNameColour(0xFF, 0xFF, 0xF3, 0xCD);

struct ButtonSkin {
    int id;
    UINT normal, hover, pressed;
    const wchar_t* tooltip;
};
constexpr ButtonSkin kButtonSkins[] = {
    {IDC_FRAME_CLOSE, IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED, nullptr},
    {IDC_FRAME_MAXIMIZE, IDB_MAXIMIZE_NORMAL, IDB_MAXIMIZE_HOVER, IDB_MAXIMIZE_PRESSED, nullptr},
    {IDC_FRAME_RESTORE, IDB_RESTORE_NORMAL, IDB_RESTORE_HOVER, IDB_RESTORE_PRESSED, nullptr},
    {IDC_FRAME_MINIMIZE, IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_PRESSED, nullptr},
    {IDC_FRAME_SELECTSERVER, IDB_SERVER_NORMAL, IDB_SERVER_HOVER, IDB_SERVER_PRESSED, L"选择新的服务器"},
    {IDC_FRAME_BOSSKEY, IDB_BOSSKEY_NORMAL, IDB_BOSSKEY_HOVER, IDB_BOSSKEY_PRESSED, L"老板键（快捷键F10）"},
    {IDC_FRAME_FULLSCREEN, IDB_FULLSCREEN_NORMAL, IDB_FULLSCREEN_HOVER, IDB_FULLSCREEN_PRESSED,
     L"全屏/取消全屏（快捷键F11）"},
    {IDC_FRAME_REFRESH, IDB_REFRESH_NORMAL, IDB_REFRESH_HOVER, IDB_REFRESH_PRESSED, L"刷新"},
    {IDC_FRAME_CLEARCACHE, IDB_CLEARCACHE_NORMAL, IDB_CLEARCACHE_HOVER, IDB_CLEARCACHE_PRESSED, L"清除缓存"},
};

// What the game-host worker gets: its own copy of the address.
struct GameHostJob {
    HWND frame;
    std::wstring gameUrl;
};

DWORD WINAPI GameHostThread(LPVOID parameter) {
    std::unique_ptr<GameHostJob> job(static_cast<GameHostJob*>(parameter));
    LaunchGameHost(job->frame, job->gameUrl);
    return 0;
}

}  // namespace

std::wstring ExtractServerName(const std::wstring& gameUrl) {
    if (gameUrl.empty()) return std::wstring();
    const int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, gameUrl.data(), static_cast<int>(gameUrl.size()),
                                           nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::wstring();
    std::string ansi(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, gameUrl.data(), static_cast<int>(gameUrl.size()), ansi.data(), size,
                          nullptr, nullptr);
    return ServerNameFromAnsiUrl(ansi);
}

CZuvere_KelDlg::CZuvere_KelDlg() : CDialogBase(IDD_FRAME) {}

CZuvere_KelDlg::~CZuvere_KelDlg() {
    m_pMask.reset();
    m_tray.Remove();
}

CTouchButton& CZuvere_KelDlg::Button(int id) {
    switch (id) {
    case IDC_FRAME_CLOSE: return m_btnClose;
    case IDC_FRAME_MAXIMIZE: return m_btnMaximize;
    case IDC_FRAME_RESTORE: return m_btnRestore;
    case IDC_FRAME_MINIMIZE: return m_btnMinimize;
    case IDC_FRAME_SELECTSERVER: return m_btnSelectServer;
    case IDC_FRAME_BOSSKEY: return m_btnBossKey;
    case IDC_FRAME_FULLSCREEN: return m_btnFullScreen;
    case IDC_FRAME_REFRESH: return m_btnRefresh;
    default: return m_btnClearCache;
    }
}

BOOL CZuvere_KelDlg::OnInitDialog() {
    for (const ButtonSkin& skin : kButtonSkins) Button(skin.id).SubclassDlgItem(skin.id, m_hWnd);
    m_bMinimizedByButton = 0;
    m_uTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

    const std::wstring title = win::LoadStr(IDS_LAUNCHER_TITLE);
    ::SetWindowTextW(m_hWnd, title.c_str());
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, kRestoredWidth, kRestoredHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style | WS_SYSMENU | WS_MINIMIZEBOX);

    m_strGameUrl = RunLogin();
    m_strServerName = ExtractServerName(m_strGameUrl);

    m_trayIcon.Reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY),
                                                     IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                                     ::GetSystemMetrics(SM_CYICON), 0)));
    m_tray.Add(title, m_hWnd, m_trayIcon.Get());

    for (const ButtonSkin& skin : kButtonSkins) {
        CTouchButton& button = Button(skin.id);
        button.SetImages(skin.normal, skin.hover, skin.pressed);
        if (skin.tooltip) button.SetTooltipText(skin.tooltip, true);
    }

    m_pTitleLeft = LoadPngImage(IDB_TITLE_LEFT);
    m_pTitleMiddle = LoadPngImage(IDB_TITLE_MIDDLE);
    m_pTitleRight = LoadPngImage(IDB_TITLE_RIGHT);

    CenterWindow();

    ApplyMaximizedLayout();

    m_pMask = std::make_unique<CMenbanDlg>(m_hWnd);
    if (m_pMask->Create(m_hWnd)) ::ShowWindow(m_pMask->GetSafeHwnd(), SW_HIDE);

    m_hAccel = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_FRAME));
    RegisterHotkeys(m_hWnd);
    StartGameHost();
    return TRUE;
}

std::wstring CZuvere_KelDlg::RunLogin() {
    // The login window comes with the sign-in work; until then there is no
    // game address and the title shows no server name.
    return std::wstring();
}

void CZuvere_KelDlg::StartGameHost() {
    auto job = std::make_unique<GameHostJob>(GameHostJob{m_hWnd, m_strGameUrl});
    win::UniqueKernelHandle thread(::CreateThread(nullptr, 0, &GameHostThread, job.get(), 0, nullptr));
    if (thread) job.release();  // the worker owns it now
}

void CZuvere_KelDlg::StartNewInstance() {
    const std::wstring path = win::GetModulePath();
    if (path.empty() || path.size() >= MAX_PATH) return;
    std::wstring commandLine = L"\"" + path + L"\"";
    SECURITY_ATTRIBUTES process{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    SECURITY_ATTRIBUTES thread{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(path.c_str(), commandLine.data(), &process, &thread, FALSE, CREATE_DEFAULT_ERROR_MODE,
                         nullptr, nullptr, &startup, &started)) {
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
    }
}

void CZuvere_KelDlg::StartCacheCleaner() { qm::StartCacheCleaner(m_hWnd); }

bool CZuvere_KelDlg::PreTranslateMessage(MSG& msg) {
    // Enter and Escape never reach the dialog manager: the frame has no
    // default button to press and must not close on Escape.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return false;
    if (m_hAccel && m_hWnd && ::TranslateAcceleratorW(m_hWnd, m_hAccel, &msg)) return true;
    return CDialogBase::PreTranslateMessage(msg);
}

bool CZuvere_KelDlg::OnCommand(WORD id, WORD, HWND) {
    switch (id) {
    case IDOK: break;  // never ends the frame
    case IDCANCEL:
        if (m_bFullScreen) LeaveFullScreen();
        break;
    case IDC_FRAME_MAXIMIZE: OnMaximize(); break;
    case IDC_FRAME_RESTORE: OnRestore(); break;
    case IDC_FRAME_MINIMIZE: OnMinimize(); break;
    case IDC_FRAME_FULLSCREEN: OnFullScreenButton(); break;
    case IDC_FRAME_BOSSKEY: ::ShowWindow(m_hWnd, SW_HIDE); break;
    case IDC_FRAME_CLEARCACHE:
    case ID_TRAY_CLEARCACHE: OnClearCache(); break;
    case IDC_FRAME_SELECTSERVER: OnSelectServer(); break;
    case IDC_FRAME_CLOSE:
    case ID_TRAY_EXIT: OnExit(); break;
    case ID_TRAY_TOGGLE: ToggleVisibility(); break;
    case ID_FRAME_F5: break;  // F5 on the frame itself does nothing; the game page has its own
    case IDC_FRAME_REFRESH:
        if (m_hGameWnd) ::PostMessageW(m_hGameWnd, WM_RELOAD_GAME, 0, 0);
        break;
    case ID_CACHE_CLEARED: OnCacheCleared(); break;
    default: return false;
    }
    return true;
}

bool CZuvere_KelDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_PAINT: {
        SetLargeIcon();
        win::PaintDc paint(m_hWnd);  // validates; the title is drawn on erase
        return true;
    }
    case WM_ERASEBKGND:
        PaintTitleBar(reinterpret_cast<HDC>(wParam));
        result = 1;
        return true;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk();
        return false;
    case WM_LBUTTONDOWN:
        OnLButtonDown(lParam);
        return false;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE: OnExit(); break;
        case SC_RESTORE:
            // Back from the taskbar into the maximised layout: refit once the
            // window system has restored it.
            if (m_bMaximized) ::SetTimer(m_hWnd, TIMER_REFIT, 10, nullptr);
            break;
        default: break;
        }
        return false;
    case WM_TIMER:
        if (wParam == TIMER_REFIT) {
            FitToWorkArea();
            ::KillTimer(m_hWnd, TIMER_REFIT);
        }
        return false;
    case WM_HOTKEY:
        OnHotKey(wParam);
        return false;
    case WM_SIZE:
        if (m_hGameWnd) FitGameWindow(m_bFullScreen);
        result = 0;
        return true;
    case WM_ACTIVATE:
        result = 0;
        return true;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{400, 400};
        return false;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_NOTIFY:
    case WM_MOVE:
        SetLargeIcon();
        return false;
    default:
        break;
    }
    if (msg == WM_SET_GAME_WINDOW) {
        m_hGameWnd = reinterpret_cast<HWND>(wParam);
        result = 0;
        return true;
    }
    if (msg == WM_TRAY_NOTIFY) {
        OnTrayNotify(lParam);
        result = 0;
        return true;
    }
    if (m_uTaskbarCreated != 0 && msg == m_uTaskbarCreated) {
        // Explorer restarted: without this the icon would be gone for good,
        // and a frame hidden from the tray could only come back by hotkey.
        m_tray.AddAgain();
        return false;
    }
    return false;
}

void CZuvere_KelDlg::SetLargeIcon() {
    if (!m_largeIcon)
        m_largeIcon.Reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_FRAME),
                                                          IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    // Only when it changed: setting an icon may repaint the frame, which would set it again.
    if (m_largeIcon && reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_GETICON, ICON_BIG, 0)) != m_largeIcon.Get())
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_largeIcon.Get()));
}

void CZuvere_KelDlg::PaintTitleBar(HDC dc) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right;
    // Below the title strip the game window covers the client area; until
    // it is there the frame shows black rather than whatever was on the
    // screen. (Never over the game window: it would flicker.)
    if (!m_hGameWnd) {
        RECT below{0, m_bFullScreen ? 0 : kTitleStripHeight, client.right, client.bottom};
        ::FillRect(dc, &below, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    if (m_bFullScreen) return;
    if (!m_pTitleLeft || !m_pTitleMiddle || !m_pTitleRight || m_pTitleLeft->Width() == 0 ||
        m_pTitleMiddle->Width() == 0 || m_pTitleRight->Width() == 0 || width <= 0)
        return;

    CMemoryBitmap strip(dc, width, kTitleStripHeight);
    if (!strip) return;
    {
        Gdiplus::Graphics graphics(strip.Dc());
        const INT leftWidth = static_cast<INT>(m_pTitleLeft->Width());
        const INT rightWidth = static_cast<INT>(m_pTitleRight->Width());
        graphics.DrawImage(m_pTitleLeft->Get(), 0, 0, leftWidth, static_cast<INT>(m_pTitleLeft->Height()));
        Gdiplus::TextureBrush middle(m_pTitleMiddle->Get(), Gdiplus::WrapModeTile);
        middle.TranslateTransform(static_cast<Gdiplus::REAL>(leftWidth), 0);
        graphics.FillRectangle(&middle, leftWidth, 0, width - leftWidth - rightWidth,
                               static_cast<INT>(m_pTitleMiddle->Height()));
        graphics.DrawImage(m_pTitleRight->Get(), width - rightWidth, 0, rightWidth,
                           static_cast<INT>(m_pTitleRight->Height()));
        if (!m_strServerName.empty()) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
            // No fallback family: without the font the name is simply not drawn.
            Gdiplus::FontFamily family(L"微软雅黑");
            Gdiplus::Font font(&family, 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
            Gdiplus::SolidBrush brush(kServerNameColour);
            const std::wstring text = FormatServerTitle(m_strServerName);
            graphics.DrawString(text.c_str(), -1, &font,
                                Gdiplus::PointF(static_cast<Gdiplus::REAL>(leftWidth + 5), 4), &brush);
        }
    }
    ::BitBlt(dc, 0, 0, width, kTitleStripHeight, strip.Dc(), 0, 0, SRCCOPY);
}

void CZuvere_KelDlg::OnTrayNotify(LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN:
        // Shown in its current state: a minimised frame stays minimised.
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        break;
    case WM_RBUTTONUP: {
        win::UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
        HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
        if (!popup) break;
        POINT cursor{};
        ::GetCursorPos(&cursor);
        // In front first, so that the menu closes when the player clicks elsewhere.
        ::SetForegroundWindow(m_hWnd);
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x - 130, cursor.y, 0, m_hWnd, nullptr);
        break;
    }
    default:
        break;
    }
}

void CZuvere_KelDlg::ToggleVisibility() { ::ShowWindow(m_hWnd, ::IsWindowVisible(m_hWnd) ? SW_HIDE : SW_SHOW); }

void CZuvere_KelDlg::CloseGameWindow() {
    if (!m_hGameWnd) return;
    // The child runs in another process: a hung one must not keep the frame.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(m_hGameWnd, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    ::Sleep(50);
}

void CZuvere_KelDlg::OnExit() {
    CCustomMessageBox box(m_hWnd);
    box.SetText(L"关闭提示", L"是否退出《Quellmoor》登录器？");
    if (box.DoModal() != IDOK) return;
    m_tray.Remove();
    CloseGameWindow();
    EndDialog(0);
}

void CZuvere_KelDlg::OnSelectServer() {
    CCustomMessageBox box(m_hWnd);
    box.SetText(L"选服", L"是否退出当前区服，重新选择新区服？");
    if (box.DoModal() != IDOK) return;
    ::ShowWindow(m_hWnd, SW_HIDE);
    CloseGameWindow();
    StartNewInstance();
    EndDialog(0);
}

void CZuvere_KelDlg::OnClearCache() {
    if (!m_pMask || !m_pMask->GetSafeHwnd()) return;
    HWND mask = m_pMask->GetSafeHwnd();
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    ::SetWindowPos(mask, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER);
    ::SetTimer(mask, CMenbanDlg::kSpinnerTimer, CMenbanDlg::kSpinnerInterval, nullptr);
    ::ShowWindow(mask, SW_SHOW);
    StartCacheCleaner();
}

void CZuvere_KelDlg::OnCacheCleared() {
    if (!m_pMask || !m_pMask->GetSafeHwnd()) return;
    ::KillTimer(m_pMask->GetSafeHwnd(), CMenbanDlg::kSpinnerTimer);
    ::ShowWindow(m_pMask->GetSafeHwnd(), SW_HIDE);
}

void CZuvere_KelDlg::OnHotKey(WPARAM id) {
    if (id == HOTKEY_ID_SCREENTOGGLE) {
        if (m_bMinimizedByButton) {
            ::ShowWindow(m_hWnd, SW_SHOW);
            if (m_bMaximized) OnMaximize();
            else OnRestore();
            ::SetForegroundWindow(m_hWnd);
        } else {
            ToggleVisibility();
        }
    } else if (id == HOTKEY_ID_FULLSCREEN) {
        HWND front = ::GetForegroundWindow();
        if (front == m_hWnd || front == ::GetLastActivePopup(m_hWnd)) {
            if (m_bFullScreen) LeaveFullScreen();
            else EnterFullScreen();
        }
    }
}

}  // namespace qm

#include "win/Window.h"

namespace qm::win {

namespace {
// A window property rather than GWLP_USERDATA: the browser control and other
// foreign windows use their user data for themselves, and a parent chain walk
// must never mistake their value for one of our objects.
constexpr wchar_t kObjectProperty[] = L"Quellmoor.WindowObject";
}  // namespace

CWindow* CWindow::FromHandle(HWND hwnd) noexcept {
    if (!hwnd) return nullptr;
    // The game window's parent is the frame of another process: a property
    // found there is an address in that process, never one of ours.
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process != ::GetCurrentProcessId()) return nullptr;
    return static_cast<CWindow*>(::GetPropW(hwnd, kObjectProperty));
}

void CWindow::Attach(HWND hwnd) noexcept {
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kObjectProperty, this);
}

void CWindow::Detach() noexcept {
    if (m_hWnd) ::RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

bool CWindow::PreTranslateMessage(MSG&) { return false; }

bool CWindow::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CWindow::PreTranslateChain(MSG& msg) {
    for (HWND hwnd = msg.hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWindow* object = FromHandle(hwnd)) {
            if (object->PreTranslateMessage(msg)) return true;
        }
        // Top-level windows end the walk: GetParent would name the owner.
        if (!(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

}  // namespace qm::win

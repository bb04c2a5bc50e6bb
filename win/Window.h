#pragma once
// The common base of every window object of the program: it ties a C++ object
// to its HWND and offers each message to PreTranslateMessage before dispatch.
#include <windows.h>

namespace qm::win {

class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND GetSafeHwnd() const noexcept { return m_hWnd; }

    // The object behind a window of ours, or null for any other window.
    static CWindow* FromHandle(HWND hwnd) noexcept;

    // Offered every message of the message loops before it is translated and
    // dispatched; true means handled, and the message goes no further.
    virtual bool PreTranslateMessage(MSG& msg);

    // Offers msg to the object of its target window and then to those of the
    // target's parents, nearest first, as the loops of the program do.
    static bool PreTranslateChain(MSG& msg);

    // A notification that the parent received about this window (owner draw,
    // control colours), handed back to the control that it concerns before the
    // parent's own handlers. True when handled, with result set.
    virtual bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    void Attach(HWND hwnd) noexcept;
    void Detach() noexcept;

    HWND m_hWnd = nullptr;
};

}  // namespace qm::win

#include "win/Dialog.h"

namespace qm::win {

CDialogBase::~CDialogBase() {
    if (m_hWnd) {
        HWND hwnd = m_hWnd;
        Detach();
        ::DestroyWindow(hwnd);
    }
}

bool CDialogBase::Create(HWND parent) {
    if (parent) m_hParent = parent;
    m_bModal = false;
    HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_hParent,
                                     &CDialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR CDialogBase::DoModal() {
    m_bModal = true;
    m_bEndModal = false;
    m_nModalResult = -1;
    HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_hParent,
                                     &CDialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd) {
        m_bModal = false;
        return -1;
    }
    // The owner is disabled for as long as the dialog runs, as with DialogBox.
    HWND owner = m_hParent;
    bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);

    bool shownOnce = false;
    while (!m_bEndModal) {
        MSG msg;
        // Show a template without WS_VISIBLE once the queue is first idle, so
        // that what OnInitDialog arranged is painted in one go.
        if (!shownOnce && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            shownOnce = true;
            if (m_hWnd && !(::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VISIBLE))
                ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        }
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Someone asked the thread to quit: leave, and let the outer loop see it too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!PreTranslateChain(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        // Hide first and hand the activation back, so the owner does not lose
        // the foreground to some other program when the dialog disappears.
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
        ::DestroyWindow(m_hWnd);
    }
    m_bModal = false;
    return m_nModalResult;
}

void CDialogBase::EndDialog(INT_PTR result) {
    if (m_bModal) {
        m_nModalResult = result;
        m_bEndModal = true;
        // Wake the loop in case the queue is empty.
        if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd) {
        ::DestroyWindow(m_hWnd);
    }
}

void CDialogBase::CenterWindow() {
    if (!m_hWnd) return;
    RECT self{}, area{};
    ::GetWindowRect(m_hWnd, &self);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int x = area.left + ((area.right - area.left) - (self.right - self.left)) / 2;
    int y = area.top + ((area.bottom - area.top) - (self.bottom - self.top)) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialogBase::PreTranslateMessage(MSG& msg) {
    return m_hWnd && ::IsDialogMessageW(m_hWnd, &msg);
}

bool CDialogBase::OnCommand(WORD id, WORD, HWND) {
    switch (id) {
    case IDOK: OnOK(); return true;
    case IDCANCEL: OnCancel(); return true;
    default: return false;
    }
}

bool CDialogBase::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

HWND CDialogBase::NotifyingControl(UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM:
        return lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    default:
        return nullptr;
    }
}

INT_PTR CDialogBase::Answer(UINT msg, LRESULT result) {
    switch (msg) {
    // These answer through the return value of the dialog procedure itself.
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

INT_PTR CDialogBase::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    // The control a notification concerns answers it first (the image button
    // draws itself this way), as long as it is a control of ours.
    if (HWND control = NotifyingControl(msg, wParam, lParam); control && ::GetParent(control) == m_hWnd) {
        if (CWindow* object = FromHandle(control); object && object->OnReflectedMessage(msg, wParam, lParam, result))
            return Answer(msg, result);
    }
    bool handled = OnMessage(msg, wParam, lParam, result);
    if (!handled && msg == WM_COMMAND)
        handled = OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    if (!handled) return FALSE;
    return Answer(msg, result);
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Nothing may escape into the dialog manager: a C++ exception crossing a
    // system frame is undefined, so every handler runs behind this catch.
    try {
        if (msg == WM_INITDIALOG) {
            auto* self = reinterpret_cast<CDialogBase*>(lParam);
            self->Attach(hwnd);
            return self->OnInitDialog();
        }
        auto* self = static_cast<CDialogBase*>(FromHandle(hwnd));
        if (!self) return FALSE;
        if (msg == WM_NCDESTROY) {
            self->Detach();
            self->PostNcDestroy();
            return FALSE;
        }
        return self->Dispatch(msg, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

}  // namespace qm::win

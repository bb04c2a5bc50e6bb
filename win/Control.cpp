#include "win/Control.h"

#include <commctrl.h>

namespace qm::win {

namespace {
constexpr UINT_PTR kSubclassId = 0x514D;  // "QM"
}

CSubclassedControl::~CSubclassedControl() { UnsubclassWindow(); }

bool CSubclassedControl::SubclassDlgItem(UINT id, HWND dialog) {
    return SubclassWindow(::GetDlgItem(dialog, static_cast<int>(id)));
}

bool CSubclassedControl::SubclassWindow(HWND control) {
    if (!control || m_hWnd || FromHandle(control)) return false;
    if (!::SetWindowSubclass(control, &CSubclassedControl::SubclassProc, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(this)))
        return false;
    Attach(control);
    PreSubclassWindow();
    return true;
}

void CSubclassedControl::UnsubclassWindow() {
    if (!m_hWnd) return;
    ::RemoveWindowSubclass(m_hWnd, &CSubclassedControl::SubclassProc, kSubclassId);
    Detach();
}

bool CSubclassedControl::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CSubclassedControl::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CSubclassedControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                                  UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<CSubclassedControl*>(refData);
    if (msg == WM_NCDESTROY) {
        self->UnsubclassWindow();
        return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    try {
        LRESULT result = 0;
        if (self->OnMessage(msg, wParam, lParam, result)) return result;
    } catch (...) {
        // Fall through to the control's own handling.
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace qm::win

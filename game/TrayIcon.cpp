#include "game/TrayIcon.h"

#include <cwchar>

#include "game/FrameMessages.h"
#include "game/FrameRules.h"

namespace qm {

static_assert(sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) == kTrayTipCapacity,
              "the tip rule must match the record");

TrayIcon::~TrayIcon() { Remove(); }

void TrayIcon::Add(const std::wstring& tip, HWND owner, HICON icon) {
    m_data = NOTIFYICONDATAW{};
    m_data.cbSize = sizeof(m_data);
    m_data.hWnd = owner;
    m_data.uID = 0;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_data.uCallbackMessage = WM_TRAY_NOTIFY;
    m_data.hIcon = icon;
    const std::wstring text = TrayTipText(tip);
    std::wmemcpy(m_data.szTip, text.c_str(), text.size() + 1);
    ::Shell_NotifyIconW(NIM_ADD, &m_data);
    m_bAdded = true;
}

void TrayIcon::Remove() {
    if (!m_bAdded) return;
    ::Shell_NotifyIconW(NIM_DELETE, &m_data);
    m_bAdded = false;
}

void TrayIcon::AddAgain() {
    if (m_bAdded) ::Shell_NotifyIconW(NIM_ADD, &m_data);
}

}  // namespace qm

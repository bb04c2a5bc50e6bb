#pragma once
// The frame's icon in the notification area.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace qm {

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Fills the record (callback WM_TRAY_NOTIFY, the icon, the tip cut to fit)
    // and adds the icon; counts as added whether or not the shell took it.
    void Add(const std::wstring& tip, HWND owner, HICON icon);
    // Deletes the icon if it was added.
    void Remove();
    // After the shell recreated the notification area: the same icon again,
    // if it was added.
    void AddAgain();
    bool IsAdded() const noexcept { return m_bAdded; }
    const NOTIFYICONDATAW& Record() const noexcept { return m_data; }

private:
    NOTIFYICONDATAW m_data{};
    bool m_bAdded = false;
};

}  // namespace qm

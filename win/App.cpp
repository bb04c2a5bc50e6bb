#include "win/App.h"

#include "win/Handles.h"
#include "win/Strings.h"
#include "win/Window.h"

namespace qm::win {

CWinAppBase* CWinAppBase::s_pCurrent = nullptr;

CWinAppBase::CWinAppBase() {
    s_pCurrent = this;
    std::wstring name = GetModuleFileNameOnly();
    size_t dot = name.find_last_of(L'.');
    m_strAppName = dot == std::wstring::npos ? name : name.substr(0, dot);
}

CWinAppBase::~CWinAppBase() {
    if (s_pCurrent == this) s_pCurrent = nullptr;
}

int CWinAppBase::Run() {
    try {
        if (InitInstance()) m_nExitCode = RunMessageLoop();
    } catch (...) {
        // Start-up failures stay silent: the process ends as after a normal run.
    }
    return ExitInstance();
}

int CWinAppBase::RunMessageLoop() {
    MSG msg;
    for (;;) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        if (!CWindow::PreTranslateChain(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void CWinAppBase::SetRegistryKey(const std::wstring& key) { m_strRegistryKey = key; }

std::wstring CWinAppBase::ProfileKeyPath(const std::wstring& section) const {
    return L"Software\\" + m_strRegistryKey + L"\\" + m_strAppName + L"\\" + section;
}

std::wstring CWinAppBase::GetProfileString(const std::wstring& section, const std::wstring& entry,
                                           const std::wstring& defaultValue) const {
    if (m_strRegistryKey.empty()) return defaultValue;
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, ProfileKeyPath(section).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return defaultValue;
    UniqueRegKey key(raw);
    DWORD type = 0, bytes = 0;
    if (::RegQueryValueExW(key.Get(), entry.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key.Get(), entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                           &size) != ERROR_SUCCESS)
        return defaultValue;
    // The stored value may or may not carry its terminator.
    value.resize(size / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return value;
}

bool CWinAppBase::WriteProfileString(const std::wstring& section, const std::wstring& entry,
                                     const std::wstring& value) const {
    if (m_strRegistryKey.empty()) return false;
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, ProfileKeyPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return false;
    UniqueRegKey key(raw);
    return ::RegSetValueExW(key.Get(), entry.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace qm::win

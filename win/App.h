#pragma once
// The application base: one static object per program, whose InitInstance
// does the start-up and says whether the message loop runs.
#include <windows.h>

#include <string>

namespace qm::win {

class CWinAppBase {
public:
    CWinAppBase();
    virtual ~CWinAppBase();
    CWinAppBase(const CWinAppBase&) = delete;
    CWinAppBase& operator=(const CWinAppBase&) = delete;

    static CWinAppBase* Current() noexcept { return s_pCurrent; }

    // The process: InitInstance, the message loop when it returned true,
    // then ExitInstance, whose result is the exit code.
    int Run();

    // The main window, quit target of the loop's owner; not owned.
    HWND m_hMainWnd = nullptr;

    // Application profile: HKEY_CURRENT_USER\Software\<key>\<application name>,
    // one subkey per section, one string value per entry. The application name
    // is the executable's file name without its extension.
    void SetRegistryKey(const std::wstring& key);
    const std::wstring& RegistryKey() const noexcept { return m_strRegistryKey; }
    const std::wstring& AppName() const noexcept { return m_strAppName; }
    std::wstring GetProfileString(const std::wstring& section, const std::wstring& entry,
                                  const std::wstring& defaultValue = {}) const;
    // False when the value could not be stored; the profile is then unchanged.
    bool WriteProfileString(const std::wstring& section, const std::wstring& entry,
                            const std::wstring& value) const;

protected:
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return m_nExitCode; }
    // The loop of a modeless main window: PreTranslateMessage first, then dispatch.
    virtual int RunMessageLoop();

    int m_nExitCode = 0;

private:
    std::wstring ProfileKeyPath(const std::wstring& section) const;

    static CWinAppBase* s_pCurrent;
    std::wstring m_strRegistryKey;
    std::wstring m_strAppName;
};

}  // namespace qm::win

#pragma once
// The application object: process-wide start-up and the choice of run mode.
#include <windows.h>

#include <memory>
#include <string>

#include "app/RunMode.h"
#include "win/App.h"
#include "win/ComPtr.h"

namespace qm {

class CZuvere_KelApp : public win::CWinAppBase {
public:
    CZuvere_KelApp();
    ~CZuvere_KelApp() override;

    // The mode the last InitInstance chose (for the log and the tests).
    RunMode LastRunMode() const noexcept { return m_runMode; }

protected:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    // Runs the mode the command line asks for; true when the message loop follows.
    bool RunSelectedMode(const std::wstring& commandLine);

    ULONG_PTR m_gdiplusToken = 0;
    std::unique_ptr<win::OleScope> m_ole;
    RunMode m_runMode = RunMode::Normal;
};

}  // namespace qm

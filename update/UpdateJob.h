#pragma once
// One run of the self-update: the addresses and paths it works with, and the
// update module's own log writer.
#include <string>

namespace qm {

class CUpdateJob {
public:
    CUpdateJob();

    std::wstring m_strCheckUrl;         // version-check address
    std::wstring m_strTempPackagePath;  // %APPDATA%\cache\kelqlmrtmp.exe
    std::wstring m_strTargetPath;       // %APPDATA%\ dunwel\qlmr\<running file name>
    std::wstring m_strMakerFolder;      // "\ dunwel\qlmr\": the blank is part of the name
    std::wstring m_strPackageUrl;       // package address offered by the version check

    // Appends one line to the update module's log in the update target folder,
    // whose "res" folder the launcher never creates: without it the line is
    // lost. 0 when written, -1 otherwise.
    int WriteJobLog(const std::wstring& message) const;
};

}  // namespace qm

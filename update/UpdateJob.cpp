#include "update/UpdateJob.h"

#include "core/DataFolder.h"
#include "core/Layout.h"
#include "core/UpdateLog.h"
#include "res/resource.h"
#include "win/Strings.h"

namespace qm {

CUpdateJob::CUpdateJob()
    : m_strMakerFolder(win::LoadStr(IDS_UPDATE_TARGET_ROOT) + win::LoadStr(IDS_GAME_CODE) + L"\\") {}

int CUpdateJob::WriteJobLog(const std::wstring& message) const {
    try {
        // The first record that writes fixes the folder for the whole process.
        // "\ dunwel\qlmr\" + "\" leaves a doubled backslash, which Windows
        // reads as one separator.
        static const std::wstring folder = GetAppDataFolder() + m_strMakerFolder + L"\\";
        return AppendUpdateLogLine(UpdateLogPathIn(folder), message);
    } catch (...) {
        return -1;
    }
}

}  // namespace qm

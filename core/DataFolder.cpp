#include "core/DataFolder.h"

#include <windows.h>
#include <shlobj.h>

#include "core/Layout.h"
#include "res/resource.h"
#include "win/Strings.h"

namespace qm {

std::wstring GetAppDataFolder() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return buffer;
}

std::wstring GetDataFolder() {
    // Thread-safe once-only initialisation; a failed lookup is kept as it is,
    // never asked again.
    static const std::wstring folder = ComposeDataFolder(
        GetAppDataFolder(), win::LoadStr(IDS_DATA_ROOT), win::LoadStr(IDS_GAME_CODE));
    return folder;
}

}  // namespace qm

#include "core/Settings.h"

#include <windows.h>

#include "core/DataFolder.h"
#include "res/resource.h"
#include "win/Strings.h"

namespace qm {

std::wstring GetSettingsPath() { return GetDataFolder() + win::LoadStr(IDS_SETTINGS_FILE); }

std::wstring ReadProfileValue(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                              const std::wstring& defaultValue) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                              MAX_PATH, path.c_str());
    return std::wstring(buffer, length);
}

bool WriteProfileValue(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                       const std::wstring& value) {
    return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

std::wstring ReadSetting(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue) {
    return ReadProfileValue(GetSettingsPath(), section, key, defaultValue);
}

void WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    WriteProfileValue(GetSettingsPath(), section, key, value);
}

}  // namespace qm

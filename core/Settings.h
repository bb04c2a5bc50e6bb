#pragma once
// "systemset.ini" in the resource folder: the launcher's only settings file.
#include <string>

namespace qm {

inline constexpr wchar_t kSectionSetting[] = L"Setting";
inline constexpr wchar_t kSectionStart[] = L"Start";
inline constexpr wchar_t kKeyStart[] = L"start";
inline constexpr wchar_t kKeyFirstStart[] = L"firststart";
inline constexpr wchar_t kKeyScreenToggle[] = L"screentoggle";
inline constexpr wchar_t kKeyFullScreen[] = L"fullscreen";
// "start" holds this once the default data has been unpacked.
inline constexpr long kDefaultDataUnpacked = 1001;

// The full path of the settings file, composed anew on every call.
std::wstring GetSettingsPath();

// The value of key in section, or defaultValue when the file, section or key
// is missing. Blanks around the value are removed; at most 259 characters.
std::wstring ReadSetting(const std::wstring& section, const std::wstring& key,
                         const std::wstring& defaultValue);
// Sets key in section, keeping every other line. A write that fails (no
// resource folder, say) is silent: the file is left as it was.
void WriteSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value);

// The same two on a profile file given by path.
std::wstring ReadProfileValue(const std::wstring& path, const std::wstring& section,
                              const std::wstring& key, const std::wstring& defaultValue);
bool WriteProfileValue(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                       const std::wstring& value);

}  // namespace qm

#pragma once
// Where the launcher keeps its files, composed from the identity strings.
// Portable: the folders come in as texts.
#include <string>

namespace qm {

// %APPDATA%\vexo\qlmr\ : appData + "\" + root + "\" + gameCode + "\".
inline std::wstring ComposeDataFolder(const std::wstring& appData, const std::wstring& root,
                                      const std::wstring& gameCode) {
    return appData + L"\\" + root + L"\\" + gameCode + L"\\";
}

// The update log below a folder that ends with a backslash.
inline std::wstring UpdateLogPathIn(const std::wstring& folder) { return folder + L"res\\update.log"; }

}  // namespace qm

#pragma once
#include <string>

namespace qm {

// The per-user data folder, %APPDATA%\vexo\qlmr\ with its closing backslash.
// Computed once per process and cached; the folder is not created here.
std::wstring GetDataFolder();

// %APPDATA% as the shell reports it, without a closing backslash; empty when
// the lookup fails.
std::wstring GetAppDataFolder();

}  // namespace qm

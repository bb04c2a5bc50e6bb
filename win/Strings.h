#pragma once
#include <windows.h>

#include <string>

namespace qm::win {

// A string-table entry of the executable; empty when the id has no entry.
std::wstring LoadStr(UINT id);

// Full path of the running executable, and its file name without folder.
std::wstring GetModulePath();
std::wstring GetModuleFileNameOnly();

}  // namespace qm::win

#pragma once
// Version text and MD5 digest of a file, for the update and install code.
#include <string>

namespace qm {

inline constexpr wchar_t kNoVersionResource[] = L"None VerSion Supprot";

// The FileVersion text of every translation of the file's version resource,
// joined; "None VerSion Supprot" without a version resource; empty for a path
// that does not exist.
std::wstring GetFileVersionText(const std::wstring& path);

// Appends the MD5 of the whole file as 32 lower-case hex digits to digest and
// returns true. False, with digest unchanged, when the file cannot be opened
// for shared reading or cannot be read or hashed. Memory stays bounded: the
// file is hashed in pieces.
bool GetFileMd5(const std::wstring& path, std::wstring& digest);

}  // namespace qm

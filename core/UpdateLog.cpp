#include "core/UpdateLog.h"

#include <windows.h>

#include "core/DataFolder.h"
#include "core/Layout.h"
#include "core/UpdateLogFormat.h"
#include "win/Handles.h"

namespace qm {

namespace {

LogTime CurrentLocalTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return LogTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

bool WriteAll(HANDLE file, const void* data, size_t bytes) {
    const auto* p = static_cast<const char*>(data);
    while (bytes > 0) {
        DWORD chunk = bytes > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes);
        DWORD written = 0;
        if (!::WriteFile(file, p, chunk, &written, nullptr) || written == 0) return false;
        p += written;
        bytes -= written;
    }
    return true;
}

}  // namespace

int AppendUpdateLogLine(const std::wstring& path, const std::wstring& message) {
    try {
        std::wstring line = FormatUpdateLogLine(CurrentLocalTime(), kUpdateLogTag, message);
        line += L"\r\n";
        // No sharing, so two writers never interleave their lines. OPEN_ALWAYS
        // opens an existing log without emptying it, whatever made a first
        // attempt fail, and creates a missing one.
        win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return -1;
        LARGE_INTEGER zero{};
        if (!::SetFilePointerEx(file.Get(), zero, nullptr, FILE_END)) return -1;
        // wchar_t is UTF-16LE on Windows: the characters go out as they are.
        if (!WriteAll(file.Get(), line.data(), line.size() * sizeof(wchar_t))) return -1;
        return 0;
    } catch (...) {
        return -1;
    }
}

int WriteUpdateLog(const std::wstring& message) {
    try {
        return AppendUpdateLogLine(UpdateLogPathIn(GetDataFolder()), message);
    } catch (...) {
        return -1;
    }
}

bool DeleteUpdateLogOverLimit(const std::wstring& path) {
    LARGE_INTEGER size{};
    {
        win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !::GetFileSizeEx(file.Get(), &size)) return false;
    }
    if (!IsUpdateLogOverLimit(static_cast<std::uint64_t>(size.QuadPart))) return false;
    return ::DeleteFileW(path.c_str()) != FALSE;
}

void TrimUpdateLog() { DeleteUpdateLogOverLimit(UpdateLogPathIn(GetDataFolder())); }

}  // namespace qm

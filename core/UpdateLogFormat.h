#pragma once
// The line format of "update.log", shared by the application's writer and the
// update module's writer.
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

struct LogTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

inline constexpr wchar_t kUpdateLogTag[] = L"UpdateModule";
inline constexpr wchar_t kUpdateLogSeparator[] = L"=====================";

// The log is deleted when the next update starts and it has grown past 10 MiB.
inline constexpr std::uint64_t kUpdateLogSizeLimit = 0xA00000;

// One line without its line end: "%2d-%2d-%2d %2d:%2d:%2d : \t%s\t%s".
// Numbers are padded with blanks, never with zeros.
std::wstring FormatUpdateLogLine(const LogTime& time, std::wstring_view tag,
                                 std::wstring_view message);

// True when a log of this size must be deleted before the next update.
inline bool IsUpdateLogOverLimit(std::uint64_t sizeInBytes) {
    return sizeInBytes > kUpdateLogSizeLimit;
}

}  // namespace qm

#pragma once
// The framework's one error type: a Windows error code with the system's own
// description of it, for the places that log "what went wrong" as text.
#include <windows.h>

#include <exception>
#include <string>

namespace qm::win {

// The system's text for an error code, without the trailing line end, cut to
// at most 254 characters (the room the program's log lines give it).
std::wstring DescribeSystemError(DWORD code);

class CWinError : public std::exception {
public:
    explicit CWinError(DWORD code, std::wstring context = {});
    DWORD Code() const noexcept { return m_code; }
    // The description, at most 254 characters.
    const std::wstring& Description() const noexcept { return m_description; }
    const char* what() const noexcept override { return "Windows error"; }

private:
    DWORD m_code;
    std::wstring m_description;
};

// Throws CWinError for GetLastError(); for calls that report failure by a flag.
[[noreturn]] void ThrowLastError(const wchar_t* context = nullptr);

}  // namespace qm::win

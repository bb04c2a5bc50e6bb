#include "win/Error.h"

namespace qm::win {

namespace {
constexpr size_t kMaxDescription = 254;
}

std::wstring DescribeSystemError(DWORD code) {
    wchar_t buffer[512] = {};
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                    code, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) text = L"Error " + std::to_wstring(code);
    if (text.size() > kMaxDescription) text.resize(kMaxDescription);
    return text;
}

CWinError::CWinError(DWORD code, std::wstring context) : m_code(code) {
    std::wstring text = DescribeSystemError(code);
    if (!context.empty()) text = context + L": " + text;
    if (text.size() > kMaxDescription) text.resize(kMaxDescription);
    m_description = std::move(text);
}

void ThrowLastError(const wchar_t* context) {
    throw CWinError(::GetLastError(), context ? context : L"");
}

}  // namespace qm::win

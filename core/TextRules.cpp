#include "core/TextRules.h"

#include <cstdint>

namespace qm {

namespace {
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}
}  // namespace

long ParseLeadingInteger(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    // Windows' long is 32 bits; keep the same range on every host.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > limit) {
            value = limit;
            // Keep consuming digits; the result is already saturated.
        }
    }
    return static_cast<long>(negative ? -value : value);
}

long VersionToNumber(std::wstring_view versionText) {
    std::wstring digits;
    digits.reserve(versionText.size());
    for (wchar_t c : versionText)
        if (c != L'.') digits.push_back(c);
    return ParseLeadingInteger(digits);
}

}  // namespace qm

#include "core/TextFit.h"

namespace qm {

namespace {

constexpr wchar_t kEllipsis = L'\u2026';

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The prefix of length n with the ellipsis, cut back from a broken pair and
// from blanks at its end.
std::wstring PrefixWithEllipsis(const std::wstring& text, size_t n) {
    if (n > 0 && IsHighSurrogate(text[n - 1])) --n;
    while (n > 0 && (text[n - 1] == L' ' || text[n - 1] == L'\u3000')) --n;
    return text.substr(0, n) + kEllipsis;
}

}  // namespace

std::wstring ShortenWithEllipsis(const std::wstring& text, const std::function<bool(const std::wstring&)>& fits) {
    if (fits(text)) return text;
    // Binary search for the longest prefix that fits with the ellipsis.
    size_t low = 0, high = text.size();  // prefix `low` fits (or is 0), `high` does not
    if (!fits(PrefixWithEllipsis(text, 0))) return std::wstring();
    while (high - low > 1) {
        const size_t mid = low + (high - low) / 2;
        if (fits(PrefixWithEllipsis(text, mid))) low = mid;
        else high = mid;
    }
    return PrefixWithEllipsis(text, low);
}

}  // namespace qm

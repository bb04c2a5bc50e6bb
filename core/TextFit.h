#pragma once
// Shortening a text to fit its box, for skins that draw text themselves.
#include <functional>
#include <string>

namespace qm {

// The text itself when fits(text); otherwise its longest prefix that fits
// with an ellipsis ("…") after it, never splitting a UTF-16 surrogate pair and
// without blanks before the ellipsis; empty when not even the ellipsis fits.
// `fits` must grow no more lenient as a text grows longer.
std::wstring ShortenWithEllipsis(const std::wstring& text, const std::function<bool(const std::wstring&)>& fits);

}  // namespace qm

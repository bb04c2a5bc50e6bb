#pragma once
// UTF-8 to wide text, as the system's conversion reads it: each malformed or
// cut sequence becomes U+FFFD. Wide text is UTF-16 where wchar_t has 16 bits.
#include <string>
#include <string_view>

namespace qm {

std::wstring DecodeUtf8(std::string_view bytes);

}  // namespace qm

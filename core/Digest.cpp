#include "core/Digest.h"

namespace qm {

std::wstring FormatDigestHex(const unsigned char* bytes, std::size_t count) {
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace qm

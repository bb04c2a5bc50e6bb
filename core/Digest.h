#pragma once
#include <cstddef>
#include <string>

namespace qm {

// Lower-case hexadecimal, two digits per byte in byte order ("%02x" each).
std::wstring FormatDigestHex(const unsigned char* bytes, std::size_t count);

}  // namespace qm

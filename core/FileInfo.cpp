#include "core/FileInfo.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "core/Digest.h"
#include "win/Handles.h"

namespace qm {

std::wstring GetFileVersionText(const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0) return kNoVersionResource;
    std::vector<unsigned char> block(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* table = nullptr;
    UINT tableBytes = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&table),
                          &tableBytes) ||
        !table)
        return {};

    std::wstring result;
    for (UINT i = 0; i < tableBytes / sizeof(Translation); ++i) {
        wchar_t query[64];
        std::swprintf(query, std::size(query), L"\\StringFileInfo\\%04x%04x\\FileVersion", table[i].language,
                      table[i].codePage);
        wchar_t* text = nullptr;
        UINT length = 0;
        if (::VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &length) && text) {
            // length counts the terminator when there is one.
            std::wstring value(text, length);
            while (!value.empty() && value.back() == L'\0') value.pop_back();
            result += value;
        }
    }
    return result;
}

bool GetFileMd5(const std::wstring& path, std::wstring& digest) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;

    HCRYPTPROV rawProvider = 0;
    if (!::CryptAcquireContextW(&rawProvider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) return false;
    win::UniqueCryptProvider provider(rawProvider);
    HCRYPTHASH rawHash = 0;
    if (!::CryptCreateHash(provider.Get(), CALG_MD5, 0, 0, &rawHash)) return false;
    // Declared after the provider, so it is destroyed before the context is released.
    win::UniqueCryptHash hash(rawHash);

    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return false;

    // Pieces of 256 KiB keep the memory use flat whatever the file's size,
    // and are large enough that the calls cost nothing next to the hashing.
    constexpr DWORD kPiece = 256 * 1024;
    std::unique_ptr<BYTE[]> buffer(new BYTE[kPiece]);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer.get(), kPiece, &read, nullptr)) return false;
        if (read == 0) break;
        if (!::CryptHashData(hash.Get(), buffer.get(), read, 0)) return false;
    }

    DWORD hashSize = 0;
    DWORD sizeBytes = sizeof(hashSize);
    if (!::CryptGetHashParam(hash.Get(), HP_HASHSIZE, reinterpret_cast<BYTE*>(&hashSize), &sizeBytes, 0) ||
        hashSize == 0 || hashSize > 64)
        return false;
    BYTE value[64] = {};
    DWORD valueBytes = hashSize;
    if (!::CryptGetHashParam(hash.Get(), HP_HASHVAL, value, &valueBytes, 0)) return false;
    digest += FormatDigestHex(value, valueBytes);
    return true;
}

}  // namespace qm

#pragma once
// Owning wrappers for the Windows handles the launcher holds. Non-copyable,
// movable; each closes its handle exactly once.
#include <windows.h>
#include <wincrypt.h>

#include <utility>

namespace qm::win {

template <typename Traits>
class UniqueHandle {
public:
    using pointer = typename Traits::pointer;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(pointer value) noexcept : m_value(value) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_value(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    pointer Get() const noexcept { return m_value; }
    explicit operator bool() const noexcept { return m_value != Traits::Invalid(); }

    pointer Release() noexcept { return std::exchange(m_value, Traits::Invalid()); }
    void Reset(pointer value = Traits::Invalid()) noexcept {
        pointer old = std::exchange(m_value, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    pointer m_value = Traits::Invalid();
};

struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer Invalid() noexcept { return nullptr; }
    static void Close(pointer h) noexcept { ::CloseHandle(h); }
};
// CreateFileW reports failure as INVALID_HANDLE_VALUE, not as null.
struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(pointer h) noexcept { ::CloseHandle(h); }
};
struct RegKeyTraits {
    using pointer = HKEY;
    static pointer Invalid() noexcept { return nullptr; }
    static void Close(pointer h) noexcept { ::RegCloseKey(h); }
};
struct CryptProviderTraits {
    using pointer = HCRYPTPROV;
    static pointer Invalid() noexcept { return 0; }
    static void Close(pointer h) noexcept { ::CryptReleaseContext(h, 0); }
};
struct CryptHashTraits {
    using pointer = HCRYPTHASH;
    static pointer Invalid() noexcept { return 0; }
    static void Close(pointer h) noexcept { ::CryptDestroyHash(h); }
};
struct IconTraits {
    using pointer = HICON;
    static pointer Invalid() noexcept { return nullptr; }
    static void Close(pointer h) noexcept { ::DestroyIcon(h); }
};
struct MenuTraits {
    using pointer = HMENU;
    static pointer Invalid() noexcept { return nullptr; }
    static void Close(pointer h) noexcept { ::DestroyMenu(h); }
};

struct WindowTraits {
    using pointer = HWND;
    static pointer Invalid() noexcept { return nullptr; }
    static void Close(pointer h) noexcept { ::DestroyWindow(h); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueCryptProvider = UniqueHandle<CryptProviderTraits>;
using UniqueCryptHash = UniqueHandle<CryptHashTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;

}  // namespace qm::win

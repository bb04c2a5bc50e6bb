#pragma once
// The one COM smart pointer of the program, and the scopes of the COM, OLE and
// GDI+ libraries.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <utility>

namespace qm::win {

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* raw) noexcept {
        ComPtr p;
        p.m_ptr = raw;
        return p;
    }
    ComPtr(const ComPtr& other) noexcept : m_ptr(other.m_ptr) { if (m_ptr) m_ptr->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }
    ~ComPtr() { Reset(); }

    T* Get() const noexcept { return m_ptr; }
    T* operator->() const noexcept { return m_ptr; }
    explicit operator bool() const noexcept { return m_ptr != nullptr; }

    // For out-parameters: releases what is held first.
    T** ReleaseAndGetAddressOf() noexcept {
        Reset();
        return &m_ptr;
    }
    void Reset() noexcept {
        if (T* old = std::exchange(m_ptr, nullptr)) old->Release();
    }
    T* Detach() noexcept { return std::exchange(m_ptr, nullptr); }

    template <typename U>
    HRESULT As(ComPtr<U>& out) const noexcept {
        if (!m_ptr) return E_POINTER;
        return m_ptr->QueryInterface(__uuidof(U), reinterpret_cast<void**>(out.ReleaseAndGetAddressOf()));
    }

private:
    T* m_ptr = nullptr;
};

// OleInitialize for the scope of a thread's windows; uninitialised only when it succeeded.
class OleScope {
public:
    OleScope() noexcept : m_hr(::OleInitialize(nullptr)) {}
    ~OleScope() { if (SUCCEEDED(m_hr)) ::OleUninitialize(); }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    HRESULT Result() const noexcept { return m_hr; }

private:
    HRESULT m_hr;
};

}  // namespace qm::win

#pragma once
// GDI lifetimes: objects, device contexts and the selection of an object into
// a device context, restored in reverse order when the scope ends.
#include <windows.h>

#include "win/Handles.h"

namespace qm::win {

template <typename T>
struct GdiObjectTraits {
    using pointer = T;
    static pointer Invalid() noexcept { return nullptr; }
    static void Close(pointer h) noexcept { ::DeleteObject(h); }
};
template <typename T>
using GdiObject = UniqueHandle<GdiObjectTraits<T>>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniqueFont = GdiObject<HFONT>;
using UniqueRegion = GdiObject<HRGN>;

// A memory DC made with CreateCompatibleDC, deleted with DeleteDC.
struct MemoryDcTraits {
    using pointer = HDC;
    static pointer Invalid() noexcept { return nullptr; }
    static void Close(pointer h) noexcept { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// GetDC / ReleaseDC of one window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(::GetDC(hwnd)) {}
    ~WindowDc() { if (m_hdc) ::ReleaseDC(m_hwnd, m_hdc); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const noexcept { return m_hdc; }
    explicit operator bool() const noexcept { return m_hdc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// BeginPaint / EndPaint, for WM_PAINT handlers.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) noexcept : m_hwnd(hwnd), m_hdc(::BeginPaint(hwnd, &m_ps)) {}
    ~PaintDc() { ::EndPaint(m_hwnd, &m_ps); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const noexcept { return m_hdc; }
    const PAINTSTRUCT& Info() const noexcept { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_hdc;
};

// Selects an object into a DC and puts the previous one back on scope exit,
// so a DC is never deleted with one of our objects still selected.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC hdc, HGDIOBJ object) noexcept
        : m_hdc(hdc), m_previous(::SelectObject(hdc, object)) {}
    ~ScopedSelectObject() {
        if (m_previous && m_previous != HGDI_ERROR) ::SelectObject(m_hdc, m_previous);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
};

}  // namespace qm::win

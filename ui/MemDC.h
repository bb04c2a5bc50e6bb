#pragma once
// Off-screen drawing: a memory DC with a bitmap of its own, and the
// "draw here, copy there once" helper of the skinned windows.
#include <windows.h>

#include <optional>

#include "win/Gdi.h"

namespace qm {

// A memory DC holding a bitmap of a given size; the bitmap is deselected
// before either is deleted.
class CMemoryBitmap {
public:
    CMemoryBitmap() = default;
    CMemoryBitmap(HDC compatibleWith, int width, int height);
    ~CMemoryBitmap();
    CMemoryBitmap(const CMemoryBitmap&) = delete;
    CMemoryBitmap& operator=(const CMemoryBitmap&) = delete;

    HDC Dc() const noexcept { return m_dc.Get(); }
    explicit operator bool() const noexcept { return m_dc && m_bitmap; }

private:
    win::UniqueMemoryDc m_dc;
    win::UniqueBitmap m_bitmap;
    HGDIOBJ m_previous = nullptr;
};

// Draws into an off-screen surface the size of rect and copies it to the
// target in one block when it goes; callers draw in target coordinates.
// A printing target is drawn into directly.
class CMyMemDC {
public:
    CMyMemDC(HDC target, const RECT* rect = nullptr);
    ~CMyMemDC();
    CMyMemDC(const CMyMemDC&) = delete;
    CMyMemDC& operator=(const CMyMemDC&) = delete;

    HDC Dc() const noexcept { return m_bOffScreen ? m_surface->Dc() : m_target; }

private:
    HDC m_target;
    RECT m_rect{};
    bool m_bOffScreen = false;
    std::optional<CMemoryBitmap> m_surface;
    POINT m_oldOrigin{};
};

}  // namespace qm

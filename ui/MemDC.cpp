#include "ui/MemDC.h"

namespace qm {

CMemoryBitmap::CMemoryBitmap(HDC compatibleWith, int width, int height)
    : m_dc(::CreateCompatibleDC(compatibleWith)),
      m_bitmap(::CreateCompatibleBitmap(compatibleWith, width > 0 ? width : 1, height > 0 ? height : 1)) {
    if (m_dc && m_bitmap) m_previous = ::SelectObject(m_dc.Get(), m_bitmap.Get());
}

CMemoryBitmap::~CMemoryBitmap() {
    if (m_previous) ::SelectObject(m_dc.Get(), m_previous);
}

CMyMemDC::CMyMemDC(HDC target, const RECT* rect) : m_target(target) {
    if (::GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER) return;
    if (rect && !::IsRectEmpty(rect))
        m_rect = *rect;
    else
        ::GetClipBox(target, &m_rect);
    m_surface.emplace(target, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top);
    if (!*m_surface) return;
    m_bOffScreen = true;
    ::SetWindowOrgEx(m_surface->Dc(), m_rect.left, m_rect.top, &m_oldOrigin);
}

CMyMemDC::~CMyMemDC() {
    if (!m_bOffScreen) return;
    ::BitBlt(m_target, m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
             m_surface->Dc(), m_rect.left, m_rect.top, SRCCOPY);
    ::SetWindowOrgEx(m_surface->Dc(), m_oldOrigin.x, m_oldOrigin.y, nullptr);
}

}  // namespace qm

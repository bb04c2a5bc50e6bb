#include "ui/TouchButton.h"

#include <commctrl.h>
#include <windowsx.h>

namespace qm {

namespace {

constexpr UINT_PTR kToolId = 1;

// The hover picture is the hover image 5 % brighter plus 0.05 per channel.
const Gdiplus::ColorMatrix kHoverMatrix = {{
    {1.05f, 0, 0, 0, 0},
    {0, 1.05f, 0, 0, 0},
    {0, 0, 1.05f, 0, 0},
    {0, 0, 0, 1, 0},
    {0.05f, 0.05f, 0.05f, 0, 1},
}};

// One state: the captured background, then the image at its own pixel size.
std::unique_ptr<CMemoryBitmap> ComposeState(HDC surface, const CMemoryBitmap& background, int width, int height,
                                            CGdiPlusBitmapResource& image, const Gdiplus::ColorMatrix* matrix) {
    ::BitBlt(surface, 0, 0, width, height, background.Dc(), 0, 0, SRCCOPY);
    if (image.m_pBitmap && image.Width() > 0) {
        Gdiplus::Graphics graphics(surface);
        const INT w = static_cast<INT>(image.Width()), h = static_cast<INT>(image.Height());
        if (matrix) {
            Gdiplus::ImageAttributes attributes;
            attributes.SetColorMatrix(matrix);
            graphics.DrawImage(image.m_pBitmap, Gdiplus::Rect(0, 0, w, h), 0, 0, w, h, Gdiplus::UnitPixel,
                               &attributes);
        } else {
            graphics.DrawImage(image.m_pBitmap, Gdiplus::Rect(0, 0, w, h), 0, 0, w, h, Gdiplus::UnitPixel);
        }
    }
    auto cache = std::make_unique<CMemoryBitmap>(surface, width, height);
    ::BitBlt(cache->Dc(), 0, 0, width, height, surface, 0, 0, SRCCOPY);
    return cache;
}

}  // namespace

CTouchButton::CTouchButton() = default;
CTouchButton::~CTouchButton() = default;

void CTouchButton::PreSubclassWindow() {
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                                    SWP_FRAMECHANGED);
}

bool CTouchButton::SetImages(UINT normalId, UINT hoverId, UINT pressedId) {
    m_pHoverImage = std::make_unique<CGdiPlusBitmapResource>();
    m_pNormalImage = std::make_unique<CGdiPlusBitmapResource>();
    m_pPressedImage = std::make_unique<CGdiPlusBitmapResource>();
    bool hover = m_pHoverImage->Load(hoverId);
    m_pNormalImage->Load(normalId);
    m_pPressedImage->Load(pressedId);
    return hover;
}

void CTouchButton::SetTooltipText(const std::wstring& text, bool activate) {
    if (text.empty() || !m_hWnd) return;
    if (!m_tooltip) {
        m_tooltip.Reset(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, nullptr, nullptr));
        if (!m_tooltip) return;
        ::SendMessageW(m_tooltip.Get(), TTM_ACTIVATE, TRUE, 0);
    }
    m_strTooltip = text;
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    tool.lpszText = m_strTooltip.data();
    if (::SendMessageW(m_tooltip.Get(), TTM_GETTOOLCOUNT, 0, 0) == 0) {
        ::GetClientRect(m_hWnd, &tool.rect);
        ::SendMessageW(m_tooltip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ::SendMessageW(m_tooltip.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltip.Get(), TTM_SETDELAYTIME, TTDT_AUTOMATIC, 2000);
    ::SendMessageW(m_tooltip.Get(), TTM_ACTIVATE, activate ? TRUE : FALSE, 0);
}

bool CTouchButton::PreTranslateMessage(MSG& msg) {
    if (msg.hwnd == m_hWnd && msg.message == WM_LBUTTONDBLCLK) msg.message = WM_LBUTTONDOWN;
    if (m_tooltip) ::SendMessageW(m_tooltip.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    return win::CSubclassedControl::PreTranslateMessage(msg);
}

bool CTouchButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    // An owner-drawn button asks its parent for a brush at the start of every
    // paint, before WM_DRAWITEM and with the paint's DC: the one notice that
    // comes early enough to capture the parent's pixels and render the
    // caches before the first picture is drawn.
    case WM_CTLCOLORBTN:
        Prepare(reinterpret_cast<HDC>(wParam));
        result = 0;  // no brush
        return true;
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    default:
        return false;
    }
}

bool CTouchButton::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;  // the cached picture covers everything: erasing would only flicker
        return true;
    case WM_MOUSEMOVE:
        if (!m_bTracking) {
            TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, 1};
            m_bTracking = ::TrackMouseEvent(&track) ? 1 : 0;
        }
        return false;  // default processing too
    case WM_MOUSEHOVER:
        OnMouseHover();
        result = 0;
        return true;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        result = 0;
        return true;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    default:
        return false;
    }
}

void CTouchButton::OnMouseHover() {
    m_bHover = 1;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    // A fresh tooltip on every stay, so it shows again after its delay.
    m_tooltip.Reset();
    SetTooltipText(m_strTooltip, true);
    if (m_tooltip) ::SendMessageW(m_tooltip.Get(), TTM_UPDATE, 0, 0);
}

void CTouchButton::OnMouseLeave() {
    m_bTracking = 0;
    m_bHover = 0;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CTouchButton::Prepare(HDC target) {
    if (m_bPrepared || !m_pHoverImage || !m_pNormalImage || !m_pPressedImage) return;
    // The button also asks for its brush outside of paints (focus changes
    // while its dialog is still hidden); pixels of a hidden parent are
    // garbage, so the capture waits for a paint on screen.
    if (!::IsWindowVisible(m_hWnd)) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right, height = client.bottom;
    CMyMemDC surface(target, &client);

    if (!m_background) {
        HWND parent = ::GetParent(m_hWnd);
        win::WindowDc parentDc(parent);
        RECT rc = client;
        ::MapWindowPoints(m_hWnd, parent, reinterpret_cast<POINT*>(&rc), 2);
        m_background = std::make_unique<CMemoryBitmap>(parentDc.Get(), width, height);
        ::BitBlt(m_background->Dc(), 0, 0, width, height, parentDc.Get(), rc.left, rc.top, SRCCOPY);
    }
    if (!m_normal) {
        m_normal = ComposeState(surface.Dc(), *m_background, width, height, *m_pNormalImage, nullptr);
        if (!m_pressed)
            m_pressed = ComposeState(surface.Dc(), *m_background, width, height, *m_pPressedImage, nullptr);
        if (!m_hover)
            m_hover = ComposeState(surface.Dc(), *m_background, width, height, *m_pHoverImage, &kHoverMatrix);
    }
    if (!m_pCurrent) m_pCurrent = m_normal.get();
    m_bPrepared = 1;
}

void CTouchButton::DrawItem(const DRAWITEMSTRUCT& item) {
    if (!m_normal) return;  // never prepared: paint nothing
    if (item.itemState & ODS_SELECTED)
        m_pCurrent = m_pressed.get();
    else if (m_bHover)
        m_pCurrent = m_hover.get();
    else
        m_pCurrent = m_normal.get();
    // rcItem is the client rectangle: no need to ask the window for it on every paint.
    ::BitBlt(item.hDC, 0, 0, item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top,
             m_pCurrent->Dc(), 0, 0, SRCCOPY);
}

}  // namespace qm

#include "ui/Mask.h"

#include "res/resource.h"
#include "ui/MemDC.h"
#include "win/Gdi.h"
#include "win/Strings.h"

namespace qm {

namespace {

const Gdiplus::Color kTextColour(0xFF, 0xFF, 0xF5, 0xD3);
constexpr int kTextWidth = 200, kTextHeight = 31;

}  // namespace

CMenbanDlg::CMenbanDlg(HWND parent) : CDialogBase(IDD_MASK, parent) {}
CMenbanDlg::~CMenbanDlg() = default;

BOOL CMenbanDlg::OnInitDialog() {
    m_pBackground = LoadPngImage(IDB_MASK_BACKGROUND);
    for (size_t i = 0; i < m_frames.size(); ++i) m_frames[i] = LoadPngImage(IDB_MASK_SPINNER_1 + static_cast<UINT>(i));
    m_pCurrentFrame = m_frames[0].get();
    m_nFrame = 1;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(m_hWnd, 0, kAlpha, LWA_ALPHA);
    return TRUE;
}

RECT CMenbanDlg::SpinnerRect() const {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int w = m_pCurrentFrame ? static_cast<int>(m_pCurrentFrame->Width()) : 0;
    const int h = m_pCurrentFrame ? static_cast<int>(m_pCurrentFrame->Height()) : 0;
    const int x = (client.right - w) / 2;
    const int y = (client.bottom - h) / 2 - kSpinnerLift;
    return RECT{x, y, x + w, y + h};
}

bool CMenbanDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_TIMER:
        // Other timers are not ours to pass on.
        if (wParam == kSpinnerTimer) OnTimer(wParam);
        result = 0;
        return true;
    case WM_PAINT: {
        win::PaintDc paint(m_hWnd);
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        Paint(paint.Get(), client);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

void CMenbanDlg::OnTimer(UINT_PTR) {
    if (m_nFrame < 1 || m_nFrame > 4) m_nFrame = 1;
    m_pCurrentFrame = m_frames[static_cast<size_t>(m_nFrame - 1)].get();
    // Only the spinner's square: the text and the dark field stay as they are.
    RECT spinner = SpinnerRect();
    ::InvalidateRect(m_hWnd, &spinner, TRUE);
    ::UpdateWindow(m_hWnd);
    ++m_nFrame;
}

void CMenbanDlg::Paint(HDC dc, const RECT& client) {
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    CMemoryBitmap surface(dc, width, height);
    if (!surface) return;
    Gdiplus::Graphics graphics(surface.Dc());
    graphics.Clear(Gdiplus::Color(0xFF, 0xFF, 0xFF, 0xFF));
    const Gdiplus::RectF area(0, 0, static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
    if (m_pBackground && m_pBackground->Width() > 0) {
        // One dark pixel with alpha, tiled: RGB(25, 25, 25) over the white.
        Gdiplus::TextureBrush texture(m_pBackground->Get(), Gdiplus::WrapModeTile);
        texture.TranslateTransform(static_cast<Gdiplus::REAL>(client.left), static_cast<Gdiplus::REAL>(client.top));
        graphics.FillRectangle(&texture, area);
    }
    if (m_pCurrentFrame && m_pCurrentFrame->Width() > 0) {
        RECT spinner = SpinnerRect();
        graphics.DrawImage(m_pCurrentFrame->Get(), static_cast<INT>(spinner.left), static_cast<INT>(spinner.top),
                           static_cast<INT>(m_pCurrentFrame->Width()), static_cast<INT>(m_pCurrentFrame->Height()));
    }
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    auto family = FontFamilyOrSansSerif(L"arial");
    Gdiplus::Font font(family.get(), 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush brush(kTextColour);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
    const Gdiplus::RectF textBox(static_cast<Gdiplus::REAL>((width - kTextWidth) / 2),
                                 static_cast<Gdiplus::REAL>((height - kTextHeight) / 2), kTextWidth, kTextHeight);
    const std::wstring text = win::LoadStr(IDS_CACHE_CLEANING);
    graphics.DrawString(text.c_str(), -1, &font, textBox, &format, &brush);
    graphics.Flush(Gdiplus::FlushIntentionSync);  // all of it on the surface before the copy
    ::BitBlt(dc, 0, 0, width, height, surface.Dc(), 0, 0, SRCCOPY);
}

}  // namespace qm

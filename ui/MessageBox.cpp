#include "ui/MessageBox.h"

#include "res/resource.h"
#include "ui/MemDC.h"

namespace qm {

namespace {

constexpr int kWidth = 256, kHeight = 109;  // the 112-pixel background loses 3 rows
const Gdiplus::Color kTextColour(0xFF, 0xDA, 0xC2, 0x9D);

}  // namespace

CCustomMessageBox::CCustomMessageBox(HWND parent) : CDialogBase(IDD_MESSAGEBOX, parent) {}
CCustomMessageBox::~CCustomMessageBox() = default;

void CCustomMessageBox::SetText(const std::wstring& caption, const std::wstring& message) {
    m_strCaption = caption;
    m_strMessage = message;
}

BOOL CCustomMessageBox::OnInitDialog() {
    m_btnOk.SubclassDlgItem(IDOK, m_hWnd);
    m_btnCancel.SubclassDlgItem(IDCANCEL, m_hWnd);
    m_btnClose.SubclassDlgItem(IDC_MSGBOX_CLOSE, m_hWnd);

    // No caption and no frame: the skin is the whole window.
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_SYSMENU | WS_MINIMIZEBOX;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, kWidth, kHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int w = client.right, h = client.bottom;
    ::SetWindowPos(m_btnClose.GetSafeHwnd(), nullptr, w - 25, 10, 28, 26, SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnClose.SetImages(IDB_MSGBOX_CLOSE, IDB_MSGBOX_CLOSE, IDB_MSGBOX_CLOSE);
    ::SetWindowPos(m_btnOk.GetSafeHwnd(), nullptr, 45, h - 45, 82, 34, SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnOk.SetImages(IDB_MSGBOX_OK_NORMAL, IDB_MSGBOX_OK_HOVER, IDB_MSGBOX_OK_HOVER);
    ::SetWindowPos(m_btnCancel.GetSafeHwnd(), nullptr, 137, h - 45, 82, 34, SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnCancel.SetImages(IDB_MSGBOX_CANCEL_NORMAL, IDB_MSGBOX_CANCEL_HOVER, IDB_MSGBOX_CANCEL_HOVER);

    m_pBackground = LoadPngImage(IDB_MSGBOX_BACKGROUND);
    CenterWindow();
    return TRUE;
}

bool CCustomMessageBox::OnCommand(WORD id, WORD notifyCode, HWND control) {
    if (id == IDC_MSGBOX_CLOSE) {
        OnCancel();
        return true;
    }
    return CDialogBase::OnCommand(id, notifyCode, control);
}

bool CCustomMessageBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        Paint(reinterpret_cast<HDC>(wParam));
        result = 1;
        return true;
    case WM_NCHITTEST:
        // Any free point drags the box.
        result = ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        if (result == HTCLIENT) result = HTCAPTION;
        return true;
    default:
        return false;
    }
}

void CCustomMessageBox::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    CMyMemDC surface(dc, &client);
    Gdiplus::Graphics graphics(surface.Dc());
    if (m_pBackground && m_pBackground->Width() > 0)
        graphics.DrawImage(m_pBackground->Get(), 0, 0, static_cast<INT>(m_pBackground->Width()),
                           static_cast<INT>(m_pBackground->Height()));
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);

    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    // Whole lines only, so the ellipsis ends the last line that fits instead
    // of a half-shown line below it.
    format.SetFormatFlags(Gdiplus::StringFormatFlagsLineLimit);
    Gdiplus::SolidBrush brush(kTextColour);

    auto captionFamily = FontFamilyOrSansSerif(L"微软雅黑");
    Gdiplus::Font captionFont(captionFamily.get(), 15, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    const Gdiplus::RectF captionBox(85, 7, 100, 25);
    const std::wstring caption = FitTextToBox(graphics, m_strCaption, captionFont, captionBox, format);
    graphics.DrawString(caption.c_str(), -1, &captionFont, captionBox, &format, &brush);

    auto bodyFamily = FontFamilyOrSansSerif(L"arial");
    Gdiplus::Font bodyFont(bodyFamily.get(), 11, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    const Gdiplus::RectF messageBox(28, 33, 220, 30);
    const std::wstring message = FitTextToBox(graphics, m_strMessage, bodyFont, messageBox, format);
    graphics.DrawString(message.c_str(), -1, &bodyFont, messageBox, &format, &brush);
}

}  // namespace qm

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdlib>

#include "TestDialogs.h"
#include "WindowTestSupport.h"
#include "res/resource.h"
#include "ui/Images.h"
#include "ui/Mask.h"

namespace qm {
namespace {

using test::Capture;
using test::Near;
using test::Pump;

const COLORREF kUnder = RGB(200, 60, 40);   // the window the mask lies over
const COLORREF kMarker = RGB(255, 0, 255);  // drawn by the test, never by the mask

// A window painted in one bright colour, with the mask over it the way the
// frame lays it over itself: created hidden, then placed on the window's own
// rectangle and shown.
class MaskedWindow : public win::CDialogBase {
public:
    MaskedWindow() : CDialogBase(IDD_TEST_DIALOG), m_brush(::CreateSolidBrush(kUnder)) {}
    ~MaskedWindow() override {
        mask.reset();
        if (m_hWnd) ::DestroyWindow(m_hWnd);
        ::DeleteObject(m_brush);
    }
    std::unique_ptr<CMenbanDlg> mask;

    void ShowMask() {
        RECT rc{};
        ::GetWindowRect(m_hWnd, &rc);
        ::SetWindowPos(mask->GetSafeHwnd(), nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                       SWP_NOZORDER);
        ::ShowWindow(mask->GetSafeHwnd(), SW_SHOW);
        ::UpdateWindow(mask->GetSafeHwnd());
        Pump();
    }

protected:
    BOOL OnInitDialog() override {
        for (int id : {IDC_TEST_EDIT, IDOK, IDCANCEL, IDC_TEST_OWNERDRAW}) ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);
        ::SetWindowPos(m_hWnd, nullptr, 80, 60, 420, 300, SWP_NOZORDER);
        mask = std::make_unique<CMenbanDlg>(m_hWnd);
        mask->Create(m_hWnd);
        ::ShowWindow(mask->GetSafeHwnd(), SW_HIDE);
        return TRUE;
    }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (msg != WM_ERASEBKGND) return false;
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::FillRect(dc, &rc, m_brush);
        // Something for the eye to find behind the mask in the screenshots.
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::DrawTextW(dc, L"游戏画面 Quellmoor", -1, &rc, DT_SINGLELINE | DT_LEFT | DT_TOP);
        result = 1;
        return true;
    }

private:
    HBRUSH m_brush;
};

// Shows the window, then the mask over it; `under` receives what the screen
// showed before the mask came.
void ShowOnScreen(MaskedWindow& window, std::unique_ptr<CMemoryBitmap>* under = nullptr) {
    ASSERT_TRUE(window.Create());
    ::ShowWindow(window.GetSafeHwnd(), SW_SHOW);
    ::UpdateWindow(window.GetSafeHwnd());
    Pump();
    if (under) *under = test::GrabScreen(window.GetSafeHwnd());
    ASSERT_NE(window.mask->GetSafeHwnd(), nullptr);
    window.ShowMask();
}

// The screen of this Wine has no compositor and shows a layered window
// opaque; this is the picture Windows blends from the mask at its alpha.
void SaveBlended(const CMemoryBitmap& under, HWND mask, BYTE alpha, const std::wstring& name) {
    Capture over(mask);
    CMemoryBitmap picture(under.Dc(), over.width, over.height);
    for (int y = 0; y < over.height; ++y)
        for (int x = 0; x < over.width; ++x) {
            COLORREF a = over.At(x, y), b = ::GetPixel(under.Dc(), x, y);
            auto mix = [&](int top, int bottom) { return (top * alpha + bottom * (255 - alpha) + 127) / 255; };
            ::SetPixel(picture.Dc(), x, y,
                       RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                           mix(GetBValue(a), GetBValue(b))));
        }
    test::SavePicture(picture, name);
}

// Where the mask must draw its spinner and its text, from its client size.
RECT ExpectedSpinner(HWND mask) {
    RECT rc{};
    ::GetClientRect(mask, &rc);
    const int x = (rc.right - 23) / 2, y = (rc.bottom - 23) / 2 - 40;
    return {x, y, x + 23, y + 23};
}
RECT ExpectedTextBox(HWND mask) {
    RECT rc{};
    ::GetClientRect(mask, &rc);
    const int x = (rc.right - 200) / 2, y = (rc.bottom - 31) / 2;
    return {x, y, x + 200, y + 31};
}

// Which of the four spinner frames the square shows, composed over the dark
// field: 1 to 4, or 0 when none matches.
int FrameShown(const Capture& shot, const RECT& square, COLORREF dark) {
    static std::array<CGdiPlusBitmapResource, 4> frames;
    for (int i = 0; i < 4; ++i) {
        if (!frames[i].m_pBitmap) frames[i].Load(IDB_MASK_SPINNER_1 + i);
        int bad = 0;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 23; ++x) {
                Gdiplus::Color c;
                frames[i].m_pBitmap->GetPixel(x, y, &c);
                const double a = c.GetA() / 255.0;
                auto mix = [&](int over, int under) { return static_cast<int>(a * over + (1 - a) * under + 0.5); };
                COLORREF want = RGB(mix(c.GetR(), GetRValue(dark)), mix(c.GetG(), GetGValue(dark)),
                                    mix(c.GetB(), GetBValue(dark)));
                bad += !Near(shot.At(square.left + x, square.top + y), want, 4);
            }
        if (bad == 0) return i + 1;
    }
    return 0;
}

void FillMarker(HWND hwnd, const RECT& rc) {
    HDC dc = ::GetDC(hwnd);
    HBRUSH brush = ::CreateSolidBrush(kMarker);
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);
    ::ReleaseDC(hwnd, dc);
}

bool Inside(const RECT& rc, int x, int y) { return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom; }

void Tick(HWND mask, UINT_PTR id = CMenbanDlg::kSpinnerTimer) { ::SendMessageW(mask, WM_TIMER, id, 0); }

// GDI+ runs for the whole test program (TestSupport.cpp).
class MaskOverlay : public ::testing::Test {};

TEST_F(MaskOverlay, CoversTheWholeWindowDarkAndSeeThrough) {
    MaskedWindow window;
    std::unique_ptr<CMemoryBitmap> before;
    ShowOnScreen(window, &before);
    HWND mask = window.mask->GetSafeHwnd();
    test::SaveScreenshot(window.GetSafeHwnd(), L"mask.png");
    SaveBlended(*before, mask, 229, L"mask-blended.png");

    EXPECT_NE(::GetWindowLongPtrW(mask, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(mask, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 229);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    RECT under{}, over{};
    ::GetWindowRect(window.GetSafeHwnd(), &under);
    ::GetWindowRect(mask, &over);
    EXPECT_TRUE(::EqualRect(&under, &over)) << "the mask lies on the window's own rectangle";
    EXPECT_EQ(::GetParent(mask) ? ::GetParent(mask) : ::GetWindow(mask, GW_OWNER), window.GetSafeHwnd());

    Capture shot(mask);
    const RECT spinner = ExpectedSpinner(mask), text = ExpectedTextBox(mask);
    const COLORREF dark = RGB(25, 25, 25);  // black at alpha 230 over white
    int notDark = 0, textPixels = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            COLORREF c = shot.At(x, y);
            if (Inside(spinner, x, y)) continue;
            if (Inside(text, x, y)) {
                textPixels += Near(c, RGB(0xFF, 0xF5, 0xD3), 40);
                continue;
            }
            notDark += !Near(c, dark, 1);
        }
    EXPECT_EQ(notDark, 0) << "nothing of the window shows through the paint";
    EXPECT_GT(textPixels, 20) << "the notice is drawn in its box";
    EXPECT_EQ(FrameShown(shot, spinner, dark), 1) << "the first frame, 40 pixels above the centre";
}

TEST_F(MaskOverlay, TimerShowsTheFramesInTurnAndRepaintsOnlyTheSpinner) {
    MaskedWindow window;
    ShowOnScreen(window);
    HWND mask = window.mask->GetSafeHwnd();
    const RECT spinner = ExpectedSpinner(mask), text = ExpectedTextBox(mask);
    const RECT corner{2, 2, 12, 12};
    const RECT besideSpinner{spinner.right + 1, spinner.top, spinner.right + 6, spinner.bottom};
    const RECT onText{text.left + 90, text.top + 10, text.left + 110, text.top + 20};
    const COLORREF dark = Capture(mask).At(0, 0);

    const int shown[] = {1, 2, 3, 4, 1, 2};
    const int next[] = {2, 3, 4, 5, 2, 3};
    for (size_t i = 0; i < std::size(shown); ++i) {
        for (const RECT& rc : {corner, besideSpinner, onText, spinner}) FillMarker(mask, rc);
        Tick(mask);
        Capture shot(mask);
        EXPECT_EQ(FrameShown(shot, spinner, dark), shown[i]) << "tick " << i + 1;
        EXPECT_EQ(window.mask->FrameNumber(), next[i]) << "tick " << i + 1;
        EXPECT_EQ(shot.At(corner.left, corner.top), kMarker) << "the field is not repainted";
        EXPECT_EQ(shot.At(besideSpinner.left, besideSpinner.top), kMarker) << "nor next to the spinner";
        EXPECT_EQ(shot.At(onText.left, onText.top), kMarker) << "nor the text";
    }

    // Another timer's tick changes nothing, not even the spinner.
    FillMarker(mask, spinner);
    const int frameNumber = window.mask->FrameNumber();
    Tick(mask, 5001);
    Pump();
    Capture shot(mask);
    EXPECT_EQ(window.mask->FrameNumber(), frameNumber);
    EXPECT_EQ(shot.At(spinner.left + 11, spinner.top + 11), kMarker);
}

}  // namespace
}  // namespace qm

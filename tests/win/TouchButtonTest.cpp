#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "TestDialogs.h"
#include "WindowTestSupport.h"
#include "res/resource.h"
#include "ui/TouchButton.h"
#include "win/Dialog.h"

namespace qm {
namespace {

using test::Capture;
using test::Pump;

const COLORREF kBackground = RGB(20, 120, 200);

// A dialog painted in one flat colour, with an image button over it.
class ButtonHost : public win::CDialogBase {
public:
    ButtonHost() : CDialogBase(IDD_TEST_DIALOG), m_brush(::CreateSolidBrush(kBackground)) {}
    ~ButtonHost() override { ::DeleteObject(m_brush); }
    CTouchButton button;    // the owner-drawn control
    CTouchButton noImages;  // the OK button, never given images
    int clicks = 0, okClicks = 0;

protected:
    BOOL OnInitDialog() override {
        button.SubclassDlgItem(IDC_TEST_OWNERDRAW, m_hWnd);
        noImages.SubclassDlgItem(IDOK, m_hWnd);
        button.SetImages(IDB_REFRESH_NORMAL, IDB_REFRESH_HOVER, IDB_REFRESH_PRESSED);
        // Nothing but the flat colour under the button.
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_TEST_EDIT), SW_HIDE);
        ::SetWindowPos(button.GetSafeHwnd(), nullptr, 10, 40, 78, 24, SWP_NOZORDER);
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
        return TRUE;
    }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (msg == WM_ERASEBKGND) {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            ::FillRect(reinterpret_cast<HDC>(wParam), &rc, m_brush);
            result = 1;
            return true;
        }
        return false;
    }
    bool OnCommand(WORD id, WORD code, HWND) override {
        if (code != BN_CLICKED) return true;
        if (id == IDC_TEST_OWNERDRAW) ++clicks;
        if (id == IDOK) ++okClicks;
        return true;
    }

private:
    HBRUSH m_brush;
};

// Creates the host and lets it paint on screen.
void ShowOnScreen(ButtonHost& host) {
    ASSERT_TRUE(host.Create());
    ::ShowWindow(host.GetSafeHwnd(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(host.GetSafeHwnd());
    Pump();
}

// A press and a release at one point of the control.
void PostClick(HWND control, LPARAM at) {
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(control, WM_LBUTTONUP, 0, at);
}

// The image composed over the flat background by the alpha rule, with an
// optional brightening of the image's colour first.
COLORREF Expected(CGdiPlusBitmapResource& image, int x, int y, bool brighten) {
    if (x >= static_cast<int>(image.Width()) || y >= static_cast<int>(image.Height())) return kBackground;
    Gdiplus::Color c;
    image.m_pBitmap->GetPixel(x, y, &c);
    auto channel = [&](int source, int under) {
        double s = source;
        if (brighten) s = std::min(255.0, 1.05 * s + 0.05 * 255);
        double a = c.GetA() / 255.0;
        return static_cast<int>(a * s + (1 - a) * under + 0.5);
    };
    return RGB(channel(c.GetR(), GetRValue(kBackground)), channel(c.GetG(), GetGValue(kBackground)),
               channel(c.GetB(), GetBValue(kBackground)));
}

// Counts the pixels that differ from the expected picture by more than a
// rounding step in any channel.
int Mismatches(const Capture& shot, CGdiPlusBitmapResource& image, bool brighten) {
    int bad = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            COLORREF got = shot.At(x, y), want = Expected(image, x, y, brighten);
            if (std::abs(GetRValue(got) - GetRValue(want)) > 4 || std::abs(GetGValue(got) - GetGValue(want)) > 4 ||
                std::abs(GetBValue(got) - GetBValue(want)) > 4)
            {
                if (bad < 6 && std::getenv("QM_DEBUG_PIXELS"))
                    std::printf("(%d,%d) got %06lx want %06lx\n", x, y, (unsigned long)got, (unsigned long)want);
                ++bad;
            }
        }
    return bad;
}

// GDI+ runs for the whole test program (TestSupport.cpp).
class TouchButton : public ::testing::Test {};

TEST_F(TouchButton, PaintsEachStateComposedOverTheCapturedBackground) {
    ButtonHost host;
    ShowOnScreen(host);
    HWND button = host.button.GetSafeHwnd();
    CGdiPlusBitmapResource normal, hover;
    ASSERT_TRUE(normal.Load(IDB_REFRESH_NORMAL));
    ASSERT_TRUE(hover.Load(IDB_REFRESH_HOVER));

    EXPECT_EQ(Mismatches(Capture(button), normal, false), 0) << "normal picture";

    ::SendMessageW(button, WM_MOUSEHOVER, 0, 0);
    ::UpdateWindow(button);
    EXPECT_TRUE(host.button.IsHovering());
    EXPECT_EQ(Mismatches(Capture(button), hover, true), 0) << "hover picture, brightened";
    EXPECT_GT(Mismatches(Capture(button), hover, false), 0) << "the brightening shows";

    ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
    ::UpdateWindow(button);
    EXPECT_EQ(Mismatches(Capture(button), normal, false), 0) << "pressed: the pressed picture, no offset";
    ::SendMessageW(button, BM_SETSTATE, FALSE, 0);

    ::SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    ::UpdateWindow(button);
    EXPECT_FALSE(host.button.IsHovering());
    EXPECT_EQ(Mismatches(Capture(button), normal, false), 0) << "leaving restores the normal picture";
    ::DestroyWindow(host.GetSafeHwnd());
}

TEST_F(TouchButton, TwoQuickClicksAreTwoCommands) {
    ButtonHost host;
    ShowOnScreen(host);
    HWND button = host.button.GetSafeHwnd();
    const LPARAM at = MAKELPARAM(5, 5);
    PostClick(button, at);
    ::PostMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageW(button, WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(host.clicks, 2);
    ::DestroyWindow(host.GetSafeHwnd());
}

TEST_F(TouchButton, WithoutImagesPaintsNothingButStillSendsItsCommand) {
    ButtonHost host;
    ShowOnScreen(host);
    HWND ok = host.noImages.GetSafeHwnd();
    Capture shot(ok);
    int notBackground = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) notBackground += shot.At(x, y) != kBackground;
    EXPECT_EQ(notBackground, 0) << "the parent's colour shows through";
    PostClick(ok, MAKELPARAM(3, 3));
    Pump();
    EXPECT_EQ(host.okClicks, 1);
    ::DestroyWindow(host.GetSafeHwnd());
}

TEST_F(TouchButton, TooltipOnlyForATextWithTheAutomaticDelay) {
    ButtonHost host;
    ASSERT_TRUE(host.Create());
    host.button.SetTooltipText(L"");
    EXPECT_FALSE(host.button.HasTooltip());
    ::SendMessageW(host.button.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    EXPECT_FALSE(host.button.HasTooltip()) << "hover and leave work without a tooltip";
    EXPECT_TRUE(host.button.IsHovering());

    host.button.SetTooltipText(L"刷新");
    ASSERT_TRUE(host.button.HasTooltip());
    HWND tip = host.button.TooltipWindow();
    EXPECT_EQ(::SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 2000);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[32] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = host.button.GetSafeHwnd();
    tool.uId = 1;
    tool.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), L"刷新");
    ::SendMessageW(host.button.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    EXPECT_TRUE(host.button.HasTooltip()) << "a fresh tooltip on every hover";
    EXPECT_FALSE(::IsWindow(tip)) << "the old one is gone";
    ::DestroyWindow(host.GetSafeHwnd());
}

}  // namespace
}  // namespace qm

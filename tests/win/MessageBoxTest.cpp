#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "res/resource.h"
#include "ui/MessageBox.h"

namespace qm {
namespace {

// Runs the real box modally; once it is on screen, `act` looks at it and
// answers it the way a player would.
class DrivenBox : public CCustomMessageBox {
public:
    std::function<void(HWND)> act;

protected:
    BOOL OnInitDialog() override {
        BOOL result = CCustomMessageBox::OnInitDialog();
        ::SetTimer(m_hWnd, 77, 150, nullptr);  // after the loop has shown and painted it
        return result;
    }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_TIMER && wParam == 77) {
            ::KillTimer(m_hWnd, 77);
            act(m_hWnd);
            return true;
        }
        return CCustomMessageBox::OnMessage(msg, wParam, lParam, result);
    }
};

// GDI+ runs for the whole test program (TestSupport.cpp).
class MessageBoxTest : public ::testing::Test {};

RECT ChildRect(HWND dialog, int id) {
    RECT rc{};
    HWND child = ::GetDlgItem(dialog, id);
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

TEST_F(MessageBoxTest, SizeCaptionlessFrameAndButtonPlaces) {
    DrivenBox box;
    RECT window{}, client{}, close{}, ok{}, cancel{};
    LONG_PTR style = 0;
    LRESULT hitFree = 0, hitButton = 0;
    box.act = [&](HWND hwnd) {
        ::GetWindowRect(hwnd, &window);
        ::GetClientRect(hwnd, &client);
        style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
        close = ChildRect(hwnd, IDC_MSGBOX_CLOSE);
        ok = ChildRect(hwnd, IDOK);
        cancel = ChildRect(hwnd, IDCANCEL);
        POINT free{window.left + 10, window.top + 60};
        hitFree = ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(free.x, free.y));
        POINT onOk{window.left + ok.left + 5, window.top + ok.top + 5};
        hitButton = ::SendMessageW(::GetDlgItem(hwnd, IDOK), WM_NCHITTEST, 0, MAKELPARAM(onOk.x, onOk.y));
        ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    };
    ASSERT_EQ(box.DoModal(), 2);
    EXPECT_EQ(window.right - window.left, 256);
    EXPECT_EQ(window.bottom - window.top, 109);
    EXPECT_EQ(client.right, 256) << "no frame left";
    EXPECT_EQ(client.bottom, 109);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(close.left, 256 - 25);
    EXPECT_EQ(close.top, 10);
    EXPECT_EQ(close.right - close.left, 28);
    EXPECT_EQ(close.bottom - close.top, 26);
    EXPECT_EQ(ok.left, 45);
    EXPECT_EQ(ok.top, 109 - 45);
    EXPECT_EQ(ok.right - ok.left, 82);
    EXPECT_EQ(ok.bottom - ok.top, 34);
    EXPECT_EQ(cancel.left, 137);
    EXPECT_EQ(cancel.top, 109 - 45);
    EXPECT_EQ(hitFree, HTCAPTION) << "a free point drags the box";
    EXPECT_EQ(hitButton, HTCLIENT) << "a button stays a button";
    // Centred on the work area, as it has no owner.
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR(window.left, area.left + (area.right - area.left - 256) / 2, 1);
    EXPECT_NEAR(window.top, area.top + (area.bottom - area.top - 109) / 2, 1);
}

TEST_F(MessageBoxTest, OnlyOkAnswersOne) {
    struct Case {
        const char* what;
        std::function<void(HWND)> answer;
        INT_PTR result;
    } cases[] = {
        {"OK button", [](HWND h) { ::PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }, 1},
        {"Cancel button", [](HWND h) { ::PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, 2},
        {"close button", [](HWND h) { ::PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_MSGBOX_CLOSE, BN_CLICKED), 0); },
         2},
        {"Escape", [](HWND h) {
             HWND focus = ::GetFocus();
             ::PostMessageW(focus ? focus : h, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
         }, 2},
        {"click on OK",
         [](HWND h) {
             HWND ok = ::GetDlgItem(h, IDOK);
             ::PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
             ::PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
         },
         1},
    };
    for (const Case& c : cases) {
        DrivenBox box;
        box.SetText(L"关闭提示", L"是否退出《Quellmoor》登录器？");
        box.act = c.answer;
        EXPECT_EQ(box.DoModal(), c.result) << c.what;
    }
}

TEST_F(MessageBoxTest, PaintsCaptionAndMessageInGoldOverItsSkin) {
    DrivenBox box;
    box.SetText(L"关闭提示", L"是否退出《Quellmoor》登录器？");
    int captionGold = 0, messageGold = 0, goldOutsideText = 0;
    box.act = [&](HWND hwnd) {
        test::SaveScreenshot(hwnd, L"messagebox.png");
        HDC dc = ::GetDC(hwnd);
        for (int y = 0; y < 109; ++y)
            for (int x = 0; x < 256; ++x) {
                COLORREF c = ::GetPixel(dc, x, y);
                // Text pixels: close to the text colour 0xDAC29D.
                bool gold = std::abs(GetRValue(c) - 0xDA) < 24 && std::abs(GetGValue(c) - 0xC2) < 24 &&
                            std::abs(GetBValue(c) - 0x9D) < 24;
                if (!gold) continue;
                if (x >= 85 && x < 185 && y >= 7 && y < 32) ++captionGold;
                else if (x >= 28 && x < 248 && y >= 33 && y < 63) ++messageGold;
                else if (y >= 20 && y < 60 && x > 28 && x < 230) ++goldOutsideText;
            }
        ::ReleaseDC(hwnd, dc);
        ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    };
    ASSERT_EQ(box.DoModal(), 2);
    EXPECT_GT(captionGold, 20) << "the caption is drawn";
    EXPECT_GT(messageGold, 20) << "the message is drawn";
    EXPECT_EQ(goldOutsideText, 0) << "text stays inside its boxes";
}

// The pixels of one text box of the box as it paints the given texts.
std::vector<COLORREF> PaintedBox(CCustomMessageBox& box, const std::wstring& caption, const std::wstring& message,
                                 const RECT& area) {
    HWND hwnd = box.GetSafeHwnd();
    box.SetText(caption, message);
    ::InvalidateRect(hwnd, nullptr, TRUE);
    ::UpdateWindow(hwnd);
    test::Capture shot(hwnd);
    std::vector<COLORREF> pixels;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) pixels.push_back(shot.At(x, y));
    return pixels;
}

// The length of the prefix that, followed by a visible ellipsis, paints
// exactly like the whole text; 0 when there is none.
int EllipsisPrefix(CCustomMessageBox& box, const std::wstring& text, bool caption, const RECT& area) {
    auto paint = [&](const std::wstring& t) {
        return caption ? PaintedBox(box, t, L"", area) : PaintedBox(box, L"", t, area);
    };
    const std::vector<COLORREF> whole = paint(text);
    for (size_t k = 1; k < text.size(); ++k)
        if (paint(text.substr(0, k) + L"…") == whole && paint(text.substr(0, k)) != whole)
            return static_cast<int>(k);
    return 0;
}

TEST_F(MessageBoxTest, LongCaptionAndMessageAreCutWithAnEllipsis) {
    const RECT captionBox{85, 7, 185, 33}, messageBox{28, 33, 248, 64};
    const RECT beyondCaption{0, 0, 256, 33}, beyondMessage{0, 33, 256, 64};
    const std::wstring longCaption = L"温馨提示温馨提示温馨提示";
    std::wstring longMessage;
    for (int i = 0; i < 12; ++i) longMessage += L"缓存清理需要一点时间，";
    DrivenBox box;
    int captionCut = 0, messageCut = 0;
    bool captionStaysInBox = false, messageStaysInBox = false, tailsHidden = false;
    box.act = [&](HWND hwnd) {
        captionCut = EllipsisPrefix(box, longCaption, true, beyondCaption);
        messageCut = EllipsisPrefix(box, longMessage, false, beyondMessage);
        // Whatever the length, nothing is painted outside the text's own box
        // (antialiasing may shade the row under a box).
        const std::vector<COLORREF> empty = PaintedBox(box, L"", L"", RECT{0, 0, 256, 109});
        const std::vector<COLORREF> both = PaintedBox(box, longCaption, longMessage, RECT{0, 0, 256, 109});
        captionStaysInBox = messageStaysInBox = true;
        for (int y = 0; y < 109; ++y)
            for (int x = 0; x < 256; ++x) {
                const POINT pt{x, y};
                if (both[y * 256 + x] == empty[y * 256 + x]) continue;
                if (!::PtInRect(&captionBox, pt) && y < 33) captionStaysInBox = false;
                if (!::PtInRect(&messageBox, pt) && y >= 33) messageStaysInBox = false;
            }
        tailsHidden = PaintedBox(box, longCaption + L"甲", longMessage + L"甲", RECT{0, 0, 256, 64}) ==
                      PaintedBox(box, longCaption + L"乙", longMessage + L"乙", RECT{0, 0, 256, 64});
        box.SetText(longCaption, longMessage);
        ::InvalidateRect(hwnd, nullptr, TRUE);
        ::UpdateWindow(hwnd);
        test::SaveScreenshot(hwnd, L"messagebox-long.png");
        ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    };
    ASSERT_EQ(box.DoModal(), 2);
    EXPECT_GT(captionCut, 2) << "the caption ends in an ellipsis after the characters that fit";
    EXPECT_LT(captionCut, static_cast<int>(longCaption.size()));
    EXPECT_GT(messageCut, 20) << "the message wraps to a second line, then ends in an ellipsis";
    EXPECT_LT(messageCut, static_cast<int>(longMessage.size()));
    EXPECT_TRUE(captionStaysInBox);
    EXPECT_TRUE(messageStaysInBox);
    EXPECT_TRUE(tailsHidden) << "what does not fit is not drawn";
}

}  // namespace
}  // namespace qm

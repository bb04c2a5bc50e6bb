#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "PortalSupport.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "game/GameView.h"

namespace qm {
namespace {

// The game view in this process, over the stand-in control and the portal.
class GameView : public ::testing::Test {
protected:
    void SetUp() override {
        base = test::PortalBase();
        if (base.empty()) GTEST_SKIP() << "no development portal (QM_PORTAL_DIR)";
        owner = test::CreateTestWindow(L"QmGameViewOwner", ::DefWindowProcW, WS_POPUP | WS_VISIBLE,
                                       RECT{60, 60, 700, 460}, nullptr,
                                       static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    }
    void TearDown() override {
        if (owner) ::DestroyWindow(owner);
    }
    HWND PageWindow(HWND view) {
        HWND page = nullptr;
        for (HWND inner = ::GetWindow(view, GW_CHILD); inner; inner = ::GetWindow(inner, GW_CHILD)) page = inner;
        return page;
    }
    std::wstring base;
    HWND owner = nullptr;
};

TEST_F(GameView, ShowsTheGamePageAndFollowsItsOwnersSize) {
    CMyHtmlView view;
    ASSERT_TRUE(view.Create(owner, RECT{}));
    HWND hwnd = view.GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    wchar_t name[32] = {};
    ::GetWindowTextW(hwnd, name, 32);
    EXPECT_STREQ(name, L"MyWebBrowser");
    EXPECT_EQ(::GetDlgCtrlID(hwnd), CMyHtmlView::kControlId);
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);

    const size_t logged = test::PortalRequests().size();
    const std::wstring game = base + L"/games/qlmr/dlq/play.php?play_gamecode=qlmr&case=view&svname=%E5%8F%8C/";
    ASSERT_TRUE(view.Navigate2(game));
    const auto loads = test::WaitForRequests(logged, 1, [](const test::PortalRequest& r) {
        return r.query.find("case=view") != std::string::npos;
    });
    EXPECT_EQ(loads.size(), 1u) << "the portal served the game page";

    RECT client{};
    ::GetClientRect(owner, &client);
    view.MoveWindow(client, true);
    HWND page = PageWindow(hwnd);
    ASSERT_NE(page, nullptr);
    RECT pageRect{};
    ::GetWindowRect(page, &pageRect);
    EXPECT_EQ(pageRect.right - pageRect.left, client.right) << "the page fills the view";
    EXPECT_EQ(pageRect.bottom - pageRect.top, client.bottom);
    EXPECT_EQ(view.ClickListenerCookie(), 0u) << "the stand-in has no document to listen to";
    for (int i = 0; i < 10; ++i) test::Pump();
    test::SaveScreenshot(owner, L"game-view.png");
}

TEST_F(GameView, ItsWindowGoesButTheViewStaysForItsOwnerToDelete) {
    auto view = std::make_unique<CMyHtmlView>();
    ASSERT_TRUE(view->Create(owner, RECT{0, 0, 100, 100}));
    HWND hwnd = view->GetSafeHwnd();
    ::DestroyWindow(owner);  // takes the view's window with it
    owner = nullptr;
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(view->GetSafeHwnd(), nullptr) << "detached from its window, still alive";
    EXPECT_FALSE(view->Navigate2(L"about:blank")) << "no control without its window";
    view.reset();
}

}  // namespace
}  // namespace qm

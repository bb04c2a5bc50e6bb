#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "PortalSupport.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "game/FrameMessages.h"
#include "game/GameHostSwitches.h"

namespace qm {
namespace {

// Plays the frame for a child host process: a visible window of this test
// that notes the handle the child announces.
class FrameStandIn {
public:
    FrameStandIn()
        : m_hwnd(test::CreateTestWindow(L"QmFrameStandIn", &FrameStandIn::Proc, WS_POPUP | WS_VISIBLE,
                                        RECT{40, 40, 840, 640}, this,
                                        static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)))) {}
    ~FrameStandIn() { Destroy(); }
    void Destroy() {
        if (m_hwnd) ::DestroyWindow(m_hwnd);
        m_hwnd = nullptr;
    }
    HWND Handle() const { return m_hwnd; }
    HWND announced = nullptr;
    int announcements = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<FrameStandIn*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_SET_GAME_WINDOW) {
            self->announced = reinterpret_cast<HWND>(wParam);
            ++self->announcements;
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND m_hwnd = nullptr;
};

// Starts the built launcher with the line the frame builds for its child.
struct ChildHost {
    explicit ChildHost(HWND frame,
                       const std::wstring& gameUrl = L"http://127.0.0.1:9/games/qlmr/dlq/play.php?play_gamecode=qlmr&svname=s1/",
                       const std::wstring& cookies = L"a=1; b=2") {
        const std::wstring exe = test::LauncherPath();
        if (exe.empty()) return;
        std::wstring line = FormatGameHostCommandLine(exe, static_cast<long>(reinterpret_cast<INT_PTR>(frame)),
                                                      gameUrl, cookies);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            ::CloseHandle(info.hThread);
    }
    ~ChildHost() {
        if (!info.hProcess) return;
        if (::WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(info.hProcess, 1);
        ::CloseHandle(info.hProcess);
    }
    // True when the process ended within the time, with its exit code.
    bool Ended(DWORD milliseconds, DWORD* code = nullptr) {
        for (DWORD waited = 0; waited <= milliseconds; waited += 50) {
            if (::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) {
                if (code) ::GetExitCodeProcess(info.hProcess, code);
                return true;
            }
            test::Pump();
        }
        return false;
    }
    PROCESS_INFORMATION info{};
};

RECT RectInParent(HWND child) {
    RECT rc{};
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class GameHost : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::LauncherPath().empty()) GTEST_SKIP() << "QM_LAUNCHER_EXE not set";
    }
    // Waits until the child has announced its window.
    bool WaitForAnnouncement(FrameStandIn& frame) {
        for (int i = 0; i < 200 && !frame.announced; ++i) test::Pump();
        return frame.announced != nullptr;
    }
};

TEST_F(GameHost, ChildSitsBelowTheTitleStripAndFollowsTheFrame) {
    FrameStandIn frame;
    ChildHost child(frame.Handle());
    ASSERT_NE(child.info.hProcess, nullptr);
    ASSERT_TRUE(WaitForAnnouncement(frame));
    HWND game = frame.announced;
    EXPECT_EQ(frame.announcements, 1);
    EXPECT_EQ(::GetParent(game), frame.Handle()) << "a child window of the frame";
    EXPECT_NE(::GetWindowLongPtrW(game, GWL_STYLE) & WS_CHILD, 0);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(game, &owner);
    EXPECT_EQ(owner, child.info.dwProcessId) << "in the child's own process";
    RECT client{};
    ::GetClientRect(frame.Handle(), &client);
    RECT rc = RectInParent(game);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.right, client.right);
    EXPECT_EQ(rc.bottom, client.bottom);
    HWND view = ::FindWindowExW(game, nullptr, nullptr, L"MyWebBrowser");
    ASSERT_NE(view, nullptr) << "the view";
    EXPECT_EQ(::GetDlgCtrlID(view), 10000);

    ::SendMessageW(game, WM_FIT_GAME_WINDOW, 1, 0);
    rc = RectInParent(game);
    EXPECT_EQ(rc.top, 0) << "full screen: the whole client area";
    EXPECT_EQ(rc.bottom, client.bottom);
    ::ShowWindow(game, SW_HIDE);
    ::SendMessageW(game, WM_FIT_GAME_WINDOW, 0, 0);
    rc = RectInParent(game);
    EXPECT_EQ(rc.top, 30);
    EXPECT_TRUE(::IsWindowVisible(game)) << "a fit shows a hidden game window";

    // The frame's resize reaches the view through the dialog's own size.
    ::SetWindowPos(frame.Handle(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    ::SendMessageW(game, WM_FIT_GAME_WINDOW, 0, 0);
    RECT viewRect{}, gameClient{};
    ::GetClientRect(game, &gameClient);
    ::GetWindowRect(view, &viewRect);
    EXPECT_EQ(viewRect.right - viewRect.left, gameClient.right);
    EXPECT_EQ(viewRect.bottom - viewRect.top, gameClient.bottom);

    ::SendMessageW(game, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(child.Ended(5000, &code)) << "WM_CLOSE ends the child";
    EXPECT_EQ(code, 0u);
}

TEST_F(GameHost, ChildEndsWhenTheFrameWindowDisappears) {
    FrameStandIn frame;
    ChildHost child(frame.Handle());
    ASSERT_TRUE(WaitForAnnouncement(frame));
    frame.Destroy();
    const DWORD start = ::GetTickCount();
    DWORD code = 1;
    EXPECT_TRUE(child.Ended(5000, &code));
    EXPECT_LT(::GetTickCount() - start, 4000u) << "within about two seconds";
    EXPECT_EQ(code, 0u);
}

// Over the stand-in control and the development portal: the game page is
// fetched with the cookies the frame handed over, and reloaded on request.
TEST_F(GameHost, ChildLoadsTheGameWithTheHandedCookiesAndReloadsIt) {
    const std::wstring base = test::PortalBase();
    if (base.empty()) GTEST_SKIP() << "no development portal (QM_PORTAL_DIR)";
    const std::wstring session = test::SignInAtPortal(L"host-test");
    ASSERT_FALSE(session.empty()) << "signed in at the portal";
    // A cookie of this run only: it can only have come from the command line.
    const std::wstring handed = L"qm_handed=" + std::to_wstring(::GetTickCount());
    const std::wstring game = base + L"/games/qlmr/dlq/play.php?play_gamecode=qlmr&case=host&svname=s1/";
    const size_t logged = test::PortalRequests().size();
    const auto isGame = [](const test::PortalRequest& r) {
        return r.path == "/games/qlmr/dlq/play.php" && r.query.find("case=host") != std::string::npos;
    };

    FrameStandIn frame;
    ChildHost child(frame.Handle(), game, session + L"; " + handed);
    ASSERT_TRUE(WaitForAnnouncement(frame));
    auto loads = test::WaitForRequests(logged, 1, isGame);
    ASSERT_EQ(loads.size(), 1u) << "the child loaded the game address";
    EXPECT_NE(loads[0].cookie.find(test::Utf8(session)), std::string::npos) << loads[0].cookie;
    EXPECT_NE(loads[0].cookie.find(test::Utf8(handed)), std::string::npos) << loads[0].cookie;
    for (int i = 0; i < 6; ++i) test::Pump();  // the page painted, where the screen shows it
    test::SaveScreenshot(frame.Handle(), L"game-host.png");

    ::SendMessageW(frame.announced, WM_RELOAD_GAME, 0, 0);
    loads = test::WaitForRequests(logged, 2, isGame);
    EXPECT_EQ(loads.size(), 2u) << "0xBD2 reloads the game";

    // F5 as the child's message loop sees it, posted to the page window.
    HWND view = ::FindWindowExW(frame.announced, nullptr, nullptr, L"MyWebBrowser");
    HWND page = view;
    for (HWND inner = view; inner; inner = ::GetWindow(inner, GW_CHILD)) page = inner;
    ASSERT_NE(page, nullptr);
    const size_t keysFrom = test::StandInLog().size();
    ::PostMessageW(page, WM_KEYDOWN, VK_F5, 0x003F0001);
    loads = test::WaitForRequests(logged, 3, isGame);
    EXPECT_EQ(loads.size(), 3u) << "F5 reloads the game";
    for (const auto& load : loads) EXPECT_NE(load.cookie.find(test::Utf8(handed)), std::string::npos);

    // Escape and Enter go to the page as they are, not to the dialog; F5 was
    // the host's and reached neither; any other key is offered to the
    // control's keyboard handling before the dialog's.
    ::PostMessageW(page, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageW(page, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::PostMessageW(page, WM_KEYDOWN, VK_TAB, 0x000F0001);
    std::vector<std::wstring> keys;
    for (int i = 0; i < 200 && keys.size() < 3; ++i) {
        test::Pump();
        keys.clear();
        const auto log = test::StandInLog();
        for (size_t k = keysFrom; k < log.size(); ++k)
            if (log[k].size() == 2 && (log[k][0] == L"key" || log[k][0] == L"accelerator"))
                keys.push_back(log[k][0] + L" " + log[k][1]);
    }
    ASSERT_GE(keys.size(), 3u);
    keys.resize(3);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"key 27", L"key 13", L"accelerator 9"}));

    ::SendMessageW(frame.announced, WM_CLOSE, 0, 0);
    EXPECT_TRUE(child.Ended(5000));
}

// The page may lead elsewhere by itself (here the sign-in answer's meta
// refresh); F5 still loads the game address the frame handed over.
TEST_F(GameHost, F5ReloadsTheGameAddressNotWhereThePageWentSince) {
    const std::wstring base = test::PortalBase();
    if (base.empty()) GTEST_SKIP() << "no development portal (QM_PORTAL_DIR)";
    const std::wstring game = base + L"/games/qlmr/dlq/login?account=f5&password=pw&case=f5";
    const size_t logged = test::PortalRequests().size();
    const auto isGame = [](const test::PortalRequest& r) { return r.query.find("case=f5") != std::string::npos; };
    const auto isLater = [](const test::PortalRequest& r) { return r.path == "/games/qlmr/dlq/play.php"; };

    FrameStandIn frame;
    ChildHost child(frame.Handle(), game, L"");
    ASSERT_TRUE(WaitForAnnouncement(frame));
    ASSERT_EQ(test::WaitForRequests(logged, 1, isLater).size(), 1u) << "the page went on to the game page";
    const size_t afterRefresh = test::PortalRequests().size();

    HWND page = nullptr;
    for (HWND inner = ::FindWindowExW(frame.announced, nullptr, nullptr, L"MyWebBrowser"); inner;
         inner = ::GetWindow(inner, GW_CHILD))
        page = inner;
    ASSERT_NE(page, nullptr);
    ::PostMessageW(page, WM_KEYDOWN, VK_F5, 0x003F0001);
    const auto next = test::WaitForRequests(afterRefresh, 1, [&](const test::PortalRequest& r) {
        return isGame(r) || isLater(r);
    });
    ASSERT_FALSE(next.empty()) << "F5 loaded a page";
    EXPECT_TRUE(isGame(next[0])) << "the game address, not " << next[0].path;
    ::SendMessageW(frame.announced, WM_CLOSE, 0, 0);
    EXPECT_TRUE(child.Ended(5000));
}

}  // namespace
}  // namespace qm

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "core/DataFolder.h"
#include "core/Settings.h"
#include "game/FrameMessages.h"
#include "game/FrameRules.h"
#include "game/FrameWindow.h"
#include "res/resource.h"
#include "ui/MessageBox.h"

namespace qm {
namespace {

using test::Pump;

constexpr wchar_t kGameUrl[] =
    L"http://127.0.0.1:18127/games/qlmr/dlq/play.php?play_gamecode=qlmr&svname=%E5%8F%8C%E6%9C%88%E4%B8%80%E6%9C%8D/";

// The real frame, with the login answered and no processes started.
class TestFrame : public CZuvere_KelDlg {
public:
    int newInstances = 0;

protected:
    std::wstring RunLogin() override { return kGameUrl; }
    void StartGameHost() override {}
    void StartNewInstance() override { ++newInstances; }
};

// Stands in for the child game window: records what the frame sends it.
class FakeGameWindow {
public:
    struct Received {
        UINT msg;
        WPARAM wParam;
    };
    FakeGameWindow()
        : m_hwnd(test::CreateTestWindow(L"QmFakeGameWindow", &FakeGameWindow::Proc, WS_POPUP, RECT{0, 0, 10, 10},
                                        this)) {}
    ~FakeGameWindow() { ::DestroyWindow(m_hwnd); }
    HWND Handle() const { return m_hwnd; }
    std::vector<Received> received;
    // The wParam of every WM_FIT_GAME_WINDOW, in order.
    std::vector<WPARAM> Fits() const {
        std::vector<WPARAM> fits;
        for (const Received& r : received)
            if (r.msg == WM_FIT_GAME_WINDOW) fits.push_back(r.wParam);
        return fits;
    }
    int Count(UINT msg) const {
        int n = 0;
        for (const Received& r : received) n += r.msg == msg;
        return n;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<FakeGameWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && (msg == WM_FIT_GAME_WINDOW || msg == WM_RELOAD_GAME || msg == WM_CLOSE)) {
            self->received.push_back({msg, wParam});
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND m_hwnd = nullptr;
};

RECT WindowRect(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}
RECT WorkArea() {
    RECT rc{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}
bool Visible(HWND frame, int id) { return ::IsWindowVisible(::GetDlgItem(frame, id)) != FALSE; }
void Command(HWND frame, int id) { ::SendMessageW(frame, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The confirmation box the frame is showing, if any.
CCustomMessageBox* OpenBox() {
    struct Search {
        CCustomMessageBox* box = nullptr;
    } search;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* box = dynamic_cast<CCustomMessageBox*>(win::CWindow::FromHandle(hwnd));
            if (box && ::IsWindowVisible(hwnd)) {
                reinterpret_cast<Search*>(p)->box = box;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.box;
}

// Answers the next confirmation box with `answer` once it is on screen,
// noting its texts and whether the frame was disabled behind it.
struct BoxAnswer {
    int answer = IDCANCEL;
    HWND frame = nullptr;
    std::wstring caption, message;
    bool frameDisabled = false;
    bool seen = false;
};
BoxAnswer* g_pending = nullptr;
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    CCustomMessageBox* box = OpenBox();
    if (!box || !g_pending) return;
    ::KillTimer(nullptr, id);
    g_pending->seen = true;
    g_pending->caption = box->Caption();
    g_pending->message = box->Message();
    g_pending->frameDisabled = !::IsWindowEnabled(g_pending->frame);
    ::PostMessageW(box->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(g_pending->answer, BN_CLICKED), 0);
}
BoxAnswer CommandAndAnswer(HWND frame, int id, int answer) {
    BoxAnswer pending;
    pending.answer = answer;
    pending.frame = frame;
    g_pending = &pending;
    ::SetTimer(nullptr, 0, 100, &AnswerBox);
    Command(frame, id);
    g_pending = nullptr;
    return pending;
}

// Each test: a fresh frame on screen, a settings file with the shipped keys.
class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        test::RemoveTree(GetDataFolder());
        ::SHCreateDirectoryExW(nullptr, (GetDataFolder() + L"res").c_str(), nullptr);
        test::WriteAllBytes(GetSettingsPath(), "[Setting]\r\nscreentoggle=Ctrl+Alt+F10\r\nfullscreen=Ctrl+Alt+F11\r\n");
        ASSERT_TRUE(frame.Create());
        hwnd = frame.GetSafeHwnd();
        ::SetForegroundWindow(hwnd);
        Pump();
    }
    void TearDown() override { test::RemoveTree(GetDataFolder()); }
    void AttachFakeChild() { ::SendMessageW(hwnd, WM_SET_GAME_WINDOW, reinterpret_cast<WPARAM>(child.Handle()), 0); }
    void ExpectMaximisedLayout(const char* when) {
        RECT rc = WindowRect(hwnd), area = WorkArea();
        EXPECT_TRUE(::EqualRect(&rc, &area)) << when << ": " << rc.right << "x" << rc.bottom;
        EXPECT_TRUE(frame.IsMaximizedLayout()) << when;
        EXPECT_TRUE(Visible(hwnd, IDC_FRAME_RESTORE)) << when;
        EXPECT_FALSE(Visible(hwnd, IDC_FRAME_MAXIMIZE)) << when;
        ExpectButtonsLaidOut(when);
    }
    void ExpectRestoredLayout(const char* when) {
        RECT rc = WindowRect(hwnd);
        EXPECT_EQ(rc.right - rc.left, 1000) << when;
        EXPECT_EQ(rc.bottom - rc.top, 700) << when;
        EXPECT_FALSE(frame.IsMaximizedLayout()) << when;
        EXPECT_FALSE(::IsZoomed(hwnd)) << when;
        EXPECT_TRUE(Visible(hwnd, IDC_FRAME_MAXIMIZE)) << when;
        EXPECT_FALSE(Visible(hwnd, IDC_FRAME_RESTORE)) << when;
        ExpectButtonsLaidOut(when);
    }
    void ExpectButtonsLaidOut(const char* when) {
        RECT client{};
        ::GetClientRect(hwnd, &client);
        for (const TitleButtonPlace& place : TitleButtonPlaces(client.right)) {
            RECT rc = WindowRect(::GetDlgItem(hwnd, place.controlId));
            ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_EQ(rc.left, place.x) << when << " " << place.controlId;
            EXPECT_EQ(rc.top, 3) << when << " " << place.controlId;
            EXPECT_EQ(rc.right - rc.left, place.width) << when << " " << place.controlId;
        }
    }
    TestFrame frame;
    HWND hwnd = nullptr;
    FakeGameWindow child;
};

TEST_F(Frame, StartsMaximisedToTheWorkAreaWithItsSkinTrayAndMask) {
    ExpectMaximisedLayout("start-up");
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(frame.IsFullScreen());
    EXPECT_FALSE(frame.IsMinimizedByButton());
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    wchar_t title[64] = {};
    ::GetWindowTextW(hwnd, title, 64);
    EXPECT_EQ(std::wstring(title), L"Quellmoor登录器");
    EXPECT_EQ(frame.GameUrl(), kGameUrl);
    EXPECT_EQ(frame.ServerName(), L"双月一服");
    EXPECT_NE(::SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0) << "the large window icon";
    ASSERT_TRUE(frame.Tray().IsAdded());
    EXPECT_EQ(std::wstring(frame.Tray().Record().szTip), L"Quellmoor登录器");
    EXPECT_EQ(frame.Tray().Record().uCallbackMessage, WM_TRAY_NOTIFY);
    EXPECT_EQ(frame.Tray().Record().hWnd, hwnd);
    ASSERT_NE(frame.Mask(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(frame.Mask()->GetSafeHwnd()));
    EXPECT_EQ(::GetWindow(frame.Mask()->GetSafeHwnd(), GW_OWNER), hwnd);

    // The title strip: the right cap at the right edge, the server name in
    // cream after the left cap, black below until the game window is there.
    test::Capture shot(hwnd);
    int cream = 0;
    for (int y = 4; y < 26; ++y)
        for (int x = 208; x < 320; ++x) cream += test::Near(shot.At(x, y), RGB(0xFF, 0xF3, 0xCD), 60);
    EXPECT_GT(cream, 20) << "[ 双月一服 ] is drawn";
    EXPECT_EQ(shot.At(shot.width / 2, 300), RGB(0, 0, 0));
    test::SaveScreenshot(hwnd, L"frame-maximized.png");
}

TEST_F(Frame, RestoreMaximiseAndDoubleClickSwitchTheLayout) {
    AttachFakeChild();
    Command(hwnd, IDC_FRAME_RESTORE);
    ExpectRestoredLayout("restore button");
    ASSERT_FALSE(child.Fits().empty());
    for (WPARAM fit : child.Fits()) EXPECT_EQ(fit, 0u) << "the child refits below the title";
    ::UpdateWindow(hwnd);
    {
        // The right cap is drawn at the restored width.
        test::Capture shot(hwnd);
        EXPECT_NE(shot.At(1000 - 45, 2), RGB(0, 0, 0));
    }
    test::SaveScreenshot(hwnd, L"frame-restored.png");

    Command(hwnd, IDC_FRAME_MAXIMIZE);
    ExpectMaximisedLayout("maximise button");

    ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(600, 15));
    ExpectRestoredLayout("double click on the maximised frame");
    ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(600, 15));
    ExpectMaximisedLayout("double click on the restored frame");
    EXPECT_FALSE(frame.IsFullScreen());
}

TEST_F(Frame, OnlyTheRestoredFrameIsDraggedByItsTitleStrip) {
    auto pressStartsMove = [&] {
        MSG msg;
        while (::PeekMessageW(&msg, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {}
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(600, 15));
        bool move = false;
        while (::PeekMessageW(&msg, hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE))
            move = move || msg.wParam == HTCAPTION;
        return move;
    };
    EXPECT_FALSE(pressStartsMove()) << "maximised";
    Command(hwnd, IDC_FRAME_RESTORE);
    EXPECT_TRUE(pressStartsMove()) << "restored";
}

TEST_F(Frame, MinimiseByButtonThenTheBossKeyBringsTheLayoutBack) {
    Command(hwnd, IDC_FRAME_MINIMIZE);
    EXPECT_TRUE(::IsIconic(hwnd));
    EXPECT_TRUE(frame.IsMinimizedByButton());
    ::SendMessageW(hwnd, WM_HOTKEY, 2, 0);
    EXPECT_FALSE(::IsIconic(hwnd));
    EXPECT_FALSE(frame.IsMinimizedByButton());
    ExpectMaximisedLayout("boss key after minimise");

    // Now the boss key hides and shows, in the same layout.
    ::SendMessageW(hwnd, WM_HOTKEY, 2, 0);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    ::SendMessageW(hwnd, WM_HOTKEY, 2, 0);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    ExpectMaximisedLayout("boss key twice");

    // The same from the restored layout.
    Command(hwnd, IDC_FRAME_RESTORE);
    Command(hwnd, IDC_FRAME_MINIMIZE);
    ::SendMessageW(hwnd, WM_HOTKEY, 2, 0);
    ExpectRestoredLayout("boss key after minimise from restored");

    Command(hwnd, IDC_FRAME_BOSSKEY);
    EXPECT_FALSE(::IsWindowVisible(hwnd)) << "the boss-key button hides";
    ::SendMessageW(hwnd, WM_HOTKEY, 7, 0);
    EXPECT_FALSE(::IsWindowVisible(hwnd)) << "another hotkey id does nothing";
}

TEST_F(Frame, TaskbarRestoreOfTheMinimisedFrameRefitsTheMaximisedLayout) {
    Command(hwnd, IDC_FRAME_MINIMIZE);
    ASSERT_TRUE(::IsIconic(hwnd));
    ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsIconic(hwnd));
    for (int i = 0; i < 5; ++i) Pump();  // timer 102, 10 ms later
    ExpectMaximisedLayout("taskbar restore");
    EXPECT_TRUE(frame.IsMinimizedByButton()) << "until a layout button is used";
    Command(hwnd, IDC_FRAME_RESTORE);
    EXPECT_FALSE(frame.IsMinimizedByButton());

    MINMAXINFO info{};
    ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 400);
    EXPECT_EQ(info.ptMinTrackSize.y, 400);
}

TEST_F(Frame, FullScreenFromRestoredAndBackIntoTheMaximisedLayout) {
    AttachFakeChild();
    Command(hwnd, IDC_FRAME_RESTORE);
    child.received.clear();
    Command(hwnd, IDC_FRAME_FULLSCREEN);
    EXPECT_TRUE(frame.IsFullScreen());
    RECT rc = WindowRect(hwnd);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rc.bottom, ::GetSystemMetrics(SM_CYSCREEN));
    for (const TitleButtonPlace& place : TitleButtonPlaces(0))
        EXPECT_FALSE(Visible(hwnd, place.controlId)) << place.controlId;
    ASSERT_FALSE(child.Fits().empty());
    EXPECT_EQ(child.Fits().back(), 1u) << "the child covers the whole client area";
    EXPECT_FALSE(frame.IsMaximizedLayout()) << "full screen keeps the layout flag";

    child.received.clear();
    Command(hwnd, IDCANCEL);
    EXPECT_FALSE(frame.IsFullScreen());
    ExpectMaximisedLayout("command 2 leaves full screen");
    ASSERT_FALSE(child.Fits().empty());
    EXPECT_EQ(child.Fits().back(), 0u);

    Command(hwnd, IDCANCEL);
    ExpectMaximisedLayout("command 2 outside full screen");
    EXPECT_TRUE(::IsWindow(hwnd)) << "and never closes the frame";

    // The full-screen hotkey toggles while the frame is in front.
    ::SetForegroundWindow(hwnd);
    ASSERT_EQ(::GetForegroundWindow(), hwnd);
    ::SendMessageW(hwnd, WM_HOTKEY, 3, 0);
    EXPECT_TRUE(frame.IsFullScreen());
    ::SendMessageW(hwnd, WM_HOTKEY, 3, 0);
    EXPECT_FALSE(frame.IsFullScreen());
    ExpectMaximisedLayout("hotkey twice");
}

TEST_F(Frame, FullScreenHotkeyDoesNothingWhileAnotherWindowIsInFront) {
    HWND other = ::CreateWindowW(L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ::SetForegroundWindow(other);
    ASSERT_EQ(::GetForegroundWindow(), other);
    ::SendMessageW(hwnd, WM_HOTKEY, 3, 0);
    EXPECT_FALSE(frame.IsFullScreen());
    ::DestroyWindow(other);
}

TEST_F(Frame, EnterEscapeAndF5LeaveTheFrameAlone) {
    AttachFakeChild();
    HWND button = ::GetDlgItem(hwnd, IDC_FRAME_REFRESH);
    for (HWND target : {hwnd, button}) {
        ::SetFocus(target);
        for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_F5}) {
            ::PostMessageW(target, WM_KEYDOWN, key, 0x00010001);
            ::PostMessageW(target, WM_KEYUP, key, 0xC0010001);
        }
        Pump();
    }
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    ExpectMaximisedLayout("after the keys");
    EXPECT_TRUE(child.received.empty()) << "F5 on the frame does not reload the game";

    // Escape never reaches the dialog manager, whose cancel would leave full screen.
    Command(hwnd, IDC_FRAME_FULLSCREEN);
    ASSERT_TRUE(frame.IsFullScreen());
    ::SetFocus(hwnd);
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageW(hwnd, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    Pump();
    EXPECT_TRUE(frame.IsFullScreen()) << "Escape leaves full screen alone";
}

TEST_F(Frame, RefreshReachesTheGameWindowOnlyOnceItHasAnnouncedItself) {
    Command(hwnd, IDC_FRAME_REFRESH);
    Pump();
    AttachFakeChild();
    EXPECT_EQ(frame.GameWindow(), child.Handle());
    EXPECT_EQ(::SendMessageW(hwnd, WM_SET_GAME_WINDOW, reinterpret_cast<WPARAM>(child.Handle()), 0), 0);
    EXPECT_EQ(child.Count(WM_RELOAD_GAME), 0);
    Command(hwnd, IDC_FRAME_REFRESH);
    Pump();
    EXPECT_EQ(child.Count(WM_RELOAD_GAME), 1);
    // A size change tells the child how much to cover.
    child.received.clear();
    ::SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
    EXPECT_EQ(child.Fits(), std::vector<WPARAM>({0}));
}

TEST_F(Frame, ExitAsksFirstAndCancelChangesNothing) {
    AttachFakeChild();
    for (int id : {IDC_FRAME_CLOSE, ID_TRAY_EXIT}) {
        BoxAnswer asked = CommandAndAnswer(hwnd, id, IDCANCEL);
        ASSERT_TRUE(asked.seen) << id;
        EXPECT_EQ(asked.caption, L"关闭提示");
        EXPECT_EQ(asked.message, L"是否退出《Quellmoor》登录器？");
        EXPECT_TRUE(asked.frameDisabled) << "the frame waits behind the box";
        EXPECT_TRUE(::IsWindow(hwnd));
        EXPECT_TRUE(::IsWindowEnabled(hwnd));
        EXPECT_TRUE(frame.Tray().IsAdded()) << "Cancel keeps the icon";
        EXPECT_EQ(child.Count(WM_CLOSE), 0);
    }
    ExpectMaximisedLayout("after Cancel");

    BoxAnswer asked = CommandAndAnswer(hwnd, IDC_FRAME_CLOSE, IDOK);
    ASSERT_TRUE(asked.seen);
    EXPECT_FALSE(frame.Tray().IsAdded());
    EXPECT_EQ(child.Count(WM_CLOSE), 1);
    EXPECT_FALSE(::IsWindow(hwnd)) << "the frame ends";
    EXPECT_EQ(frame.newInstances, 0);
}

TEST_F(Frame, ServerSwitchAsksFirstThenStartsAFreshInstance) {
    AttachFakeChild();
    BoxAnswer asked = CommandAndAnswer(hwnd, IDC_FRAME_SELECTSERVER, IDCANCEL);
    ASSERT_TRUE(asked.seen);
    EXPECT_EQ(asked.caption, L"选服");
    EXPECT_EQ(asked.message, L"是否退出当前区服，重新选择新区服？");
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_EQ(frame.newInstances, 0);
    EXPECT_EQ(child.Count(WM_CLOSE), 0);

    asked = CommandAndAnswer(hwnd, IDC_FRAME_SELECTSERVER, IDOK);
    EXPECT_EQ(frame.newInstances, 1);
    EXPECT_EQ(child.Count(WM_CLOSE), 1);
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(Frame, SystemCloseAsksAndDecliningLeavesFullScreen) {
    Command(hwnd, IDC_FRAME_FULLSCREEN);
    BoxAnswer pending;
    pending.frame = hwnd;
    g_pending = &pending;
    ::SetTimer(nullptr, 0, 100, &AnswerBox);
    ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    g_pending = nullptr;
    Pump();
    EXPECT_TRUE(pending.seen);
    EXPECT_TRUE(::IsWindow(hwnd));
    // The dialog manager turns the close into command 2, which leaves full screen.
    EXPECT_FALSE(frame.IsFullScreen());
    ExpectMaximisedLayout("declined close");
}

TEST_F(Frame, ClearCacheShowsTheMaskOverTheFrameUntilTheWorkerReports) {
    for (int id : {IDC_FRAME_CLEARCACHE, ID_TRAY_CLEARCACHE}) {
        Command(hwnd, id);
        HWND mask = frame.Mask()->GetSafeHwnd();
        EXPECT_TRUE(::IsWindowVisible(mask)) << id;
        RECT over = WindowRect(mask), under = WindowRect(hwnd);
        EXPECT_TRUE(::EqualRect(&over, &under)) << id;
        if (id == IDC_FRAME_CLEARCACHE) {
            ::UpdateWindow(mask);
            test::SaveScreenshot(hwnd, L"frame-clearing-cache.png");
        }
        for (int i = 0; i < 20 && ::IsWindowVisible(mask); ++i) Pump();
        EXPECT_FALSE(::IsWindowVisible(mask)) << "command 10002 hides it again";
    }
}

// Finds the tray menu while it is open, notes where it is, and closes it.
RECT g_menuRect{};
bool g_menuSeen = false;
void CALLBACK ReadMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (!menu || !::IsWindowVisible(menu)) return;
    ::KillTimer(nullptr, id);
    g_menuSeen = true;
    ::GetWindowRect(menu, &g_menuRect);
    ::EndMenu();
}

TEST_F(Frame, TrayIconClicksAndItsMenu) {
    // Right button up: the menu, its left edge 130 pixels left of the pointer.
    ::SetCursorPos(600, 500);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    g_menuSeen = false;
    ::SetTimer(nullptr, 0, 100, &ReadMenu);
    ::SendMessageW(hwnd, WM_TRAY_NOTIFY, 0, WM_RBUTTONUP);
    ASSERT_TRUE(g_menuSeen);
    EXPECT_EQ(g_menuRect.left, cursor.x - 130);
    EXPECT_EQ(g_menuRect.top, cursor.y);

    // Left button down: a hidden frame comes back and to the front.
    Command(hwnd, IDC_FRAME_BOSSKEY);
    ::SendMessageW(hwnd, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_EQ(::GetForegroundWindow(), hwnd);
    // A minimised frame stays minimised.
    Command(hwnd, IDC_FRAME_MINIMIZE);
    ::SendMessageW(hwnd, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(::IsIconic(hwnd));
    ::SendMessageW(hwnd, WM_HOTKEY, 2, 0);
    // Other mouse messages do nothing.
    for (UINT mouse : {WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONDOWN})
        EXPECT_EQ(::SendMessageW(hwnd, WM_TRAY_NOTIFY, 0, mouse), 0);
    ExpectMaximisedLayout("after the other clicks");

    // The menu's first item shows and hides the frame.
    Command(hwnd, ID_TRAY_TOGGLE);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    Command(hwnd, ID_TRAY_TOGGLE);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
}

TEST_F(Frame, TrayIconComesBackWhenTheShellRecreatesTheNotificationArea) {
    NOTIFYICONDATAW record = frame.Tray().Record();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &record)) << "as a restarting shell loses it";
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &record));
    ::SendMessageW(hwnd, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &record)) << "added again";
}

TEST_F(Frame, HotkeysAreRegisteredFromTheSettingsFile) {
    // The frame holds the two combinations: nobody else can have them.
    HWND other = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(::RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT, VK_F10));
    EXPECT_FALSE(::RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, VK_F11));
    EXPECT_TRUE(::RegisterHotKey(other, 3, MOD_CONTROL | MOD_ALT, VK_F9)) << "a combination nobody holds";
    ::UnregisterHotKey(other, 3);
    ::DestroyWindow(other);
}

TEST(FrameHotkeys, AnEmptyOrMissingSettingRegistersNothing) {
    const char* files[] = {
        "[Setting]\r\nscreentoggle=\r\nfullscreen=Ctrl+Alt+Q\r\n",  // empty
        "[Setting]\r\nfullscreen=Ctrl+Alt+Q\r\n",                     // missing
    };
    for (const char* file : files) {
        test::RemoveTree(GetDataFolder());
        ::SHCreateDirectoryExW(nullptr, (GetDataFolder() + L"res").c_str(), nullptr);
        test::WriteAllBytes(GetSettingsPath(), file);
        TestFrame frame;
        ASSERT_TRUE(frame.Create());
        HWND other = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        EXPECT_FALSE(::RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT, 'Q')) << file;
        // The boss key takes nothing: the digit 0 stays free for other programs.
        EXPECT_TRUE(::RegisterHotKey(other, 2, 0, '0')) << file;
        ::UnregisterHotKey(other, 2);
        ::DestroyWindow(other);
    }
    test::RemoveTree(GetDataFolder());
}

}  // namespace
}  // namespace qm

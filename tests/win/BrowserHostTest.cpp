#include <gtest/gtest.h>
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>
#include <wininet.h>

#include <functional>
#include <string>
#include <vector>

#include "PortalSupport.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "login/BrowserHost.h"

namespace qm {
namespace {

// The login form with its two outward seams recorded instead of run.
class TestForm : public WebFormLogin {
public:
    int updateRuns = 0;
    std::vector<std::wstring> externalOpens;
    SIZE pageSizeDuringUpdate{-1, -1};  // the page window while the update check runs
    std::function<void()> duringUpdate;

protected:
    void RunUpdateDriver() override {
        ++updateRuns;
        if (duringUpdate) duringUpdate();
        RECT rc{};
        if (HWND page = FindBrowserWindow(); page && ::GetWindowRect(page, &rc))
            pageSizeDuringUpdate = SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    void OpenInExternalBrowser(const std::wstring& url) override { externalOpens.push_back(url); }
};

// A host window that notes each navigation notice with the address it carries.
class NoticeWindow {
public:
    NoticeWindow()
        : m_hwnd(test::CreateTestWindow(L"QmNoticeWindow", &NoticeWindow::Proc, WS_POPUP | WS_VISIBLE,
                                        RECT{50, 50, 450, 350}, this)) {}
    ~NoticeWindow() { ::DestroyWindow(m_hwnd); }
    HWND Handle() const { return m_hwnd; }
    std::vector<std::wstring> notices;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<NoticeWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_COMMAND && LOWORD(wParam) == WebFormLogin::kNavigationNotice) {
            self->notices.push_back(LastNavigationAddress());
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND m_hwnd = nullptr;
};

// The parameters of one event, built as the control builds them: in
// reverse order, the address as a BSTR inside a VARIANT passed by reference.
class EventArgs {
public:
    ~EventArgs() {
        for (VARIANT& v : m_inner) ::VariantClear(&v);
    }
    // BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
    DISPPARAMS* BeforeNavigate2(const wchar_t* url) {
        Reset(7);
        Inner(0, url);
        m_args[5].vt = VT_BYREF | VT_VARIANT;
        m_args[5].pvarVal = &m_inner[0];
        CancelAt(0);
        return &m_params;
    }
    // DocumentComplete(pDisp, URL)
    DISPPARAMS* DocumentComplete(const wchar_t* url) {
        Reset(2);
        Inner(0, url);
        m_args[0].vt = VT_BYREF | VT_VARIANT;
        m_args[0].pvarVal = &m_inner[0];
        return &m_params;
    }
    // NewWindow2(ppDisp, Cancel)
    DISPPARAMS* NewWindow2() {
        Reset(2);
        CancelAt(0);
        return &m_params;
    }
    // NewWindow3(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl)
    DISPPARAMS* NewWindow3(const wchar_t* url) {
        Reset(5);
        Inner(0, url);
        m_args[0] = m_inner[0];  // a plain BSTR; the inner VARIANT keeps ownership
        CancelAt(3);
        return &m_params;
    }
    VARIANT_BOOL cancel = VARIANT_FALSE;

private:
    void Reset(UINT count) {
        for (VARIANT& v : m_inner) ::VariantClear(&v);
        m_args.assign(count, VARIANT{});
        m_inner.assign(1, VARIANT{});
        m_params = DISPPARAMS{m_args.data(), nullptr, count, 0};
        cancel = VARIANT_FALSE;
    }
    void Inner(size_t i, const wchar_t* text) {
        m_inner[i].vt = VT_BSTR;
        m_inner[i].bstrVal = ::SysAllocString(text);
    }
    void CancelAt(size_t i) {
        m_args[i].vt = VT_BYREF | VT_BOOL;
        m_args[i].pboolVal = &cancel;
    }
    std::vector<VARIANT> m_args, m_inner;
    DISPPARAMS m_params{};
};

HRESULT Fire(CWebBrowserBase& host, DISPID id, DISPPARAMS* params) {
    return host.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, nullptr, nullptr, nullptr);
}

class BrowserHost : public ::testing::Test {
protected:
    NoticeWindow host;
    TestForm form;
    EventArgs args;
    void SetUp() override { form.SetHostWindow(host.Handle()); }
};

TEST_F(BrowserHost, TheGameAddressIsCancelledAndEveryNavigationNotified) {
    struct Case {
        const wchar_t* url;
        bool cancelled;
    } cases[] = {
        {L"http://127.0.0.1:18127/games/qlmr/dlq/", false},
        {L"http://127.0.0.1:18127/games/qlmr/dlq/play.php?play_gamecode=qlmr&svname=x/", true},
        {L"http://127.0.0.1:18127/frame.html", false},
        {L"http://127.0.0.1:18127/PLAY.PHP?PLAY_GAMECODE=QLMR", false},  // the marker is case-sensitive
        {L"about:blankplay_gamecode", true},                               // anywhere in the address
    };
    std::vector<std::wstring> expected;
    for (const Case& c : cases) {
        EXPECT_EQ(Fire(form, DISPID_BEFORENAVIGATE2, args.BeforeNavigate2(c.url)), S_OK);
        EXPECT_EQ(args.cancel != VARIANT_FALSE, c.cancelled) << test::Utf8(c.url);
        if (c.cancelled) {
            EXPECT_EQ(args.cancel, VARIANT_TRUE);
        }
        expected.push_back(c.url);
    }
    EXPECT_EQ(host.notices, expected) << "each navigation, in order, with its own address";

    // Without a host window nothing is sent, but the marker is still cancelled.
    TestForm alone;
    EXPECT_EQ(Fire(alone, DISPID_BEFORENAVIGATE2, args.BeforeNavigate2(L"http://h/?play_gamecode=1")), S_OK);
    EXPECT_EQ(args.cancel, VARIANT_TRUE);
    EXPECT_EQ(host.notices.size(), expected.size());
}

TEST_F(BrowserHost, FirstDocumentRunsTheUpdateCheckOnceThenEachOneShowsThePage) {
    const RECT page{10, 20, 310, 220};
    form.SetPageRect(page);
    EXPECT_FALSE(form.UpdateStarted());
    EXPECT_EQ(Fire(form, DISPID_DOCUMENTCOMPLETE, args.DocumentComplete(L"http://h/frame.html")), S_OK);
    EXPECT_EQ(form.updateRuns, 1);
    EXPECT_TRUE(form.UpdateStarted());
    EXPECT_TRUE(::EqualRect(&form.PositionRect(), &page));
    form.SetBrowserRect(RECT{});
    EXPECT_EQ(Fire(form, DISPID_DOCUMENTCOMPLETE, args.DocumentComplete(L"http://h/")), S_OK);
    EXPECT_EQ(form.updateRuns, 1) << "a second document only resizes";
    EXPECT_TRUE(::EqualRect(&form.PositionRect(), &page));
}

// The check may pump messages while it downloads; a frame completing then
// must not start a second check.
TEST_F(BrowserHost, ADocumentCompletingDuringTheUpdateCheckDoesNotStartAnother) {
    EventArgs nested;
    form.duringUpdate = [&] { Fire(form, DISPID_DOCUMENTCOMPLETE, nested.DocumentComplete(L"http://h/frame.html")); };
    EXPECT_EQ(Fire(form, DISPID_DOCUMENTCOMPLETE, args.DocumentComplete(L"http://h/")), S_OK);
    EXPECT_EQ(form.updateRuns, 1);
}

TEST_F(BrowserHost, NewWindowsNeverOpenInsideTheLauncher) {
    EXPECT_EQ(Fire(form, DISPID_NEWWINDOW2, args.NewWindow2()), E_NOTIMPL);
    EXPECT_EQ(args.cancel, VARIANT_TRUE);
    EXPECT_TRUE(form.externalOpens.empty());

    EXPECT_EQ(Fire(form, DISPID_NEWWINDOW3, args.NewWindow3(L"http://www.vexo.com/news/")), S_OK);
    EXPECT_EQ(args.cancel, VARIANT_TRUE);
    ASSERT_EQ(form.externalOpens.size(), 1u);
    EXPECT_EQ(form.externalOpens[0], L"http://www.vexo.com/news/");

    EXPECT_EQ(Fire(form, 9999, nullptr), E_NOTIMPL) << "other events";
    EXPECT_EQ(Fire(form, DISPID_BEFORENAVIGATE2, nullptr), S_OK) << "missing parameters do no harm";
    EXPECT_TRUE(host.notices.size() == 1 && host.notices[0].empty());
}

TEST_F(BrowserHost, OneObjectFiveFacesOneCount) {
    const LONG before = form.RefCount();
    IUnknown* unknown = nullptr;
    ASSERT_EQ(form.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(static_cast<IDispatch*>(&form)));
    void* face = nullptr;
    ASSERT_EQ(form.QueryInterface(IID_IOleWindow, &face), S_OK);
    EXPECT_EQ(face, static_cast<IOleInPlaceSite*>(&form)) << "IOleWindow is the in-place site";
    ASSERT_EQ(form.QueryInterface(IID_IOleInPlaceUIWindow, &face), S_OK);
    EXPECT_EQ(face, static_cast<IOleInPlaceFrame*>(&form));
    ASSERT_EQ(form.QueryInterface(IID_IDocHostUIHandler, &face), S_OK);
    EXPECT_EQ(face, static_cast<IDocHostUIHandler*>(&form));
    ASSERT_EQ(form.QueryInterface(IID_IOleClientSite, &face), S_OK);
    EXPECT_EQ(face, static_cast<IOleClientSite*>(&form));
    EXPECT_EQ(form.RefCount(), before + 5) << "every face counts on one count";
    face = &form;
    EXPECT_EQ(form.QueryInterface(DIID_DWebBrowserEvents2, &face), E_NOINTERFACE);
    EXPECT_EQ(face, nullptr);
    for (int i = 0; i < 5; ++i) static_cast<IOleClientSite*>(&form)->Release();
    EXPECT_EQ(form.RefCount(), before);
}

TEST_F(BrowserHost, SiteAnswersAsTheControlExpects) {
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    info.dwFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_SCROLL_NO;
    info.dwDoubleClick = DOCHOSTUIDBLCLK_SHOWCODE;
    EXPECT_EQ(form.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_SCROLL_NO | 0x00200000));
    EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_SHOWCODE)) << "nothing else changes";

    IDispatch* external = reinterpret_cast<IDispatch*>(&form);
    EXPECT_EQ(form.GetExternal(&external), S_OK);
    EXPECT_EQ(external, nullptr) << "the page's external object is empty";
    CWebBrowserBase plain;
    EXPECT_EQ(plain.GetExternal(&external), E_NOTIMPL);

    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = reinterpret_cast<IOleInPlaceUIWindow*>(&form);
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    EXPECT_EQ(form.GetWindowContext(&frame, &document, &position, &clip, &frameInfo), S_OK);
    EXPECT_EQ(frame, static_cast<IOleInPlaceFrame*>(&form));
    frame->Release();
    EXPECT_EQ(document, nullptr);
    RECT client{};
    ::GetClientRect(host.Handle(), &client);
    EXPECT_TRUE(::EqualRect(&position, &client));
    EXPECT_TRUE(::EqualRect(&clip, &client));
    EXPECT_EQ(frameInfo.cb, sizeof(OLEINPLACEFRAMEINFO)) << "the size of the record in this build";
    EXPECT_EQ(frameInfo.hwndFrame, ::GetParent(host.Handle()));
    HWND window = nullptr;
    EXPECT_EQ(static_cast<IOleInPlaceSite*>(&form)->GetWindow(&window), S_OK);
    EXPECT_EQ(window, host.Handle());
    EXPECT_EQ(form.CanInPlaceActivate(), S_FALSE) << "before EmbedBrowser";
}

// The system's control on this machine: created, activated over the whole
// host window, and raising its navigation through our sink.
TEST_F(BrowserHost, RealControlEmbedsAndReportsItsNavigation) {
    ASSERT_TRUE(form.IsCreated());
    ASSERT_TRUE(form.EmbedBrowser());
    EXPECT_EQ(form.CanInPlaceActivate(), S_OK);
    RECT client{};
    ::GetClientRect(host.Handle(), &client);
    EXPECT_TRUE(::EqualRect(&form.PositionRect(), &client)) << "an empty rectangle becomes the whole client area";
    EXPECT_TRUE(form.EmbedBrowser()) << "a second call changes nothing";
    ASSERT_NE(form.GetWebBrowser(), nullptr);
    EXPECT_EQ(form.GetWebBrowser(), form.GetWebBrowser()) << "kept after the first use";

    EXPECT_TRUE(form.SetBrowserRect(RECT{}));
    BSTR url = ::SysAllocString(L"http://127.0.0.1:9/unreachable/");
    EXPECT_TRUE(form.Navigate(url));
    ::SysFreeString(url);
    EXPECT_EQ(form.CurrentUrl(), L"http://127.0.0.1:9/unreachable/");
    for (int i = 0; i < 50 && host.notices.empty(); ++i) test::Pump();
    ASSERT_FALSE(host.notices.empty());
    EXPECT_EQ(host.notices[0], L"http://127.0.0.1:9/unreachable/");
}

// Over the stand-in control and the development portal, as the login popup
// uses the host: a page rectangle, the login address, then the empty
// rectangle that keeps the page hidden while it loads.
class BrowserHostOverPortal : public BrowserHost {
protected:
    void SetUp() override {
        BrowserHost::SetUp();
        base = test::PortalBase();
        if (base.empty()) GTEST_SKIP() << "no development portal (QM_PORTAL_DIR)";
        ASSERT_TRUE(form.EmbedBrowser());
        form.SetPageRect(kPage);
        logged = test::PortalRequests().size();
        standInLogged = test::StandInLog().size();
    }
    bool Load(const std::wstring& url) {
        BSTR address = ::SysAllocString(url.c_str());
        const bool started = form.Navigate(address);
        ::SysFreeString(address);
        form.SetBrowserRect(RECT{});
        return started;
    }
    SIZE PageSize() {
        RECT rc{};
        HWND page = form.FindBrowserWindow();
        if (!page || !::GetWindowRect(page, &rc)) return SIZE{-1, -1};
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    // Whether the portal served the game page since the test began, after a
    // moment for a wrongly loaded one to reach it.
    bool GamePageRequested() {
        for (int i = 0; i < 20; ++i) test::Pump();
        return !test::WaitForRequests(logged, 1, [](const test::PortalRequest& r) {
                    return r.path == "/games/qlmr/dlq/play.php";
                }, 0).empty();
    }
    void WaitForFirstDocument() {
        for (int i = 0; i < 400 && form.updateRuns == 0; ++i) test::Pump();
    }
    static constexpr RECT kPage{10, 20, 330, 260};
    std::wstring base;
    size_t logged = 0;         // portal requests before the test
    size_t standInLogged = 0;  // stand-in log entries before the test
};

TEST_F(BrowserHostOverPortal, PageStaysHiddenUntilItsFirstDocumentHasLoaded) {
    const std::wstring url = base + L"/games/qlmr/dlq/";
    ASSERT_TRUE(Load(url));
    ASSERT_NE(form.FindBrowserWindow(), nullptr) << "the stand-in's page window";
    EXPECT_EQ(PageSize().cx, 0) << "hidden while the page loads";
    EXPECT_EQ(PageSize().cy, 0);
    WaitForFirstDocument();
    ASSERT_EQ(form.updateRuns, 1);
    EXPECT_EQ(form.pageSizeDuringUpdate.cx, 0) << "still hidden while the update check runs";
    EXPECT_EQ(form.pageSizeDuringUpdate.cy, 0);
    EXPECT_EQ(PageSize().cx, kPage.right - kPage.left) << "shown in the page rectangle afterwards";
    EXPECT_EQ(PageSize().cy, kPage.bottom - kPage.top);
    ASSERT_FALSE(host.notices.empty());
    EXPECT_EQ(host.notices[0], url);
    const auto fetched = test::WaitForRequests(logged, 1, [](const test::PortalRequest& r) {
        return r.path == "/games/qlmr/dlq/";
    });
    EXPECT_EQ(fetched.size(), 1u) << "the portal served the sign-in page";
    test::SaveScreenshot(host.Handle(), L"login-standin.png");
}

TEST_F(BrowserHostOverPortal, GameAddressInAFrameIsCancelledAndReported) {
    const std::wstring url = base + L"/games/qlmr/dlq/framed";
    ASSERT_TRUE(Load(url));
    WaitForFirstDocument();
    ASSERT_EQ(form.updateRuns, 1);
    ASSERT_EQ(host.notices.size(), 2u) << "the page, then its frame";
    EXPECT_EQ(host.notices[0], url);
    const std::wstring frame = host.notices[1];
    EXPECT_EQ(frame.rfind(base + L"/games/qlmr/dlq/play.php?play_gamecode=qlmr&svname=", 0), 0u) << test::Utf8(frame);

    bool cancelled = false;
    const auto log = test::StandInLog();
    for (size_t i = standInLogged; i < log.size(); ++i)
        if (log[i].size() >= 2 && log[i][0] == L"cancelled" && log[i][1] == frame) cancelled = true;
    EXPECT_TRUE(cancelled) << "the control was told not to load the frame";
    EXPECT_FALSE(GamePageRequested()) << "the game page was never requested";
}

// The road from sign-in to game: the portal's answer sets the session cookie
// and leads on by a meta refresh to the game address, which the form stops.
TEST_F(BrowserHostOverPortal, SignInLeadsOnToTheGameAddressWhichIsStopped) {
    const std::wstring login = base + L"/games/qlmr/dlq/login?account=road&password=pw";
    ASSERT_TRUE(Load(login));
    for (int i = 0; i < 400 && host.notices.size() < 2; ++i) test::Pump();
    ASSERT_EQ(host.notices.size(), 2u);
    EXPECT_EQ(host.notices[0], login);
    EXPECT_NE(host.notices[1].find(L"play_gamecode"), std::wstring::npos) << test::Utf8(host.notices[1]);
    EXPECT_EQ(host.notices[1].rfind(base + L"/games/qlmr/dlq/play.php?", 0), 0u) << "a full address";
    EXPECT_EQ(form.updateRuns, 1) << "the answer page completed once";

    wchar_t cookies[2048] = {};
    DWORD size = ARRAYSIZE(cookies);
    ASSERT_TRUE(::InternetGetCookieW((base + L"/games/qlmr/dlq/").c_str(), nullptr, cookies, &size));
    EXPECT_NE(std::wstring(cookies).find(L"qlmr_session="), std::wstring::npos) << "the store holds the session";
    EXPECT_FALSE(GamePageRequested()) << "the game page is left to the frame";
}

TEST(BrowserHostNotActivated, StoresTheRectangleAndHasNoInnerWindow) {
    CWebBrowserBase plain;
    const RECT r{1, 2, 3, 4};
    EXPECT_TRUE(plain.SetBrowserRect(r)) << "outside in-place activation it only stores";
    EXPECT_TRUE(::EqualRect(&plain.PositionRect(), &r));
    EXPECT_EQ(plain.FindBrowserWindow(), nullptr) << "not activated: no inner window";
}

}  // namespace
}  // namespace qm

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "TestDialogs.h"
#include "TestSupport.h"
#include "launcher_page.h"
#include "res/resource.h"
#include "win/App.h"
#include "win/Control.h"
#include "win/Dialog.h"
#include "win/Error.h"
#include "win/Handles.h"
#include "win/Strings.h"

namespace qm::win {
namespace {

TEST(LoadStr, TheStringTableOfTheLauncher) {
    struct Case {
        UINT id;
        const wchar_t* text;
    } cases[] = {
        {102, L"Quellmoor"},
        {105, L"vexo"},
        {106, L""},  // no entry: an empty text, not an error
        {107, L"Quellmoor登录器"},
        {109, L"卸载-Quellmoor"},
        {114, QM_LAUNCHER_PAGE_W},
        {116, L"缓存清理中，请稍后……"},
        {117, L"qlmr"},
        {118, L"\\kelqlmrtmp.exe"},
        {119, L"\\ dunwel\\"},
        {120, L"\\cache\\kelqlmrtmpu.exe"},
        {124, L"vexo"},
        {125, L"vexo"},
        {191, QM_LAUNCHER_PAGE_W},
        {192, L"getClientVersion.php?p=vexo&g=qlmr&v="},
        {197, L"res//systemset.ini"},
        {9999, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(LoadStr(c.id), c.text) << c.id << ": " << test::Utf8(LoadStr(c.id));
}

TEST(CWinError, CarriesTheSystemsDescriptionCut) {
    CWinError error(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(error.Code(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(error.Description().empty());
    EXPECT_NE(error.Description().back(), L'\n');
    CWinError longContext(ERROR_ACCESS_DENIED, std::wstring(400, L'c'));
    EXPECT_EQ(longContext.Description().size(), 254u);
    ::SetLastError(ERROR_PATH_NOT_FOUND);
    try {
        ThrowLastError(L"open");
        ADD_FAILURE() << "ThrowLastError returned";
    } catch (const CWinError& e) {
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
        EXPECT_EQ(e.Description().rfind(L"open: ", 0), 0u);
    }
}

class TestApp : public CWinAppBase {};

TEST(ApplicationProfile, SectionsAreSubkeysOfTheApplicationsKey) {
    TestApp app;
    EXPECT_EQ(app.AppName(), L"qm_win_tests") << "the file name without its extension";
    EXPECT_EQ(app.GetProfileString(L"vexoQuellmoor", L"Path", L"none"), L"none") << "no key set yet";
    EXPECT_FALSE(app.WriteProfileString(L"vexoQuellmoor", L"Path", L"x"));

    app.SetRegistryKey(L"vexoQuellmoorTest");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\vexoQuellmoorTest");
    EXPECT_EQ(app.GetProfileString(L"vexoQuellmoor", L"Path", L"none"), L"none");
    const std::wstring path = L"C:\\users\\p\\AppData\\Roaming\\vexo\\qlmr\\Quellmoor.exe";
    ASSERT_TRUE(app.WriteProfileString(L"vexoQuellmoor", L"Path", path));
    ASSERT_TRUE(app.WriteProfileString(L"vexoQuellmoor", L"DisplayName", L"Quellmoor登录器"));
    EXPECT_EQ(app.GetProfileString(L"vexoQuellmoor", L"Path"), path);
    EXPECT_EQ(app.GetProfileString(L"VEXOQUELLMOOR", L"displayname"), L"Quellmoor登录器");

    // Read back past the framework, where the installer's check will look.
    wchar_t value[MAX_PATH] = {};
    DWORD bytes = sizeof(value);
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\vexoQuellmoorTest\\qm_win_tests\\vexoQuellmoor", L"Path",
                             RRF_RT_REG_SZ, nullptr, value, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value), path);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\vexoQuellmoorTest");
}

constexpr UINT WM_TEST_STEP = WM_APP + 1;

// Records what its modal loop lets it see, and in which order.
class RecordingDialog : public CDialogBase {
public:
    explicit RecordingDialog(UINT id = IDD_TEST_DIALOG) : CDialogBase(id) {}
    bool swallowEscape = false;
    std::vector<std::string> seen;

protected:
    BOOL OnInitDialog() override {
        seen.push_back("init");
        // Keys go to the focused child; the dialog must see them first.
        HWND edit = ::GetDlgItem(m_hWnd, IDC_TEST_EDIT);
        ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        ::PostMessageW(m_hWnd, WM_TEST_STEP, 0, 0);
        return TRUE;
    }
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            seen.push_back("pretranslate-escape");
            if (swallowEscape) return true;
        }
        return CDialogBase::PreTranslateMessage(msg);
    }
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        if (msg != WM_TEST_STEP) return false;
        seen.push_back("step");
        EndDialog(42);
        result = 0;
        return true;
    }
    void OnCancel() override {
        seen.push_back("cancel");
        CDialogBase::OnCancel();
    }
};

TEST(ModalDialog, PreTranslateMessageSeesKeysBeforeTheDialogManager) {
    RecordingDialog dialog;
    dialog.swallowEscape = true;
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"init", "pretranslate-escape", "step"}));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << "the window is gone after the modal run";
}

TEST(ModalDialog, UnhandledEscapeReachesTheDialogManagerAsCancel) {
    RecordingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"init", "pretranslate-escape", "cancel"}));
}

TEST(ModalDialog, MissingTemplateGivesMinusOne) {
    RecordingDialog dialog(IDD_MISSING);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(dialog.seen.empty());
}

TEST(ModalDialog, OwnerIsDisabledWhileItRunsAndEnabledAfter) {
    class OwnerCheck : public CDialogBase {
    public:
        explicit OwnerCheck(HWND owner) : CDialogBase(IDD_TEST_DIALOG, owner), m_owner(owner) {}
        bool ownerEnabledDuring = true;

    protected:
        BOOL OnInitDialog() override {
            ::PostMessageW(m_hWnd, WM_TEST_STEP, 0, 0);
            return TRUE;
        }
        bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) override {
            if (msg != WM_TEST_STEP) return false;
            ownerEnabledDuring = ::IsWindowEnabled(m_owner) != FALSE;
            EndDialog(7);
            return true;
        }
        HWND m_owner;
    };
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    OwnerCheck dialog(owner);
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_FALSE(dialog.ownerEnabledDuring);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST(ModelessDialog, LivesUntilEndedAndTellsWhenItIsGone) {
    class Modeless : public CDialogBase {
    public:
        Modeless() : CDialogBase(IDD_TEST_DIALOG) {}
        bool gone = false;

    protected:
        void PostNcDestroy() override { gone = true; }
    };
    Modeless dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hwnd));
    EXPECT_EQ(CWindow::FromHandle(hwnd), &dialog);
    EXPECT_EQ(CWindow::FromHandle(::GetDlgItem(hwnd, IDOK)), nullptr) << "a plain control is nobody's object";
    // Escape in a modeless dialog: the dialog manager cancels, the base destroys.
    ::SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(dialog.gone);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(SubclassedControl, SeesTheControlsMessagesFirstAndLetsTheRestThrough) {
    class Edit : public CSubclassedControl {
    public:
        int setTextCalls = 0;

    protected:
        bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
            if (msg == WM_SETTEXT) {
                ++setTextCalls;
                // Change the text on its way to the control's own procedure.
                result = DefaultProc(msg, wParam, reinterpret_cast<LPARAM>(L"seen"));
                return true;
            }
            (void)lParam;
            return false;
        }
    };
    class Host : public CDialogBase {
    public:
        Host() : CDialogBase(IDD_TEST_DIALOG) {}
        Edit edit;

    protected:
        BOOL OnInitDialog() override { return edit.SubclassDlgItem(IDC_TEST_EDIT, m_hWnd); }
    };
    Host host;
    ASSERT_TRUE(host.Create());
    HWND editWnd = ::GetDlgItem(host.GetSafeHwnd(), IDC_TEST_EDIT);
    EXPECT_EQ(CWindow::FromHandle(editWnd), &host.edit);
    EXPECT_FALSE(host.edit.SubclassWindow(editWnd)) << "taken over once only";
    ::SetWindowTextW(editWnd, L"typed");
    wchar_t text[32] = {};
    ::GetWindowTextW(editWnd, text, 32);
    EXPECT_EQ(host.edit.setTextCalls, 1);
    EXPECT_EQ(std::wstring(text), L"seen");

    ::DestroyWindow(host.GetSafeHwnd());
    EXPECT_EQ(host.edit.GetSafeHwnd(), nullptr) << "released when the control goes";
}

TEST(PreTranslateChain, OffersTheTargetFirstThenItsParentsUntilOneHandles) {
    static std::vector<std::string> log;
    class Edit : public CSubclassedControl {
    public:
        bool handle = false;
        bool PreTranslateMessage(MSG&) override {
            log.push_back("control");
            return handle;
        }
    };
    class Host : public CDialogBase {
    public:
        Host() : CDialogBase(IDD_TEST_DIALOG) {}
        Edit edit;
        bool PreTranslateMessage(MSG&) override {
            log.push_back("dialog");
            return false;
        }

    protected:
        BOOL OnInitDialog() override { return edit.SubclassDlgItem(IDC_TEST_EDIT, m_hWnd); }
    };
    Host host;
    ASSERT_TRUE(host.Create());
    MSG msg{::GetDlgItem(host.GetSafeHwnd(), IDC_TEST_EDIT), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    log.clear();
    EXPECT_FALSE(CWindow::PreTranslateChain(msg));
    EXPECT_EQ(log, (std::vector<std::string>{"control", "dialog"}));
    host.edit.handle = true;
    log.clear();
    EXPECT_TRUE(CWindow::PreTranslateChain(msg));
    EXPECT_EQ(log, (std::vector<std::string>{"control"}));
    // A window that is none of ours is passed over.
    msg.hwnd = ::GetDlgItem(host.GetSafeHwnd(), IDOK);
    log.clear();
    EXPECT_FALSE(CWindow::PreTranslateChain(msg));
    EXPECT_EQ(log, (std::vector<std::string>{"dialog"}));
    ::DestroyWindow(host.GetSafeHwnd());
}

TEST(ReflectedMessages, TheControlConcernedAnswersBeforeItsDialog) {
    static HBRUSH brush = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    class OwnerDrawn : public CSubclassedControl {
    public:
        int draws = 0;
        bool OnReflectedMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
            if (msg == WM_CTLCOLORBTN) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
            if (msg == WM_DRAWITEM) {
                ++draws;
                result = TRUE;
                return true;
            }
            return false;
        }
    };
    class Host : public CDialogBase {
    public:
        Host() : CDialogBase(IDD_TEST_DIALOG) {}
        OwnerDrawn button;
        int dialogDraws = 0, dialogColours = 0;

    protected:
        BOOL OnInitDialog() override { return button.SubclassDlgItem(IDC_TEST_OWNERDRAW, m_hWnd); }
        bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
            if (msg == WM_DRAWITEM) ++dialogDraws;
            if (msg == WM_CTLCOLORBTN) ++dialogColours;
            result = 0;
            return false;
        }
    };
    Host host;
    ASSERT_TRUE(host.Create());
    HWND dialog = host.GetSafeHwnd();
    HWND owned = ::GetDlgItem(dialog, IDC_TEST_OWNERDRAW);
    ::ShowWindow(dialog, SW_SHOWNOACTIVATE);
    ::RedrawWindow(owned, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(host.button.draws, 1) << "the paint of an owner-drawn button reaches its object";
    EXPECT_EQ(host.dialogDraws, 0);

    HDC dc = ::GetDC(owned);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(::SendMessageW(dialog, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(owned))),
              brush);
    int coloursBefore = host.dialogColours;
    // A control that is nobody's object leaves the message to the dialog.
    ::SendMessageW(dialog, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(host.dialogColours, coloursBefore + 1);
    ::ReleaseDC(owned, dc);
    ::DestroyWindow(dialog);
}

}  // namespace
}  // namespace qm::win

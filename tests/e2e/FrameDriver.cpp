// Starts the launcher as a player's shortcut would and drives its frame from
// outside, with window messages only, as another program on the desktop:
//   frame_driver.exe <Quellmoor.exe> [arguments...]
// Checks the maximised start-up, the game host's window below the title
// strip, restore and maximise, that Cancel in the exit confirmation keeps
// the frame, and that OK ends the process with exit code 0, and the game
// host with it. Saves a screenshot to $QM_SCREENSHOT_DIR/exe-frame.png. Exit code 0
// when everything held.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int g_failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    if (!ok) ++g_failures;
}

struct Found {
    DWORD process;
    HWND frame = nullptr;
    HWND box = nullptr;
};

// The frame (its title) and a visible confirmation box (a caption-less
// dialog of 256 × 109) among the process's top-level windows.
Found FindWindows(DWORD process) {
    Found found{process};
    ::EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Found*>(p);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner != f->process || !::IsWindowVisible(hwnd)) return TRUE;
            wchar_t cls[32] = {}, title[64] = {};
            ::GetClassNameW(hwnd, cls, 32);
            ::GetWindowTextW(hwnd, title, 64);
            if (std::wstring(cls) != L"#32770") return TRUE;
            RECT rc{};
            ::GetWindowRect(hwnd, &rc);
            if (std::wstring(title) == L"Quellmoor登录器") f->frame = hwnd;
            else if (rc.right - rc.left == 256 && rc.bottom - rc.top == 109) f->box = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

template <typename Ready>
bool WaitFor(Ready ready, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (ready()) return true;
        ::Sleep(50);
    }
    return ready();
}

RECT WindowRect(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

void SaveScreenshot(HWND hwnd, const char* name) {
    // A BMP: enough for people to look at, and needs nothing but GDI.
    const char* dir = std::getenv("QM_SCREENSHOT_DIR");
    if (!dir) return;
    RECT rc = WindowRect(hwnd);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    const DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
    std::string path = std::string(dir) + "/" + name;
    std::wstring wide = L"Z:";
    for (char c : path) wide += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size),
                                0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
        DWORD written = 0;
        ::WriteFile(file, &header, sizeof(header), &written, nullptr);
        ::WriteFile(file, &info.bmiHeader, sizeof(BITMAPINFOHEADER), &written, nullptr);
        ::WriteFile(file, bits, size, &written, nullptr);
        ::CloseHandle(file);
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("usage: frame_driver.exe Quellmoor.exe [arguments...]\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 2; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION launcher{};
    if (!::CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &launcher)) {
        std::printf("FAIL: cannot start the launcher (%lu)\n", ::GetLastError());
        return 1;
    }
    ::CloseHandle(launcher.hThread);
    const DWORD pid = launcher.dwProcessId;

    HWND frame = nullptr;
    Check(WaitFor([&] { return (frame = FindWindows(pid).frame) != nullptr; }, 30000), "the frame appears");
    if (!frame) {
        ::TerminateProcess(launcher.hProcess, 1);
        return 1;
    }
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    auto restoreShown = [&] { return ::IsWindowVisible(::GetDlgItem(frame, 1002)) != FALSE; };
    auto maximiseShown = [&] { return ::IsWindowVisible(::GetDlgItem(frame, 1008)) != FALSE; };
    auto covers = [&](const RECT& want) {
        RECT rc = WindowRect(frame);
        return ::EqualRect(&rc, &want) != FALSE;
    };
    Check(WaitFor([&] { return covers(area); }, 5000), "maximised to the work area");
    // The frame is on screen while its start-up still runs: wait for its end.
    Check(WaitFor([&] { return restoreShown() && !maximiseShown(); }, 5000),
          "restore button shown, maximise button hidden");
    Check((::GetWindowLongPtrW(frame, GWL_STYLE) & WS_CAPTION) == 0, "no caption");
    // The frame starts its game host: a child window from a second process.
    HWND game = nullptr;
    auto findGame = [&] {
        for (HWND child = ::GetWindow(frame, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(child, &owner);
            if (owner != pid) return (game = child) != nullptr;
        }
        return false;
    };
    Check(WaitFor(findGame, 15000), "the game host's window appears inside the frame");
    HANDLE gameProcess = nullptr;
    if (game) {
        DWORD gamePid = 0;
        ::GetWindowThreadProcessId(game, &gamePid);
        gameProcess = ::OpenProcess(SYNCHRONIZE, FALSE, gamePid);
        Check(WaitFor([&] {
                  RECT rc = WindowRect(game), frameRect = WindowRect(frame);
                  return rc.top == frameRect.top + 30 && rc.bottom == frameRect.bottom &&
                         rc.left == frameRect.left && rc.right == frameRect.right;
              }, 5000),
              "below the 30-pixel title strip");
    }
    ::Sleep(500);
    SaveScreenshot(frame, "exe-frame.bmp");

    ::PostMessageW(frame, WM_COMMAND, 1002, 0);
    Check(WaitFor([&] {
              RECT rc = WindowRect(frame);
              return rc.right - rc.left == 1000 && rc.bottom - rc.top == 700;
          }, 5000),
          "restore gives 1000 x 700");
    Check(WaitFor([&] { return maximiseShown() && !restoreShown(); }, 5000),
          "maximise button shown, restore button hidden");
    ::PostMessageW(frame, WM_COMMAND, 1008, 0);
    Check(WaitFor([&] { return covers(area); }, 5000), "maximise gives the work area again");
    if (game) {
        RECT rc = WindowRect(game);
        Check(rc.top == area.top + 30 && rc.right == area.right && rc.bottom == area.bottom,
              "the game window follows the frame");
    }
    // Keys go to the window with the focus, as typed.
    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_F5}) ::PostMessageW(frame, WM_KEYDOWN, key, 0x00010001);
    ::Sleep(500);
    Check(::IsWindowVisible(frame) && covers(area), "Enter, Escape and F5 leave the frame as it was");

    for (int answer : {IDCANCEL, IDOK}) {
        ::PostMessageW(frame, WM_COMMAND, 1001, 0);
        HWND box = nullptr;
        Check(WaitFor([&] { return (box = FindWindows(pid).box) != nullptr; }, 5000), "the exit confirmation shows");
        if (!box) break;
        Check(!::IsWindowEnabled(frame), "the frame waits behind it");
        if (answer == IDCANCEL) {
            ::Sleep(500);  // painted, and the game page's window settled behind it
            RECT rc = WindowRect(box);
            HDC screen = ::GetDC(nullptr);
            const COLORREF centre = ::GetPixel(screen, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
            ::ReleaseDC(nullptr, screen);
            Check(centre != RGB(255, 255, 255), "the confirmation shows in front of the game page");
            SaveScreenshot(frame, "exe-frame-exit-question.bmp");
        }
        ::PostMessageW(box, WM_COMMAND, answer, 0);
        if (answer == IDCANCEL) {
            Check(WaitFor([&] { return FindWindows(pid).box == nullptr; }, 5000), "Cancel closes the box");
            Check(::IsWindow(frame) && ::IsWindowVisible(frame) && covers(area), "Cancel keeps the frame");
        }
    }
    const bool ended = ::WaitForSingleObject(launcher.hProcess, 15000) == WAIT_OBJECT_0;
    DWORD code = 1;
    ::GetExitCodeProcess(launcher.hProcess, &code);
    Check(ended && code == 0, "OK ends the launcher with exit code 0");
    if (gameProcess) {
        Check(::WaitForSingleObject(gameProcess, 5000) == WAIT_OBJECT_0, "and its game host with it");
        ::CloseHandle(gameProcess);
    }
    if (!ended) ::TerminateProcess(launcher.hProcess, 1);
    ::CloseHandle(launcher.hProcess);
    return g_failures == 0 ? 0 : 1;
}

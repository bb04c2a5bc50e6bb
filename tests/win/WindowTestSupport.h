#pragma once
// Helpers of the tests that put real windows on the screen.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/MemDC.h"

namespace qm::test {

// Dispatches what is queued, through the framework's PreTranslateMessage
// chain as the program's own loops do, for a few short rounds.
void Pump();

// What a window's client area shows: its pixels read back from its own DC.
struct Capture {
    explicit Capture(HWND hwnd);
    COLORREF At(int x, int y) const { return ::GetPixel(bits->Dc(), x, y); }
    int width = 0, height = 0;
    std::unique_ptr<CMemoryBitmap> bits;
};

// A top-level window of the test, of a class of its own registered on first
// use, with `self` in GWLP_USERDATA for its procedure.
HWND CreateTestWindow(const wchar_t* className, WNDPROC proc, DWORD style, const RECT& rect, void* self = nullptr,
                      HBRUSH background = nullptr);

// True when two colours differ by at most `step` in every channel.
bool Near(COLORREF a, COLORREF b, int step);

// Saves what the screen shows of a window (frame included) as a PNG in
// $QM_SCREENSHOT_DIR, for people to look at; nothing when it is not set.
void SaveScreenshot(HWND hwnd, const std::wstring& name);
// The same for a picture the test has made itself.
void SavePicture(const CMemoryBitmap& picture, const std::wstring& name);
// What the screen shows of a window's rectangle, frame included.
std::unique_ptr<CMemoryBitmap> GrabScreen(HWND hwnd);

}  // namespace qm::test

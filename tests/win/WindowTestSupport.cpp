#include "WindowTestSupport.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <vector>

#include "win/Window.h"

namespace qm::test {

void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!win::CWindow::PreTranslateChain(msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        ::Sleep(20);
    }
}

HWND CreateTestWindow(const wchar_t* className, WNDPROC proc, DWORD style, const RECT& rect, void* self,
                      HBRUSH background) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ::RegisterClassW(&wc);  // fails harmlessly when it exists
    HWND hwnd = ::CreateWindowW(className, L"", style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return hwnd;
}

Capture::Capture(HWND hwnd) {
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    width = rc.right;
    height = rc.bottom;
    HDC dc = ::GetDC(hwnd);
    bits = std::make_unique<CMemoryBitmap>(dc, width, height);
    ::BitBlt(bits->Dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, dc);
}

bool Near(COLORREF a, COLORREF b, int step) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= step && std::abs(GetGValue(a) - GetGValue(b)) <= step &&
           std::abs(GetBValue(a) - GetBValue(b)) <= step;
}

std::unique_ptr<CMemoryBitmap> GrabScreen(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    HDC screen = ::GetDC(nullptr);
    auto shot = std::make_unique<CMemoryBitmap>(screen, rc.right - rc.left, rc.bottom - rc.top);
    ::BitBlt(shot->Dc(), 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen, rc.left, rc.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    return shot;
}

void SavePicture(const CMemoryBitmap& picture, const std::wstring& name) {
    const char* dir = std::getenv("QM_SCREENSHOT_DIR");
    if (!dir) return;
    HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(picture.Dc(), OBJ_BITMAP));
    Gdiplus::Bitmap image(bitmap, nullptr);
    UINT count = 0, bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<unsigned char> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, encoders);
    std::wstring path = L"Z:";
    for (const char* p = dir; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    ::CreateDirectoryW(path.c_str(), nullptr);
    path += L"\\" + name;
    for (UINT i = 0; i < count; ++i)
        if (std::wstring(encoders[i].MimeType) == L"image/png") image.Save(path.c_str(), &encoders[i].Clsid, nullptr);
}

void SaveScreenshot(HWND hwnd, const std::wstring& name) {
    if (std::getenv("QM_SCREENSHOT_DIR")) SavePicture(*GrabScreen(hwnd), name);
}

}  // namespace qm::test

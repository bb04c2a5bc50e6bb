#pragma once
// The dark, slightly see-through overlay the frame lays over itself while the
// browser cache is cleared: a four-frame spinner and a short notice.
#include <array>
#include <memory>

#include "ui/Images.h"
#include "win/Dialog.h"

namespace qm {

class CMenbanDlg : public win::CDialogBase {
public:
    // The owner drives the spinner with this timer on the mask window.
    static constexpr UINT_PTR kSpinnerTimer = 5000;
    static constexpr UINT kSpinnerInterval = 200;  // ms
    static constexpr BYTE kAlpha = 229;
    static constexpr int kSpinnerLift = 40;  // pixels above the centre

    explicit CMenbanDlg(HWND parent = nullptr);
    ~CMenbanDlg() override;

    // The frame number the next tick shows (1 to 4).
    int FrameNumber() const noexcept { return m_nFrame; }
    // Where the spinner's current frame is drawn, in client coordinates.
    RECT SpinnerRect() const;

protected:
    BOOL OnInitDialog() override;
    // WM_ERASEBKGND (nothing: the paint covers all), WM_TIMER, WM_PAINT.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnTimer(UINT_PTR id);
    void Paint(HDC dc, const RECT& client);

    std::unique_ptr<CPngImage> m_pBackground;
    std::array<std::unique_ptr<CPngImage>, 4> m_frames;
    CPngImage* m_pCurrentFrame = nullptr;
    int m_nFrame = 1;
};

}  // namespace qm

#pragma once
// The launcher's image push button: three pictures (normal, hover, pressed),
// each composed once over the parent's pixels beneath the button, the hand
// cursor, and an optional tooltip. A paint is one block copy of a cache.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/Images.h"
#include "ui/MemDC.h"
#include "win/Control.h"
#include "win/Handles.h"

namespace qm {

class CTouchButton : public win::CSubclassedControl {
public:
    CTouchButton();
    ~CTouchButton() override;

    // Loads the three pictures (hover first); true when the hover picture
    // loaded. Call before the first paint: the caches are built once.
    bool SetImages(UINT normalId, UINT hoverId, UINT pressedId);
    // An empty text leaves the button without a tooltip.
    void SetTooltipText(const std::wstring& text, bool activate = true);

    bool HasTooltip() const noexcept { return static_cast<bool>(m_tooltip); }
    HWND TooltipWindow() const noexcept { return m_tooltip.Get(); }
    bool IsHovering() const noexcept { return m_bHover != 0; }

    // Double clicks become presses, so two quick clicks are two commands;
    // mouse messages are relayed to the tooltip.
    bool PreTranslateMessage(MSG& msg) override;

protected:
    void PreSubclassWindow() override;
    // WM_CTLCOLORBTN (prepare) and WM_DRAWITEM (draw) from the parent.
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // WM_ERASEBKGND, WM_MOUSEMOVE, WM_MOUSEHOVER, WM_MOUSELEAVE, WM_SETCURSOR.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Prepare(HDC target);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void OnMouseHover();
    void OnMouseLeave();

    int m_bPrepared = 0;
    int m_bHover = 0;
    int m_bTracking = 0;
    std::unique_ptr<CGdiPlusBitmapResource> m_pHoverImage;
    std::unique_ptr<CGdiPlusBitmapResource> m_pNormalImage;
    std::unique_ptr<CGdiPlusBitmapResource> m_pPressedImage;
    std::wstring m_strTooltip;
    win::UniqueWindow m_tooltip;
    std::unique_ptr<CMemoryBitmap> m_background;
    std::unique_ptr<CMemoryBitmap> m_normal, m_pressed, m_hover;
    CMemoryBitmap* m_pCurrent = nullptr;
};

}  // namespace qm

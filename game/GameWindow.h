#pragma once
// The child game host's window: a borderless child dialog of the frame (a
// window of another process) showing the game page in its view. The frame
// drives it with WM_FIT_GAME_WINDOW, WM_RELOAD_GAME and WM_CLOSE; it ends by
// itself when the frame window is gone.
#include <windows.h>

#include <memory>
#include <string>

#include "game/GameView.h"
#include "win/Dialog.h"

namespace qm {

class CGameWndDlg : public win::CDialogBase {
public:
    CGameWndDlg(HWND frameWnd, std::wstring gameUrl);
    ~CGameWndDlg() override;

    // Escape and Enter reach the page untranslated; F5 reloads the game address.
    bool PreTranslateMessage(MSG& msg) override;

    CMyHtmlView* View() const noexcept { return m_pView.get(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    // WM_CLOSE, WM_MOUSEACTIVATE and WM_TIMER (the platform's own handling),
    // WM_SIZE, WM_RELOAD_GAME, WM_FIT_GAME_WINDOW.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Ends the process once the frame window is gone (on its own thread).
    virtual void StartFrameWatcher();

private:
    // Given the two handles it watches and posts to, never the dialog itself.
    static DWORD WINAPI WatchFrameThread(LPVOID windows);
    void Reload();
    void FitToFrame(bool wholeClient, bool repaint);
    void SizeViewToClient();

    std::unique_ptr<CMyHtmlView> m_pView;
    HWND m_hFrameWnd;
    std::wstring m_strGameUrl;
};

}  // namespace qm

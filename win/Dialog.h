#pragma once
// Dialogs built from numeric templates in the executable's resources.
//
// Modal: DoModal runs the program's own loop, so that PreTranslateMessage of
// the target window and its parents sees every message (keys included)
// before the dialog manager does. Modeless: Create, and the window lives until
// it is destroyed. A derived class answers messages in OnMessage.
#include <windows.h>

#include "win/Window.h"

namespace qm::win {

class CDialogBase : public CWindow {
public:
    CDialogBase(UINT templateId, HWND parent = nullptr) noexcept
        : m_templateId(templateId), m_hParent(parent) {}
    ~CDialogBase() override;

    // Runs the dialog modally; the value given to EndDialog, or -1 when the
    // dialog could not be created.
    INT_PTR DoModal();
    // Creates the dialog modeless; false when it could not be created.
    bool Create(HWND parent = nullptr);

    // Modal: ends the loop with this result. Modeless: destroys the window.
    void EndDialog(INT_PTR result);

    bool IsModal() const noexcept { return m_bModal; }
    // Centres the window on its owner, or on the work area when it has none.
    void CenterWindow();
    UINT TemplateId() const noexcept { return m_templateId; }

    // The dialog manager's keyboard handling for modeless and modal dialogs.
    bool PreTranslateMessage(MSG& msg) override;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // IDOK / IDCANCEL from the dialog manager (Enter, Escape, the close box).
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // A command from a control or menu; true when handled.
    virtual bool OnCommand(WORD id, WORD notifyCode, HWND control);
    // Every message after WM_INITDIALOG; true when handled, with result set.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called after the window is gone (WM_NCDESTROY); the object may delete itself here.
    virtual void PostNcDestroy() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Answer(UINT msg, LRESULT result);
    // The control a notification is about, for the messages reflected to controls.
    static HWND NotifyingControl(UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hParent;
    bool m_bModal = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
};

}  // namespace qm::win

#pragma once
// A control created by a dialog template and taken over by a C++ object
// (the image button): the object sees the control's messages first, and what
// it leaves unhandled goes on to the control's own window procedure.
#include <windows.h>

#include "win/Window.h"

namespace qm::win {

class CSubclassedControl : public CWindow {
public:
    ~CSubclassedControl() override;

    // Takes over control id of dialog; false when there is no such control
    // or it is taken over already.
    bool SubclassDlgItem(UINT id, HWND dialog);
    bool SubclassWindow(HWND control);
    void UnsubclassWindow();

protected:
    // Called once the control is ours, before any of its messages reach us.
    virtual void PreSubclassWindow() {}
    // true when handled, with result set; otherwise the control's own procedure runs.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The control's own handling of a message, for handlers that add to it.
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR idSubclass, DWORD_PTR refData);
};

}  // namespace qm::win

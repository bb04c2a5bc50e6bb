#pragma once
// The launcher's one confirmation box: skinned, caption-less, draggable,
// with a bold caption, a short message, OK, Cancel and a close button.
#include <memory>
#include <string>

#include "ui/Images.h"
#include "ui/TouchButton.h"
#include "win/Dialog.h"

namespace qm {

class CCustomMessageBox : public win::CDialogBase {
public:
    // With a parent, the parent is disabled while the box is up.
    explicit CCustomMessageBox(HWND parent = nullptr);
    ~CCustomMessageBox() override;

    void SetText(const std::wstring& caption, const std::wstring& message);
    const std::wstring& Caption() const noexcept { return m_strCaption; }
    const std::wstring& Message() const noexcept { return m_strMessage; }

    // DoModal: 1 for OK; 2 for Cancel, the close button or Escape; -1 when
    // the box cannot be created.

protected:
    BOOL OnInitDialog() override;
    // command 1001: Cancel; 1 and 2 take the default OK and Cancel.
    bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
    // WM_ERASEBKGND (paints the whole face), WM_NCHITTEST (drag anywhere).
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint(HDC dc);

    CTouchButton m_btnOk;
    CTouchButton m_btnCancel;
    CTouchButton m_btnClose;
    std::unique_ptr<CPngImage> m_pBackground;
    std::wstring m_strCaption = L"温馨提示";
    std::wstring m_strMessage;
};

}  // namespace qm

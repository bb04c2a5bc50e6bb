#pragma once
// The view that shows the game page in the child game host: a child window
// that hosts the WebBrowser control through the launcher's OLE host. Pages
// may not open windows of their own (new-window requests go to the external
// browser), and after every completed document a small click listener is
// connected to the top-level document. The owner deletes the view: it does
// not delete itself when its window goes.
#include <windows.h>
#include <mshtml.h>

#include <memory>
#include <string>

#include "login/BrowserHost.h"
#include "win/ComPtr.h"
#include "win/Window.h"

namespace qm {

// Traces every click on a link of the document it listens to
// (HTMLDocumentEvents2 onclick, DISPID -600) with OutputDebugStringW.
class SDocEvtHandler : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

    // The href of the link an element belongs to (itself or a parent "a"),
    // or nothing when it is in no link.
    static bool FindLinkHref(IHTMLElement* element, std::wstring& href);

private:
    volatile LONG m_cRef = 1;  // held by its view
};

class CMyHtmlView : public win::CWindow {
public:
    static constexpr int kControlId = 10000;

    CMyHtmlView();
    ~CMyHtmlView() override;

    // The visible child window "MyWebBrowser" of parent with control id
    // 10000, the control active in place inside it.
    bool Create(HWND parent, const RECT& rect);
    void DestroyWindow();
    // Navigate2 to the address; false without a control.
    bool Navigate2(const std::wstring& url);
    void MoveWindow(const RECT& rect, bool repaint);
    // Offers a key message to the control's own keyboard handling (tabbing
    // through the page, its shortcuts); true when the control took it.
    bool TranslateAccelerator(MSG& msg);

    CWebBrowserBase* Browser() noexcept;
    DWORD ClickListenerCookie() const noexcept { return m_dwCookie; }

private:
    class ViewSite;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // WM_SIZE (the control fills the view), WM_DESTROY (the control goes
    // with the window), WM_CONTEXTMENU (none of its own), WM_ERASEBKGND.
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void ConnectClickListener();
    void DisconnectClickListener();

    std::unique_ptr<ViewSite> m_pSite;
    SDocEvtHandler m_clickListener;
    DWORD m_dwCookie = 0;
    win::ComPtr<IDispatch> m_connectedDocument;
};

}  // namespace qm

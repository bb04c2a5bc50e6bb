#pragma once
// A small OLE container for the system's WebBrowser control: one object that
// is the control's client site, in-place site, in-place frame, document-host
// UI handler and DWebBrowserEvents2 sink at once, with one reference count.
// It creates the control, activates it in a host window, navigates and sizes
// it, finds its inner window, and turns the browser events into hooks.
#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <oleidl.h>

#include <string>

#include "win/ComPtr.h"

namespace qm {

class CWebBrowserBase : public IDispatch,
                        public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleInPlaceFrame,
                        public IDocHostUIHandler {
public:
    CWebBrowserBase();
    virtual ~CWebBrowserBase();
    CWebBrowserBase(const CWebBrowserBase&) = delete;
    CWebBrowserBase& operator=(const CWebBrowserBase&) = delete;

    // Activates the control in place in the host window (over its whole
    // client area while no rectangle is set) and connects the event sink.
    bool EmbedBrowser();
    bool Navigate(BSTR url);
    // Moves and sizes the control; an empty rectangle hides it.
    bool SetBrowserRect(const RECT& rect);
    IWebBrowser2* GetWebBrowser();
    // The control's inner window (class "Internet Explorer_Server"), or null.
    HWND FindBrowserWindow();

    bool IsCreated() const noexcept { return static_cast<bool>(m_oleObject); }
    const RECT& PositionRect() const noexcept { return m_rcPosition; }
    const std::wstring& CurrentUrl() const noexcept { return m_strUrl; }
    LONG RefCount() const noexcept { return m_cRef; }

    // IUnknown, shared by every face. Release never deletes: the owner does.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: the event sink.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

    // The hooks.
    virtual HWND GetHostWindow();
    virtual void OnDocumentComplete(std::wstring url);
    virtual void OnBeforeNavigate(std::wstring url, VARIANT_BOOL* cancel);

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow (both the in-place site and the frame answer it)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override;
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT) override;

    // IOleInPlaceUIWindow / IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override;
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
    STDMETHODIMP RemoveMenus(HMENU) override;
    STDMETHODIMP SetStatusText(LPCOLESTR) override;
    STDMETHODIMP EnableModeless(BOOL) override;  // IOleInPlaceFrame and IDocHostUIHandler alike
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override;

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP OnDocWindowActivate(BOOL) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override;
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override;
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) override;
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** filtered) override;

protected:
    // NewWindow2: cancelled here; a view that lets the control open the
    // window itself overrides this. True to cancel.
    virtual bool OnNewWindow2();
    // Where NewWindow3 addresses go: the system's Internet Explorer.
    virtual void OpenInExternalBrowser(const std::wstring& url);

private:
    volatile LONG m_cRef = 0;
    RECT m_rcPosition{};
    bool m_bInPlace = false;
    std::wstring m_strUrl;
    win::ComPtr<IOleObject> m_oleObject;
    win::ComPtr<IOleInPlaceObject> m_inPlaceObject;
    win::ComPtr<IStorage> m_storage;
    win::ComPtr<IWebBrowser2> m_webBrowser;
    // For tear-down: the connection to disconnect and the OLE start to balance.
    win::ComPtr<IConnectionPoint> m_eventsPoint;
    DWORD m_dwEventsCookie = 0;
    bool m_bOleStarted = false;
};

// The address of the last navigation a login form reported, for its host to
// read when the notice arrives. One per process, UI thread only.
const std::wstring& LastNavigationAddress();

// The login form of the sign-in popup: reports every navigation to its host
// window (command 10001), cancels the one that carries the game address,
// runs the update check once when the first document has loaded, and only
// then shows the page in its rectangle.
class WebFormLogin : public CWebBrowserBase {
public:
    static constexpr WORD kNavigationNotice = 10001;

    WebFormLogin() = default;

    void SetHostWindow(HWND host) noexcept { m_hHostWnd = host; }
    void SetPageRect(const RECT& rect) noexcept { m_rcPage = rect; }
    bool UpdateStarted() const noexcept { return m_nUpdateStarted != 0; }

    HWND GetHostWindow() override;
    void OnDocumentComplete(std::wstring url) override;
    void OnBeforeNavigate(std::wstring url, VARIANT_BOOL* cancel) override;
    // The page has no external object.
    STDMETHODIMP GetExternal(IDispatch** external) override;

protected:
    // The self-update check; runs inside the first DocumentComplete.
    virtual void RunUpdateDriver();

private:
    RECT m_rcPage{};
    HWND m_hHostWnd = nullptr;
    int m_nUpdateStarted = 0;
};

}  // namespace qm

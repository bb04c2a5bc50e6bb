#include "login/BrowserHost.h"

#include <exdispid.h>
#include <ocidl.h>
#include <servprov.h>
#include <shellapi.h>
#include <shlguid.h>
#include <shlobj.h>

#include "update/UpdateDriver.h"

namespace qm {

namespace {

std::wstring g_strLastNavigation;

// The BSTR of an event parameter, passed directly or by reference.
std::wstring BstrArgument(const VARIANT& v) {
    const VARIANT* value = &v;
    if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) value = v.pvarVal;
    if (value->vt == VT_BSTR && value->bstrVal) return std::wstring(value->bstrVal, ::SysStringLen(value->bstrVal));
    if (value->vt == (VT_BYREF | VT_BSTR) && value->pbstrVal && *value->pbstrVal)
        return std::wstring(*value->pbstrVal, ::SysStringLen(*value->pbstrVal));
    return std::wstring();
}

void SetCancel(const VARIANT& v) {
    if (v.vt == (VT_BYREF | VT_BOOL) && v.pboolVal) *v.pboolVal = VARIANT_TRUE;
}

}  // namespace

const std::wstring& LastNavigationAddress() { return g_strLastNavigation; }

CWebBrowserBase::CWebBrowserBase() {
    m_bOleStarted = SUCCEEDED(::OleInitialize(nullptr));
    if (!m_bOleStarted) return;
    if (FAILED(::StgCreateDocfile(nullptr, STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0,
                                  m_storage.ReleaseAndGetAddressOf())))
        return;
    if (FAILED(::OleCreate(CLSID_WebBrowser, IID_IOleObject, OLERENDER_DRAW, nullptr,
                           static_cast<IOleClientSite*>(this), m_storage.Get(),
                           reinterpret_cast<void**>(m_oleObject.ReleaseAndGetAddressOf()))))
        return;
    m_oleObject.As(m_inPlaceObject);
}

CWebBrowserBase::~CWebBrowserBase() {
    // The control must never call into a deleted host: deactivate it,
    // disconnect the sink, close it and take our site away, then let go.
    if (m_inPlaceObject) m_inPlaceObject->InPlaceDeactivate();
    if (m_eventsPoint && m_dwEventsCookie) m_eventsPoint->Unadvise(m_dwEventsCookie);
    m_eventsPoint.Reset();
    if (m_oleObject) {
        m_oleObject->Close(OLECLOSE_NOSAVE);
        m_oleObject->SetClientSite(nullptr);
    }
    m_webBrowser.Reset();
    m_inPlaceObject.Reset();
    m_oleObject.Reset();
    m_storage.Reset();
    if (m_bOleStarted) ::OleUninitialize();
}

bool CWebBrowserBase::EmbedBrowser() {
    if (!m_oleObject) return false;
    if (m_rcPosition.right - m_rcPosition.left == 0 || m_rcPosition.bottom - m_rcPosition.top == 0)
        ::GetClientRect(GetHostWindow(), &m_rcPosition);
    if (m_bInPlace) return true;
    // Before the verb: the control asks CanInPlaceActivate while it runs.
    m_bInPlace = true;
    if (FAILED(m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0,
                                   GetHostWindow(), &m_rcPosition)))
        return false;
    IWebBrowser2* browser = GetWebBrowser();
    if (!browser) return false;
    win::ComPtr<IConnectionPointContainer> container;
    if (FAILED(browser->QueryInterface(IID_IConnectionPointContainer,
                                       reinterpret_cast<void**>(container.ReleaseAndGetAddressOf()))))
        return false;
    win::ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.ReleaseAndGetAddressOf()))) return false;
    DWORD cookie = 0;
    if (FAILED(point->Advise(static_cast<IDispatch*>(this), &cookie))) return false;
    m_eventsPoint = point;
    m_dwEventsCookie = cookie;
    return true;
}

bool CWebBrowserBase::Navigate(BSTR url) {
    m_strUrl = url ? std::wstring(url, ::SysStringLen(url)) : std::wstring();
    IWebBrowser2* browser = GetWebBrowser();
    if (!browser) return false;
    return SUCCEEDED(browser->Navigate(url, nullptr, nullptr, nullptr, nullptr));
}

bool CWebBrowserBase::SetBrowserRect(const RECT& rect) {
    if (m_bInPlace) {
        if (!m_oleObject || !m_inPlaceObject) return false;
        SIZEL size{rect.right - rect.left, rect.bottom - rect.top};  // pixels, as they stand
        if (FAILED(m_oleObject->SetExtent(DVASPECT_CONTENT, &size))) return false;
        if (FAILED(m_inPlaceObject->SetObjectRects(&rect, &rect))) return false;
    }
    m_rcPosition = rect;
    return true;
}

IWebBrowser2* CWebBrowserBase::GetWebBrowser() {
    if (!m_webBrowser && m_oleObject) m_oleObject.As(m_webBrowser);
    return m_webBrowser.Get();
}

HWND CWebBrowserBase::FindBrowserWindow() {
    IWebBrowser2* browser = GetWebBrowser();
    if (!browser) return nullptr;
    win::ComPtr<IServiceProvider> services;
    if (FAILED(browser->QueryInterface(IID_IServiceProvider,
                                       reinterpret_cast<void**>(services.ReleaseAndGetAddressOf()))))
        return nullptr;
    win::ComPtr<IOleWindow> shellWindow;
    if (FAILED(services->QueryService(SID_SShellBrowser, IID_IOleWindow,
                                      reinterpret_cast<void**>(shellWindow.ReleaseAndGetAddressOf()))))
        return nullptr;
    HWND window = nullptr;
    if (FAILED(shellWindow->GetWindow(&window))) return nullptr;
    while (window) {
        wchar_t name[261] = {};
        ::GetClassNameW(window, name, 261);
        if (::lstrcmpiW(name, L"Internet Explorer_Server") == 0) return window;
        window = ::GetWindow(window, GW_CHILD);
    }
    return nullptr;
}

// ---- IUnknown

STDMETHODIMP CWebBrowserBase::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IUnknown || iid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
    else if (iid == IID_IDocHostUIHandler) *out = static_cast<IDocHostUIHandler*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow) *out = static_cast<IOleInPlaceFrame*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserBase::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_cRef)); }
STDMETHODIMP_(ULONG) CWebBrowserBase::Release() { return static_cast<ULONG>(::InterlockedDecrement(&m_cRef)); }

// ---- IDispatch

STDMETHODIMP CWebBrowserBase::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CWebBrowserBase::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) {
    // rgvarg holds an event's parameters in reverse order.
    auto arg = [&](UINT i) -> const VARIANT* {
        return params && params->rgvarg && i < params->cArgs ? &params->rgvarg[i] : nullptr;
    };
    switch (id) {
    case DISPID_DOCUMENTCOMPLETE: {
        const VARIANT* url = arg(0);
        OnDocumentComplete(url ? BstrArgument(*url) : std::wstring());
        return S_OK;
    }
    case DISPID_BEFORENAVIGATE2: {
        const VARIANT* url = arg(5);
        const VARIANT* cancel = arg(0);
        VARIANT_BOOL ignored = VARIANT_FALSE;
        VARIANT_BOOL* flag = cancel && cancel->vt == (VT_BYREF | VT_BOOL) && cancel->pboolVal ? cancel->pboolVal
                                                                                             : &ignored;
        OnBeforeNavigate(url ? BstrArgument(*url) : std::wstring(), flag);
        return S_OK;
    }
    case DISPID_NEWWINDOW2:
        if (const VARIANT* cancel = arg(0); cancel && OnNewWindow2()) SetCancel(*cancel);
        return E_NOTIMPL;
    case DISPID_NEWWINDOW3: {
        const VARIANT* url = arg(0);
        std::wstring address;
        if (url) {
            VARIANT text;
            ::VariantInit(&text);
            if (SUCCEEDED(::VariantChangeType(&text, const_cast<VARIANT*>(url), 0, VT_BSTR)) && text.bstrVal)
                address.assign(text.bstrVal, ::SysStringLen(text.bstrVal));
            ::VariantClear(&text);
        }
        OpenInExternalBrowser(address);
        if (const VARIANT* cancel = arg(3)) SetCancel(*cancel);
        return S_OK;
    }
    default:
        return E_NOTIMPL;
    }
}

HWND CWebBrowserBase::GetHostWindow() { return nullptr; }
void CWebBrowserBase::OnDocumentComplete(std::wstring) {}
void CWebBrowserBase::OnBeforeNavigate(std::wstring, VARIANT_BOOL*) {}
bool CWebBrowserBase::OnNewWindow2() { return true; }

void CWebBrowserBase::OpenInExternalBrowser(const std::wstring& url) {
    ::ShellExecuteW(nullptr, L"Open", L"iexplore.exe", url.c_str(), nullptr, SW_SHOWNORMAL);
}

// ---- IOleClientSite

STDMETHODIMP CWebBrowserBase::SaveObject() { return S_OK; }
STDMETHODIMP CWebBrowserBase::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CWebBrowserBase::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_FAIL;
}
STDMETHODIMP CWebBrowserBase::ShowObject() { return S_OK; }
STDMETHODIMP CWebBrowserBase::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP CWebBrowserBase::RequestNewObjectLayout() { return S_OK; }

// ---- IOleWindow

STDMETHODIMP CWebBrowserBase::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = GetHostWindow();
    return S_OK;
}
STDMETHODIMP CWebBrowserBase::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

// ---- IOleInPlaceSite

STDMETHODIMP CWebBrowserBase::CanInPlaceActivate() { return m_bInPlace ? S_OK : S_FALSE; }
STDMETHODIMP CWebBrowserBase::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP CWebBrowserBase::OnUIActivate() { return S_OK; }

STDMETHODIMP CWebBrowserBase::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame) {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
    }
    if (document) *document = nullptr;
    HWND host = GetHostWindow();
    ::GetClientRect(host, &m_rcPosition);
    if (position) *position = m_rcPosition;
    if (clip) *clip = m_rcPosition;
    if (info) {
        info->cb = sizeof(OLEINPLACEFRAMEINFO);  // 20 in a 32-bit build, 32 in a 64-bit one
        info->fMDIApp = FALSE;
        info->hwndFrame = ::GetParent(host);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP CWebBrowserBase::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP CWebBrowserBase::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP CWebBrowserBase::DiscardUndoState() { return S_OK; }
STDMETHODIMP CWebBrowserBase::DeactivateAndUndo() { return S_OK; }
STDMETHODIMP CWebBrowserBase::OnPosRectChange(LPCRECT) { return S_OK; }

// ---- IOleInPlaceUIWindow / IOleInPlaceFrame

STDMETHODIMP CWebBrowserBase::GetBorder(LPRECT border) {
    ::GetClientRect(GetHostWindow(), &m_rcPosition);
    if (border) *border = m_rcPosition;
    return S_OK;
}
STDMETHODIMP CWebBrowserBase::RequestBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
STDMETHODIMP CWebBrowserBase::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
STDMETHODIMP CWebBrowserBase::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }
STDMETHODIMP CWebBrowserBase::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::SetMenu(HMENU, HOLEMENU, HWND) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::SetStatusText(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::EnableModeless(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::TranslateAccelerator(LPMSG, WORD) { return E_NOTIMPL; }

// ---- IDocHostUIHandler

STDMETHODIMP CWebBrowserBase::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info) info->dwFlags |= DOCHOSTUIFLAG_NO3DOUTERBORDER;
    return S_OK;
}
STDMETHODIMP CWebBrowserBase::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) {
    return E_NOTIMPL;
}
STDMETHODIMP CWebBrowserBase::HideUI() { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::UpdateUI() { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CWebBrowserBase::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key) *key = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CWebBrowserBase::GetDropTarget(IDropTarget*, IDropTarget** target) {
    if (target) *target = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CWebBrowserBase::GetExternal(IDispatch** external) {
    if (external) *external = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CWebBrowserBase::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    if (translated) *translated = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CWebBrowserBase::FilterDataObject(IDataObject*, IDataObject** filtered) {
    if (filtered) *filtered = nullptr;
    return E_NOTIMPL;
}

// ---- WebFormLogin

HWND WebFormLogin::GetHostWindow() { return m_hHostWnd; }

void WebFormLogin::OnDocumentComplete(std::wstring) {
    if (m_nUpdateStarted == 0) {
        // Marked first: a document that completes while the check pumps
        // messages must not start a second one.
        m_nUpdateStarted = 1;
        RunUpdateDriver();
    }
    // The page shows only now, in its final rectangle.
    SetBrowserRect(m_rcPage);
}

void WebFormLogin::OnBeforeNavigate(std::wstring url, VARIANT_BOOL* cancel) {
    // The logged-in game address is not for this page: the frame shows it.
    if (url.find(L"play_gamecode") != std::wstring::npos && cancel) *cancel = VARIANT_TRUE;  // a true VARIANT_BOOL, not 1
    if (m_hHostWnd) {
        g_strLastNavigation = url;
        ::SendMessageW(m_hHostWnd, WM_COMMAND, kNavigationNotice, 0);
    }
}

STDMETHODIMP WebFormLogin::GetExternal(IDispatch** external) {
    if (external) *external = nullptr;
    return S_OK;
}

void WebFormLogin::RunUpdateDriver() { RunUpdateCheck(); }

}  // namespace qm

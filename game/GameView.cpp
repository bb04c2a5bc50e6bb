#include "game/GameView.h"

#include <mshtmdid.h>
#include <ocidl.h>

namespace qm {

namespace {
constexpr wchar_t kViewClass[] = L"QuellmoorGameView";
// The document's event interface, and the one the listener answers for
// (mingw-w64's import libraries carry neither).
constexpr GUID kHtmlDocumentEvents2 = {0x3050f613, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};
constexpr GUID kListenerInterface = {0x3050f617, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};
}

// ---- SDocEvtHandler

STDMETHODIMP SDocEvtHandler::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kListenerInterface || iid == kHtmlDocumentEvents2) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP_(ULONG) SDocEvtHandler::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_cRef)); }
// The view owns the listener; documents only borrow it.
STDMETHODIMP_(ULONG) SDocEvtHandler::Release() { return static_cast<ULONG>(::InterlockedDecrement(&m_cRef)); }

bool SDocEvtHandler::FindLinkHref(IHTMLElement* start, std::wstring& href) {
    win::ComPtr<IHTMLElement> element;
    if (start) {
        start->AddRef();
        element = win::ComPtr<IHTMLElement>::Attach(start);
    }
    while (element) {
        BSTR tag = nullptr;
        const bool isLink = SUCCEEDED(element->get_tagName(&tag)) && tag &&
                            (std::wstring(tag) == L"a" || std::wstring(tag) == L"A");
        ::SysFreeString(tag);
        if (isLink) {
            VARIANT value;
            ::VariantInit(&value);
            BSTR name = ::SysAllocString(L"href");
            href.clear();
            if (SUCCEEDED(element->getAttribute(name, 0, &value)) && value.vt == VT_BSTR && value.bstrVal)
                href.assign(value.bstrVal, ::SysStringLen(value.bstrVal));
            ::SysFreeString(name);
            ::VariantClear(&value);
            return true;
        }
        win::ComPtr<IHTMLElement> parent;
        if (FAILED(element->get_parentElement(parent.ReleaseAndGetAddressOf()))) break;
        element = parent;
    }
    return false;
}

STDMETHODIMP SDocEvtHandler::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    if (id != DISPID_HTMLELEMENTEVENTS2_ONCLICK) return S_OK;
    if (!params || params->cArgs < 1 || params->rgvarg[0].vt != VT_DISPATCH || !params->rgvarg[0].pdispVal)
        return S_OK;
    win::ComPtr<IHTMLEventObj> event;
    if (FAILED(params->rgvarg[0].pdispVal->QueryInterface(IID_IHTMLEventObj,
                                                          reinterpret_cast<void**>(event.ReleaseAndGetAddressOf()))))
        return S_OK;
    win::ComPtr<IHTMLElement> source;
    if (FAILED(event->get_srcElement(source.ReleaseAndGetAddressOf()))) return S_OK;
    std::wstring href;
    if (FindLinkHref(source.Get(), href)) ::OutputDebugStringW((L"单击事件:" + href + L"\r\n").c_str());
    return S_OK;
}

// ---- The view's site: the shared OLE host, with the view's rules.

class CMyHtmlView::ViewSite : public CWebBrowserBase {
public:
    explicit ViewSite(CMyHtmlView& view) : m_view(view) {}
    HWND GetHostWindow() override { return m_view.GetSafeHwnd(); }
    void OnDocumentComplete(std::wstring) override { m_view.ConnectClickListener(); }

protected:
    // A NewWindow2 request is the control's to handle; NewWindow3 (the
    // address known) is cancelled and handed to the external browser.
    bool OnNewWindow2() override { return false; }

private:
    CMyHtmlView& m_view;
};

CMyHtmlView::CMyHtmlView() = default;

CWebBrowserBase* CMyHtmlView::Browser() noexcept { return m_pSite.get(); }

CMyHtmlView::~CMyHtmlView() {
    DestroyWindow();
}

bool CMyHtmlView::Create(HWND parent, const RECT& rect) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &CMyHtmlView::WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kViewClass;
    ::RegisterClassW(&wc);  // fails harmlessly when it exists
    HWND hwnd = ::CreateWindowExW(0, kViewClass, L"MyWebBrowser", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)), wc.hInstance, this);
    if (!hwnd) return false;
    m_pSite = std::make_unique<ViewSite>(*this);
    return m_pSite->EmbedBrowser();
}

void CMyHtmlView::DestroyWindow() {
    DisconnectClickListener();
    // The control goes before its window, so it never paints into a dead one.
    m_pSite.reset();
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool CMyHtmlView::Navigate2(const std::wstring& url) {
    IWebBrowser2* browser = m_pSite ? m_pSite->GetWebBrowser() : nullptr;
    if (!browser) return false;
    VARIANT address;
    address.vt = VT_BSTR;
    address.bstrVal = ::SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
    const HRESULT hr = browser->Navigate2(&address, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&address);
    return SUCCEEDED(hr);
}

void CMyHtmlView::MoveWindow(const RECT& rect, bool repaint) {
    if (m_hWnd) ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

bool CMyHtmlView::TranslateAccelerator(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    IWebBrowser2* browser = m_pSite ? m_pSite->GetWebBrowser() : nullptr;
    win::ComPtr<IOleInPlaceActiveObject> active;
    if (!browser || FAILED(browser->QueryInterface(IID_IOleInPlaceActiveObject,
                                                   reinterpret_cast<void**>(active.ReleaseAndGetAddressOf()))))
        return false;
    return active->TranslateAccelerator(&msg) == S_OK;
}

void CMyHtmlView::ConnectClickListener() {
    DisconnectClickListener();
    IWebBrowser2* browser = m_pSite ? m_pSite->GetWebBrowser() : nullptr;
    if (!browser) return;
    // Whichever frame completed, the listener goes to the top-level document.
    if (FAILED(browser->get_Document(m_connectedDocument.ReleaseAndGetAddressOf())) || !m_connectedDocument) return;
    win::ComPtr<IConnectionPointContainer> container;
    if (FAILED(m_connectedDocument.As(container))) return;
    win::ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(kHtmlDocumentEvents2, point.ReleaseAndGetAddressOf()))) return;
    DWORD cookie = 0;
    if (SUCCEEDED(point->Advise(&m_clickListener, &cookie))) m_dwCookie = cookie;
}

void CMyHtmlView::DisconnectClickListener() {
    if (m_dwCookie && m_connectedDocument) {
        win::ComPtr<IConnectionPointContainer> container;
        win::ComPtr<IConnectionPoint> point;
        if (SUCCEEDED(m_connectedDocument.As(container)) &&
            SUCCEEDED(container->FindConnectionPoint(kHtmlDocumentEvents2, point.ReleaseAndGetAddressOf())))
            point->Unadvise(m_dwCookie);
    }
    m_dwCookie = 0;
    m_connectedDocument.Reset();
}

LRESULT CALLBACK CMyHtmlView::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<CMyHtmlView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->Attach(hwnd);
    }
    auto* self = static_cast<CMyHtmlView*>(FromHandle(hwnd));
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // Gone with its window, not deleted: the owner deletes the view.
        self->Detach();
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT CMyHtmlView::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (m_pSite) {
            RECT client{};
            ::GetClientRect(m_hWnd, &client);
            m_pSite->SetBrowserRect(client);
        }
        return 0;
    case WM_DESTROY:
        // Its window may go with its parent's: the control goes with it.
        DisconnectClickListener();
        m_pSite.reset();
        return 0;
    case WM_CONTEXTMENU:
        return 0;  // the view itself has no context menu
    case WM_ERASEBKGND:
        return 1;  // the page covers the view
    default:
        return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
    }
}

}  // namespace qm

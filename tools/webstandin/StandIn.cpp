// A stand-in for the system's WebBrowser control, for the Wine prefixes of
// the tests and of ./run.sh only (Wine's own control cannot render pages, so
// past the first navigation nothing could be tried on Linux). Registered in
// place of CLSID_WebBrowser; the launcher does not know it exists.
//
// What it does: in-place activation in its site's window, navigation with
// BeforeNavigate2 (cancellable), a real fetch through WinINet (so the fetch
// uses and fills WinINet's cookie store, as the real control does),
// NavigateComplete2 and DocumentComplete; NavigateError then DocumentComplete
// for an unreachable or failing address; <meta http-equiv="refresh"> after
// its delay; BeforeNavigate2 / DocumentComplete once per <iframe src=...>
// with a frame's own dispatch pointer; the page title and text painted
// plainly; each navigation and its cookies, each key that reaches the page
// and each key offered to it as an accelerator, logged to $QM_STANDIN_LOG.
//
// Wine does not draw a child window whose top-level window belongs to another
// process (the launcher's game host lives inside the frame of another
// process). There the page is also painted into a mirror: a click-through
// popup of this process kept over the page window, so that screenshots show
// what Windows would show in place.
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <olectl.h>
#include <oleidl.h>
#include <servprov.h>
#include <shlguid.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace {

HMODULE g_module = nullptr;
volatile LONG g_objects = 0;

constexpr wchar_t kOuterClass[] = L"Shell Embedding";
constexpr wchar_t kServerClass[] = L"Internet Explorer_Server";
constexpr wchar_t kMessageClass[] = L"QuellmoorStandInMessages";
constexpr wchar_t kMirrorClass[] = L"QuellmoorStandInMirror";
constexpr UINT WM_APP_NAVIGATE = WM_APP + 1;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT_PTR kMirrorTimer = 2;

// ---- Text helpers

std::wstring Utf8ToWide(const std::string& bytes) {
    if (bytes.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

// The value of attribute `name` inside one tag's text, quoted or not.
std::wstring Attribute(const std::wstring& tag, const std::wstring& name) {
    const std::wstring lower = Lower(tag);
    size_t at = 0;
    while ((at = lower.find(name, at)) != std::wstring::npos) {
        size_t p = at + name.size();
        const bool starts = at > 0 && (std::iswspace(lower[at - 1]) || lower[at - 1] == L'<');
        while (p < lower.size() && std::iswspace(lower[p])) ++p;
        if (!starts || p >= lower.size() || lower[p] != L'=') {
            at += name.size();
            continue;
        }
        ++p;
        while (p < lower.size() && std::iswspace(lower[p])) ++p;
        if (p < tag.size() && (tag[p] == L'"' || tag[p] == L'\'')) {
            const size_t end = tag.find(tag[p], p + 1);
            return tag.substr(p + 1, end == std::wstring::npos ? std::wstring::npos : end - p - 1);
        }
        size_t end = p;
        while (end < tag.size() && !std::iswspace(tag[end]) && tag[end] != L'>') ++end;
        return tag.substr(p, end - p);
    }
    return {};
}

// Every tag `<name ...>` of the page, as its whole text.
std::vector<std::wstring> Tags(const std::wstring& page, const std::wstring& name) {
    std::vector<std::wstring> tags;
    const std::wstring lower = Lower(page);
    for (size_t at = 0; (at = lower.find(L"<" + name, at)) != std::wstring::npos;) {
        const size_t end = lower.find(L'>', at);
        if (end == std::wstring::npos) break;
        const wchar_t next = lower[at + 1 + name.size()];
        if (std::iswspace(next) || next == L'>' || next == L'/') tags.push_back(page.substr(at, end - at + 1));
        at = end;
    }
    return tags;
}

std::wstring DecodeEntities(std::wstring s) {
    const struct {
        const wchar_t* entity;
        const wchar_t* text;
    } entities[] = {{L"&lt;", L"<"}, {L"&gt;", L">"}, {L"&quot;", L"\""}, {L"&#39;", L"'"}, {L"&nbsp;", L" "},
                    {L"&amp;", L"&"}};
    for (const auto& e : entities)
        for (size_t at; (at = s.find(e.entity)) != std::wstring::npos;) s.replace(at, wcslen(e.entity), e.text);
    return s;
}

// The page's title and its visible text, tags and scripts removed.
void VisibleText(const std::wstring& page, std::wstring& title, std::wstring& text) {
    const std::wstring lower = Lower(page);
    title.clear();
    if (size_t t = lower.find(L"<title"); t != std::wstring::npos) {
        const size_t start = lower.find(L'>', t);
        const size_t end = lower.find(L"</title", start);
        if (start != std::wstring::npos && end != std::wstring::npos) title = page.substr(start + 1, end - start - 1);
    }
    text.clear();
    size_t i = 0;
    if (size_t body = lower.find(L"<body"); body != std::wstring::npos) i = body;
    bool blank = false;
    while (i < page.size()) {
        if (page[i] == L'<') {
            for (const wchar_t* skipped : {L"<script", L"<style", L"<title"}) {
                if (lower.compare(i, wcslen(skipped), skipped) == 0) {
                    const std::wstring close = L"</" + std::wstring(skipped + 1);
                    const size_t end = lower.find(close, i);
                    i = end == std::wstring::npos ? page.size() : end;
                    break;
                }
            }
            const size_t end = page.find(L'>', i);
            const std::wstring tag = lower.substr(i, std::min<size_t>(4, page.size() - i));
            if (tag.rfind(L"<br", 0) == 0 || tag.rfind(L"<p", 0) == 0 || tag.rfind(L"</p", 0) == 0 ||
                tag.rfind(L"<div", 0) == 0 || tag.rfind(L"<h", 0) == 0 || tag.rfind(L"<li", 0) == 0 ||
                tag.rfind(L"<for", 0) == 0)
                text += L"\r\n";
            i = end == std::wstring::npos ? page.size() : end + 1;
            blank = true;
            continue;
        }
        if (std::iswspace(page[i])) {
            blank = true;
        } else {
            if (blank && !text.empty() && text.back() != L'\n') text += L' ';
            blank = false;
            text += page[i];
        }
        ++i;
    }
    title = DecodeEntities(title);
    text = DecodeEntities(text);
}

std::wstring Combine(const std::wstring& base, const std::wstring& relative) {
    wchar_t out[INTERNET_MAX_URL_LENGTH] = {};
    DWORD size = INTERNET_MAX_URL_LENGTH;
    if (::InternetCombineUrlW(base.c_str(), relative.c_str(), out, &size, ICU_NO_ENCODE)) return out;
    return relative;
}

std::wstring CookiesFor(const std::wstring& url) {
    std::vector<wchar_t> buffer(8192);
    DWORD size = static_cast<DWORD>(buffer.size());
    if (::InternetGetCookieW(url.c_str(), nullptr, buffer.data(), &size)) return buffer.data();
    return {};
}

void Log(const std::wstring& line) {
    wchar_t path[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"QM_STANDIN_LOG", path, MAX_PATH)) return;
    HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string bytes = WideToUtf8(line + L"\n");
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

struct Fetched {
    bool reached = false;
    DWORD status = 0;
    std::wstring page;
};

// One GET through WinINet, with its cookie store, as the real control.
Fetched Fetch(const std::wstring& url) {
    Fetched result;
    HINTERNET session = ::InternetOpenW(L"Mozilla/4.0 (compatible; Quellmoor stand-in)", INTERNET_OPEN_TYPE_DIRECT,
                                        nullptr, nullptr, 0);
    if (!session) return result;
    HINTERNET request = ::InternetOpenUrlW(session, url.c_str(), nullptr, 0,
                                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (request) {
        result.reached = true;
        DWORD status = 0, size = sizeof(status);
        if (::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
            result.status = status;
        std::string bytes;
        char chunk[8192];
        DWORD read = 0;
        while (::InternetReadFile(request, chunk, sizeof(chunk), &read) && read > 0) bytes.append(chunk, read);
        result.page = Utf8ToWide(bytes);
        ::InternetCloseHandle(request);
    }
    ::InternetCloseHandle(session);
    return result;
}

// An object that deletes itself with its last reference (m_ref).
#define STANDIN_REFERENCE_COUNT                                                           \
    STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_ref); } \
    STDMETHODIMP_(ULONG) Release() override {                                         \
        const LONG left = ::InterlockedDecrement(&m_ref);                             \
        if (left == 0) delete this;                                                   \
        return left;                                                                  \
    }
// IDispatch with no automation by name.
#define STANDIN_NO_AUTOMATION                                                                                     \
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }                                       \
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }                          \
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }         \
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {      \
        return E_NOTIMPL;                                                                                     \
    }

// ---- A frame's own dispatch pointer, for the events of an <iframe>.

class FrameDispatch : public IDispatch {
public:
    virtual ~FrameDispatch() = default;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STANDIN_REFERENCE_COUNT
    STANDIN_NO_AUTOMATION

private:
    volatile LONG m_ref = 1;
};

// ---- The control

class StandInBrowser : public IWebBrowser2,
                       public IOleObject,
                       public IOleInPlaceObject,
                       public IOleInPlaceActiveObject,
                       public IConnectionPointContainer,
                       public IConnectionPoint,
                       public IServiceProvider,
                       public IPersistStorage {
public:
    StandInBrowser() {
        ::InterlockedIncrement(&g_objects);
        m_messages = ::CreateWindowExW(0, kMessageClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_module, this);
        if (m_messages) ::SetTimer(m_messages, kMirrorTimer, 100, nullptr);
    }
    virtual ~StandInBrowser() {
        Deactivate();
        if (m_messages) ::DestroyWindow(m_messages);
        if (m_sink) m_sink->Release();
        if (m_site) m_site->Release();
        ::InterlockedDecrement(&g_objects);
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
            iid == IID_IWebBrowser2)
            *out = static_cast<IWebBrowser2*>(this);
        else if (iid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) *out = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IOleInPlaceActiveObject) *out = static_cast<IOleInPlaceActiveObject*>(this);
        else if (iid == IID_IConnectionPointContainer) *out = static_cast<IConnectionPointContainer*>(this);
        else if (iid == IID_IConnectionPoint) *out = static_cast<IConnectionPoint*>(this);
        else if (iid == IID_IServiceProvider) *out = static_cast<IServiceProvider*>(this);
        else if (iid == IID_IPersistStorage || iid == IID_IPersist) *out = static_cast<IPersistStorage*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STANDIN_REFERENCE_COUNT

    // IDispatch of the browser: no automation by name.
    STANDIN_NO_AUTOMATION

    // IWebBrowser2: what the launcher uses.
    STDMETHODIMP Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
        if (!url) return E_INVALIDARG;
        Queue(url);
        return S_OK;
    }
    STDMETHODIMP Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
        if (!url) return E_INVALIDARG;
        VARIANT text;
        ::VariantInit(&text);
        if (FAILED(::VariantChangeType(&text, url, 0, VT_BSTR))) return E_INVALIDARG;
        Queue(text.bstrVal ? text.bstrVal : L"");
        ::VariantClear(&text);
        return S_OK;
    }
    STDMETHODIMP Refresh() override {
        if (!m_url.empty()) Queue(m_url);
        return S_OK;
    }
    STDMETHODIMP Stop() override {
        m_queue.clear();
        if (m_messages) ::KillTimer(m_messages, kRefreshTimer);
        return S_OK;
    }
    STDMETHODIMP get_Document(IDispatch** document) override {
        if (!document) return E_POINTER;
        *document = nullptr;  // no document object model here
        return S_OK;
    }
    STDMETHODIMP get_LocationURL(BSTR* url) override {
        if (!url) return E_POINTER;
        *url = ::SysAllocStringLen(m_url.data(), static_cast<UINT>(m_url.size()));
        return S_OK;
    }
#include "WebBrowserStubs.inc"

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override {
        if (site) site->AddRef();
        if (m_site) m_site->Release();
        m_site = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override {
        if (!site) return E_POINTER;
        *site = m_site;
        if (m_site) m_site->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override {
        Stop();
        Deactivate();
        if (m_sink) m_sink->Release();
        m_sink = nullptr;
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        if (moniker) *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override {
        if (data) *data = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position) override {
        if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW && verb != OLEIVERB_UIACTIVATE)
            return E_NOTIMPL;
        IOleClientSite* from = site ? site : m_site;
        if (!from) return E_UNEXPECTED;
        IOleInPlaceSite* inPlace = nullptr;
        if (FAILED(from->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace)))) return E_FAIL;
        if (inPlace->CanInPlaceActivate() != S_OK) {
            inPlace->Release();
            return E_FAIL;
        }
        if (m_inPlaceSite) m_inPlaceSite->Release();
        m_inPlaceSite = inPlace;
        inPlace->OnInPlaceActivate();
        HWND host = parent;
        if (!host) inPlace->GetWindow(&host);
        RECT rc{};
        if (position) rc = *position;
        if (!m_outer) {
            m_outer = ::CreateWindowExW(0, kOuterClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc.left, rc.top,
                                        rc.right - rc.left, rc.bottom - rc.top, host, nullptr, g_module, this);
            m_server = ::CreateWindowExW(0, kServerClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, rc.right - rc.left,
                                         rc.bottom - rc.top, m_outer, nullptr, g_module, this);
        }
        return m_outer ? S_OK : E_FAIL;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override {
        if (!clsid) return E_POINTER;
        *clsid = CLSID_WebBrowser;
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD* cookie) override {
        if (cookie) *cookie = 0;
        return E_NOTIMPL;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override {
        // DWebBrowserEvents2 (IConnectionPoint::Unadvise shares this slot's name).
        if (cookie != 1 || !m_sink) return CONNECT_E_NOCONNECTION;
        m_sink->Release();
        m_sink = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        if (!status) return E_POINTER;
        *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                  OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow / IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = m_outer;
        return m_outer ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override {
        Deactivate();
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override {
        if (!position) return E_POINTER;
        if (m_outer) {
            ::MoveWindow(m_outer, position->left, position->top, position->right - position->left,
                         position->bottom - position->top, TRUE);
            ::MoveWindow(m_server, 0, 0, position->right - position->left, position->bottom - position->top, TRUE);
        }
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // IOleInPlaceActiveObject: keys offered by the host are noted, never taken.
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override {
        if (msg && msg->message == WM_KEYDOWN) Log(L"accelerator\t" + std::to_wstring(msg->wParam));
        return S_FALSE;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IConnectionPointContainer: one point, DWebBrowserEvents2.
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (!point) return E_POINTER;
        if (iid != DIID_DWebBrowserEvents2) {
            *point = nullptr;
            return CONNECT_E_NOCONNECTION;
        }
        *point = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }

    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) override {
        if (!iid) return E_POINTER;
        *iid = DIID_DWebBrowserEvents2;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override {
        if (!container) return E_POINTER;
        *container = static_cast<IConnectionPointContainer*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
        if (!sink || !cookie) return E_POINTER;
        if (m_sink) return CONNECT_E_ADVISELIMIT;
        if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_sink)))) return CONNECT_E_CANNOTCONNECT;
        *cookie = 1;
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // IServiceProvider: the shell browser's window, which holds the page window.
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (service == SID_SShellBrowser && iid == IID_IOleWindow) return QueryInterface(IID_IOleWindow, out);
        return E_NOINTERFACE;
    }

    // IPersistStorage: a fresh control has nothing to keep.
    STDMETHODIMP GetClassID(CLSID* clsid) override { return GetUserClassID(clsid); }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP InitNew(IStorage*) override { return S_OK; }
    STDMETHODIMP Load(IStorage*) override { return S_OK; }
    STDMETHODIMP Save(IStorage*, BOOL) override { return S_OK; }
    STDMETHODIMP SaveCompleted(IStorage*) override { return S_OK; }
    STDMETHODIMP HandsOffStorage() override { return S_OK; }

    // ---- Window procedures
    static LRESULT CALLBACK MessageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE)
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<StandInBrowser*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_APP_NAVIGATE) {
            self->AddRef();  // a sink may drop its last reference while we raise events
            self->RunQueue();
            self->Release();
            return 0;
        }
        if (self && msg == WM_TIMER && wParam == kMirrorTimer) {
            self->FollowWithMirror();
            return 0;
        }
        if (self && msg == WM_TIMER && wParam == kRefreshTimer) {
            ::KillTimer(hwnd, kRefreshTimer);
            self->Queue(self->m_refreshUrl);
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    static LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE)
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<StandInBrowser*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_PAINT) {
            self->Paint(hwnd);
            return 0;
        }
        if (self && msg == WM_NCHITTEST && hwnd == self->m_mirror) return HTTRANSPARENT;  // never clicked
        if (msg == WM_KEYDOWN) {
            // Which keys reach the page, for the tests of the host's key rules.
            Log(L"key\t" + std::to_wstring(wParam));
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }

private:
    void Queue(const std::wstring& url) {
        m_queue.push_back(url);
        if (m_messages) ::PostMessageW(m_messages, WM_APP_NAVIGATE, 0, 0);
    }

    void RunQueue() {
        while (!m_queue.empty()) {
            const std::wstring url = m_queue.front();
            m_queue.erase(m_queue.begin());
            NavigateNow(url);
        }
    }

    // One top-level navigation with its events, as the real control raises them.
    void NavigateNow(const std::wstring& url) {
        IDispatch* self = static_cast<IWebBrowser2*>(this);
        if (BeforeNavigate2(self, url)) {
            Log(L"cancelled\t" + url);
            return;
        }
        ::KillTimer(m_messages, kRefreshTimer);
        const std::wstring sent = CookiesFor(url);
        const Fetched page = Fetch(url);
        Log(L"navigate\t" + url + L"\tcookies=" + sent + L"\tstatus=" + std::to_wstring(page.status));
        m_url = url;
        if (!page.reached || page.status >= 400) {
            m_title = L"Navigation failed";
            m_text = url;
            Repaint();
            NavigateError(self, url, page.reached ? static_cast<LONG>(page.status) : static_cast<LONG>(INET_E_RESOURCE_NOT_FOUND));
            DocumentEvent(DISPID_DOCUMENTCOMPLETE, self, url);
            return;
        }
        VisibleText(page.page, m_title, m_text);
        Repaint();
        DocumentEvent(DISPID_NAVIGATECOMPLETE2, self, url);
        for (const std::wstring& tag : Tags(page.page, L"iframe")) {
            const std::wstring src = DecodeEntities(Attribute(tag, L"src"));
            if (src.empty()) continue;
            const std::wstring address = Combine(url, src);
            auto* frame = new FrameDispatch;
            if (BeforeNavigate2(frame, address)) {
                Log(L"cancelled\t" + address);
            } else {
                const std::wstring frameCookies = CookiesFor(address);
                const Fetched inner = Fetch(address);
                Log(L"frame\t" + address + L"\tcookies=" + frameCookies + L"\tstatus=" + std::to_wstring(inner.status));
                DocumentEvent(DISPID_DOCUMENTCOMPLETE, frame, address);
            }
            frame->Release();
        }
        for (const std::wstring& tag : Tags(page.page, L"meta")) {
            if (Lower(Attribute(tag, L"http-equiv")) != L"refresh") continue;
            const std::wstring content = DecodeEntities(Attribute(tag, L"content"));
            const int seconds = _wtoi(content.c_str());
            const size_t at = Lower(content).find(L"url=");
            if (at == std::wstring::npos) continue;
            m_refreshUrl = Combine(url, content.substr(at + 4));
            ::SetTimer(m_messages, kRefreshTimer, static_cast<UINT>(std::max(seconds, 0)) * 1000 + 1, nullptr);
        }
        DocumentEvent(DISPID_DOCUMENTCOMPLETE, self, url);
    }

    // A VARIANT holding a BSTR, passed by reference as the events do.
    struct ByRefString {
        explicit ByRefString(const std::wstring& text) {
            inner.vt = VT_BSTR;
            inner.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            outer.vt = VT_BYREF | VT_VARIANT;
            outer.pvarVal = &inner;
        }
        ~ByRefString() { ::VariantClear(&inner); }
        VARIANT inner{}, outer{};
    };

    HRESULT Raise(DISPID id, std::vector<VARIANT>& args) {
        if (!m_sink) return S_OK;
        DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        return m_sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }

    // True when the sink cancelled the navigation.
    bool BeforeNavigate2(IDispatch* source, const std::wstring& url) {
        ByRefString address(url), target(L""), headers(L"");
        VARIANT flags{}, post{}, flagsRef{}, postRef{};
        flags.vt = VT_I4;
        flagsRef.vt = VT_BYREF | VT_VARIANT;
        flagsRef.pvarVal = &flags;
        postRef.vt = VT_BYREF | VT_VARIANT;
        postRef.pvarVal = &post;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        std::vector<VARIANT> args(7);
        args[6].vt = VT_DISPATCH;
        args[6].pdispVal = source;
        args[5] = address.outer;
        args[4] = flagsRef;
        args[3] = target.outer;
        args[2] = postRef;
        args[1] = headers.outer;
        args[0].vt = VT_BYREF | VT_BOOL;
        args[0].pboolVal = &cancel;
        Raise(DISPID_BEFORENAVIGATE2, args);
        return cancel != VARIANT_FALSE;
    }

    void DocumentEvent(DISPID id, IDispatch* source, const std::wstring& url) {
        ByRefString address(url);
        std::vector<VARIANT> args(2);
        args[1].vt = VT_DISPATCH;
        args[1].pdispVal = source;
        args[0] = address.outer;
        Raise(id, args);
    }

    void NavigateError(IDispatch* source, const std::wstring& url, LONG status) {
        ByRefString address(url), frame(L"");
        VARIANT code{}, codeRef{};
        code.vt = VT_I4;
        code.lVal = status;
        codeRef.vt = VT_BYREF | VT_VARIANT;
        codeRef.pvarVal = &code;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        std::vector<VARIANT> args(5);
        args[4].vt = VT_DISPATCH;
        args[4].pdispVal = source;
        args[3] = address.outer;
        args[2] = frame.outer;
        args[1] = codeRef;
        args[0].vt = VT_BYREF | VT_BOOL;
        args[0].pboolVal = &cancel;
        Raise(DISPID_NAVIGATEERROR, args);
    }

    void Repaint() {
        if (m_server) ::InvalidateRect(m_server, nullptr, TRUE);
        if (m_mirror) ::InvalidateRect(m_mirror, nullptr, TRUE);
    }

    // Keeps the mirror over the page window while that window's top-level
    // window is another process's, and out of the way otherwise.
    void FollowWithMirror() {
        HWND root = m_server ? ::GetAncestor(m_server, GA_ROOT) : nullptr;
        DWORD owner = 0;
        if (root) ::GetWindowThreadProcessId(root, &owner);
        if (!root || owner == ::GetCurrentProcessId()) {
            DestroyMirror();
            return;
        }
        RECT page{}, client{};
        ::GetWindowRect(m_server, &page);
        ::GetClientRect(root, &client);
        ::MapWindowPoints(root, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT shown{};
        const bool visible = ::IsWindowVisible(m_server) && !::IsIconic(root) && ::IntersectRect(&shown, &page, &client);
        if (!m_mirror) {
            if (!visible) return;
            m_mirror = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                         kMirrorClass, L"", WS_POPUP, shown.left, shown.top, shown.right - shown.left,
                                         shown.bottom - shown.top, root, nullptr, g_module, this);
            if (!m_mirror) return;
            ::SetLayeredWindowAttributes(m_mirror, 0, 255, LWA_ALPHA);
        }
        if (!visible) {
            ::ShowWindow(m_mirror, SW_HIDE);
            return;
        }
        RECT now{};
        ::GetWindowRect(m_mirror, &now);
        if (!::EqualRect(&now, &shown) || !::IsWindowVisible(m_mirror))
            ::SetWindowPos(m_mirror, nullptr, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
                           SWP_NOACTIVATE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }

    void DestroyMirror() {
        if (m_mirror) ::DestroyWindow(m_mirror);
        m_mirror = nullptr;
    }

    void Paint(HWND hwnd) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        RECT rc{};
        ::GetClientRect(hwnd, &rc);
        ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::SetBkMode(dc, TRANSPARENT);
        HFONT titleFont = ::CreateFontW(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"arial");
        HFONT textFont = ::CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"arial");
        RECT box{rc.left + 16, rc.top + 12, rc.right - 16, rc.bottom - 12};
        HGDIOBJ old = ::SelectObject(dc, titleFont);
        ::SetTextColor(dc, RGB(20, 20, 20));
        RECT titleBox = box;
        ::DrawTextW(dc, m_title.c_str(), -1, &titleBox, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        box.top += 34;
        ::SelectObject(dc, textFont);
        ::SetTextColor(dc, RGB(60, 60, 60));
        ::DrawTextW(dc, m_text.c_str(), -1, &box, DT_WORDBREAK | DT_NOPREFIX);
        ::SelectObject(dc, old);
        ::DeleteObject(titleFont);
        ::DeleteObject(textFont);
        ::EndPaint(hwnd, &ps);
    }

    void Deactivate() {
        DestroyMirror();
        if (m_outer) ::DestroyWindow(m_outer);
        m_outer = m_server = nullptr;
        if (m_inPlaceSite) {
            m_inPlaceSite->OnInPlaceDeactivate();
            m_inPlaceSite->Release();
            m_inPlaceSite = nullptr;
        }
    }

    volatile LONG m_ref = 1;
    IOleClientSite* m_site = nullptr;
    IOleInPlaceSite* m_inPlaceSite = nullptr;
    IDispatch* m_sink = nullptr;
    HWND m_messages = nullptr, m_outer = nullptr, m_server = nullptr, m_mirror = nullptr;
    std::vector<std::wstring> m_queue;
    std::wstring m_url, m_title, m_text, m_refreshUrl;
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* browser = new StandInBrowser;
        const HRESULT hr = browser->QueryInterface(iid, out);
        browser->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) ::InterlockedIncrement(&g_objects);
        else ::InterlockedDecrement(&g_objects);
        return S_OK;
    }
};
Factory g_factory;

void RegisterClasses() {
    WNDCLASSW wc{};
    wc.hInstance = g_module;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = &StandInBrowser::MessageProc;
    wc.lpszClassName = kMessageClass;
    ::RegisterClassW(&wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.lpszClassName = kOuterClass;
    ::RegisterClassW(&wc);
    wc.lpfnWndProc = &StandInBrowser::ServerProc;
    wc.lpszClassName = kServerClass;
    ::RegisterClassW(&wc);
    wc.lpszClassName = kMirrorClass;
    ::RegisterClassW(&wc);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
        RegisterClasses();
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_WebBrowser) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

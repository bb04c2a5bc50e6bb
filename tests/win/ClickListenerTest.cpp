#include <gtest/gtest.h>
#include <windows.h>
#include <mshtml.h>
#include <mshtmdid.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "game/GameView.h"

namespace qm {
namespace {

// IUnknown and IDispatch of a fake the test lends out: it counts references
// and never deletes itself, so a test can see that every one came back.
template <class Interface, const IID& kIid>
class Borrowed : public Interface {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIid) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    long refs = 1;
};

// Just enough of a document's element for the listener: a tag, an optional
// href and a parent.
class FakeElement : public Borrowed<IHTMLElement, IID_IHTMLElement> {
public:
    FakeElement(const wchar_t* tag, FakeElement* parent = nullptr, const wchar_t* href = nullptr)
        : m_tag(tag), m_parent(parent), m_href(href ? href : L""), m_hasHref(href != nullptr) {}
    STDMETHODIMP get_tagName(BSTR* tag) override {
        *tag = ::SysAllocString(m_tag.c_str());
        return S_OK;
    }
    STDMETHODIMP get_parentElement(IHTMLElement** parent) override {
        *parent = m_parent;
        if (m_parent) m_parent->AddRef();
        return S_OK;
    }
    STDMETHODIMP getAttribute(BSTR name, LONG flags, VARIANT* value) override {
        ::VariantInit(value);
        lastFlags = flags;
        if (std::wstring(name) != L"href" || !m_hasHref) {
            value->vt = VT_NULL;  // what a document answers for a missing attribute
            return S_OK;
        }
        value->vt = VT_BSTR;
        value->bstrVal = ::SysAllocString(m_href.c_str());
        return S_OK;
    }
#include "HtmlElementStubs.inc"
    LONG lastFlags = -1;

private:
    std::wstring m_tag;
    FakeElement* m_parent;
    std::wstring m_href;
    bool m_hasHref;
};

class FakeEvent : public Borrowed<IHTMLEventObj, IID_IHTMLEventObj> {
public:
    explicit FakeEvent(IHTMLElement* source) : m_source(source) {}
    STDMETHODIMP get_srcElement(IHTMLElement** source) override {
        *source = m_source;
        if (m_source) m_source->AddRef();
        return S_OK;
    }
#include "HtmlEventObjStubs.inc"

private:
    IHTMLElement* m_source;
};

// What the program writes with OutputDebugString while one of these lives:
// the call raises a first-chance exception that a vectored handler sees.
class DebugOutput {
public:
    DebugOutput() {
        s_lines = &lines;
        s_wide = false;
        m_handler = ::AddVectoredExceptionHandler(1, &DebugOutput::Handler);
    }
    ~DebugOutput() {
        ::RemoveVectoredExceptionHandler(m_handler);
        s_lines = nullptr;
    }
    std::vector<std::wstring> lines;
    // Windows raises the wide text; Wine only its ANSI form.
    bool Wide() const { return s_wide; }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD* record = info->ExceptionRecord;
        if (!s_lines || record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
        const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
        if (record->ExceptionCode == 0x4001000AL) {  // DBG_PRINTEXCEPTION_WIDE_C
            const auto* text = reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]);
            s_lines->emplace_back(text, length ? length - 1 : 0);
            s_wide = true;
        } else if (record->ExceptionCode == DBG_PRINTEXCEPTION_C) {
            const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            std::wstring wide;
            for (size_t i = 0; i + 1 < length; ++i) wide += static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
            s_lines->push_back(wide);
        } else {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        return EXCEPTION_CONTINUE_EXECUTION;  // handled: no debugger to tell
    }
    static std::vector<std::wstring>* s_lines;
    static bool s_wide;
    PVOID m_handler = nullptr;
};
std::vector<std::wstring>* DebugOutput::s_lines = nullptr;
bool DebugOutput::s_wide = false;

HRESULT Click(SDocEvtHandler& listener, IHTMLEventObj* event, DISPID id = DISPID_HTMLELEMENTEVENTS2_ONCLICK) {
    VARIANT arg;
    arg.vt = VT_DISPATCH;
    arg.pdispVal = event;
    DISPPARAMS params{&arg, nullptr, 1, 0};
    return listener.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

TEST(ClickListener, FindsTheLinkAnElementBelongsTo) {
    FakeElement body(L"BODY");
    FakeElement link(L"A", &body, L"http://www.vexo.com/news/");
    FakeElement image(L"IMG", &link);
    FakeElement lower(L"a", &body, L"/shop");
    FakeElement bare(L"A", &body);
    FakeElement text(L"SPAN", &body);
    FakeElement abbr(L"ABBR", &body, L"not a link");
    const struct {
        FakeElement* clicked;
        bool inLink;
        const wchar_t* href;
    } cases[] = {
        {&link, true, L"http://www.vexo.com/news/"},
        {&image, true, L"http://www.vexo.com/news/"},  // an image inside a link
        {&lower, true, L"/shop"},
        {&bare, true, L""},  // a link without href
        {&text, false, L""},
        {&abbr, false, L""},  // a tag that only starts with "a"
        {&body, false, L""},
    };
    for (const auto& c : cases) {
        std::wstring href = L"unchanged";
        EXPECT_EQ(SDocEvtHandler::FindLinkHref(c.clicked, href), c.inLink) << test::Utf8(c.href);
        if (c.inLink) {
            EXPECT_EQ(href, c.href);
        }
    }
    EXPECT_EQ(link.lastFlags, 0) << "the attribute as the document holds it";
    for (FakeElement* e : {&body, &link, &image, &lower, &bare, &text, &abbr})
        EXPECT_EQ(e->refs, 1) << "every element handed back";
}

TEST(ClickListener, TracesEachClickOnALinkOnce) {
    FakeElement body(L"BODY");
    FakeElement link(L"A", &body, L"http://www.vexo.com/pay/");
    FakeElement image(L"IMG", &link);
    FakeElement text(L"P", &body);
    FakeEvent onImage(&image), onText(&text), nowhere(nullptr);
    SDocEvtHandler listener;
    DebugOutput output;
    EXPECT_EQ(Click(listener, &onImage), S_OK);
    EXPECT_EQ(Click(listener, &onText), S_OK);
    EXPECT_EQ(Click(listener, &nowhere), S_OK);
    EXPECT_EQ(Click(listener, &onImage, DISPID_HTMLELEMENTEVENTS2_ONDBLCLICK), S_OK) << "other events are not traced";
    EXPECT_EQ(Click(listener, nullptr), S_OK) << "a null event object is ignored";
    ASSERT_EQ(output.lines.size(), 1u);
    const std::wstring& line = output.lines[0];
    const std::wstring tail = L"http://www.vexo.com/pay/\r\n";
    ASSERT_GE(line.size(), tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
    if (output.Wide()) {
        EXPECT_EQ(line, L"单击事件:" + tail);
    } else {
        EXPECT_EQ(line.size(), tail.size() + 5) << "five characters before the address, in the ANSI code page";
    }
    EXPECT_EQ(onImage.refs, 1);
    EXPECT_EQ(image.refs, 1);
}

}  // namespace
}  // namespace qm

#include "ui/Images.h"

#include <cstring>

#include "core/TextFit.h"

namespace qm {

namespace {

// The bytes of a resource of the executable; false when it is missing or empty.
bool FindResourceBytes(UINT id, const wchar_t* type, const void*& bytes, DWORD& size) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!resource) return false;
    size = ::SizeofResource(module, resource);
    if (size == 0) return false;
    HGLOBAL loaded = ::LoadResource(module, resource);
    bytes = loaded ? ::LockResource(loaded) : nullptr;
    return bytes != nullptr;
}

}  // namespace

CPngImage::CPngImage(HGLOBAL block, win::ComPtr<IStream> stream)
    // GDI+ objects allocate through GdipAlloc, which gives null rather than throwing.
    : m_hBlock(block), m_stream(std::move(stream)), m_image(new Gdiplus::Image(m_stream.Get())) {}

CPngImage::~CPngImage() {
    // The image first: it may still read from the stream while it goes.
    m_image.reset();
    m_stream.Reset();
    if (m_hBlock) ::GlobalFree(m_hBlock);
}

UINT CPngImage::Width() const {
    return m_image && m_image->GetLastStatus() == Gdiplus::Ok ? m_image->GetWidth() : 0;
}
UINT CPngImage::Height() const {
    return m_image && m_image->GetLastStatus() == Gdiplus::Ok ? m_image->GetHeight() : 0;
}

std::unique_ptr<CPngImage> LoadPngImage(UINT id) {
    const void* bytes = nullptr;
    DWORD size = 0;
    if (!FindResourceBytes(id, L"PNG", bytes, size)) return nullptr;
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, size);
    if (!block) return nullptr;
    std::memcpy(block, bytes, size);  // a fixed block's handle is its address
    win::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(block, FALSE, stream.ReleaseAndGetAddressOf()))) {
        ::GlobalFree(block);
        return nullptr;
    }
    auto image = std::unique_ptr<CPngImage>(new (std::nothrow) CPngImage(block, std::move(stream)));
    if (!image) {
        ::GlobalFree(block);
        return nullptr;
    }
    if (!image->Get()) return nullptr;  // the destructor released stream and block
    return image;
}

CGdiPlusBitmap::~CGdiPlusBitmap() { DeleteBitmap(); }

void CGdiPlusBitmap::DeleteBitmap() {
    delete m_pBitmap;
    m_pBitmap = nullptr;
}

UINT CGdiPlusBitmap::Width() const {
    return m_pBitmap && m_pBitmap->GetLastStatus() == Gdiplus::Ok ? m_pBitmap->GetWidth() : 0;
}
UINT CGdiPlusBitmap::Height() const {
    return m_pBitmap && m_pBitmap->GetLastStatus() == Gdiplus::Ok ? m_pBitmap->GetHeight() : 0;
}

CGdiPlusBitmapResource::~CGdiPlusBitmapResource() { Release(); }

void CGdiPlusBitmapResource::Release() {
    DeleteBitmap();
    if (m_hBuffer) {
        ::GlobalUnlock(m_hBuffer);
        ::GlobalFree(m_hBuffer);
        m_hBuffer = nullptr;
    }
}

bool CGdiPlusBitmapResource::Load(UINT id, const wchar_t* type) {
    Release();
    const void* bytes = nullptr;
    DWORD size = 0;
    if (!FindResourceBytes(id, type, bytes, size)) return false;
    m_hBuffer = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!m_hBuffer) return false;
    void* target = ::GlobalLock(m_hBuffer);
    if (!target) {
        ::GlobalFree(m_hBuffer);
        m_hBuffer = nullptr;
        return false;
    }
    std::memcpy(target, bytes, size);
    {
        win::ComPtr<IStream> stream;
        if (SUCCEEDED(::CreateStreamOnHGlobal(m_hBuffer, FALSE, stream.ReleaseAndGetAddressOf())))
            m_pBitmap = Gdiplus::Bitmap::FromStream(stream.Get());
    }
    if (m_pBitmap && m_pBitmap->GetLastStatus() == Gdiplus::Ok) return true;
    Release();
    return false;
}

std::unique_ptr<Gdiplus::FontFamily> FontFamilyOrSansSerif(const wchar_t* name) {
    auto family = std::make_unique<Gdiplus::FontFamily>(name);
    if (family->IsAvailable()) return family;
    return std::unique_ptr<Gdiplus::FontFamily>(Gdiplus::FontFamily::GenericSansSerif()->Clone());
}

std::wstring FitTextToBox(const Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
                          const Gdiplus::RectF& box, const Gdiplus::StringFormat& format) {
    // Measured whole lines only and untrimmed: what fits is what is counted.
    Gdiplus::StringFormat measuring(&format);
    measuring.SetTrimming(Gdiplus::StringTrimmingNone);
    measuring.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsLineLimit);
    auto fits = [&](const std::wstring& candidate) {
        if (candidate.empty()) return true;
        Gdiplus::RectF bounds;
        INT fitted = 0, lines = 0;
        if (graphics.MeasureString(candidate.c_str(), static_cast<INT>(candidate.size()), &font, box, &measuring,
                                   &bounds, &fitted, &lines) != Gdiplus::Ok)
            return true;  // cannot tell: leave the text to GDI+
        return fitted >= static_cast<INT>(candidate.size());
    };
    return ShortenWithEllipsis(text, fits);
}

}  // namespace qm

#pragma once
// Skin images from the executable's "PNG" resources, decoded once by the
// window that owns them.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "win/ComPtr.h"

namespace qm {

// An image decoded by LoadPngImage, together with the memory it reads from:
// GDI+ may go back to the stream while drawing, so the stream and its block
// live exactly as long as the image.
class CPngImage {
public:
    CPngImage(HGLOBAL block, win::ComPtr<IStream> stream);
    ~CPngImage();
    CPngImage(const CPngImage&) = delete;
    CPngImage& operator=(const CPngImage&) = delete;

    // Null only when the image object could not be allocated.
    Gdiplus::Image* Get() const noexcept { return m_image.get(); }
    Gdiplus::Image* operator->() const noexcept { return m_image.get(); }
    // The decoded size; 0 × 0 when the bytes did not decode.
    UINT Width() const;
    UINT Height() const;

private:
    HGLOBAL m_hBlock;
    win::ComPtr<IStream> m_stream;
    std::unique_ptr<Gdiplus::Image> m_image;
};

// The image of "PNG" resource id, or null when there is no such resource (or
// no memory). Bytes that are not a PNG still give an image, one that reports
// 0 × 0 and draws nothing.
std::unique_ptr<CPngImage> LoadPngImage(UINT id);

// One decoded bitmap, deleted with the object.
class CGdiPlusBitmap {
public:
    CGdiPlusBitmap() = default;
    virtual ~CGdiPlusBitmap();
    CGdiPlusBitmap(const CGdiPlusBitmap&) = delete;
    CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = delete;

    Gdiplus::Bitmap* m_pBitmap = nullptr;
    UINT Width() const;
    UINT Height() const;

protected:
    void DeleteBitmap();
};

// A bitmap decoded from a resource, with the copy of the resource bytes it
// reads from held locked for as long as the bitmap exists.
class CGdiPlusBitmapResource : public CGdiPlusBitmap {
public:
    CGdiPlusBitmapResource() = default;
    ~CGdiPlusBitmapResource() override;

    // Releases what is held, then loads resource id of the type; true when a
    // decodable bitmap is held.
    bool Load(UINT id, const wchar_t* type = L"PNG");

private:
    void Release();
    HGLOBAL m_hBuffer = nullptr;
};

// A named font family, or the generic sans-serif one where it is not
// installed, so that skin texts are drawn on every machine.
std::unique_ptr<Gdiplus::FontFamily> FontFamilyOrSansSerif(const wchar_t* name);

// The text cut to the whole lines that fit in the box, ending in an ellipsis
// when it was cut. GDI+ trims this way itself on Windows, but not everywhere
// (Wine's does not), so the skins shorten their texts first.
std::wstring FitTextToBox(const Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
                          const Gdiplus::RectF& box, const Gdiplus::StringFormat& format);

}  // namespace qm

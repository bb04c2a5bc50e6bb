#include <gtest/gtest.h>
#include <windows.h>

#include "TestDialogs.h"
#include "res/resource.h"
#include "ui/Images.h"

namespace qm {
namespace {

// The colour of one pixel as GDI+ decoded it.
Gdiplus::Color PixelOf(Gdiplus::Image* image, UINT x, UINT y) {
    Gdiplus::Bitmap canvas(image->GetWidth(), image->GetHeight(), PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&canvas);
        g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        g.DrawImage(image, 0, 0, image->GetWidth(), image->GetHeight());
    }
    Gdiplus::Color colour;
    canvas.GetPixel(x, y, &colour);
    return colour;
}

TEST(LoadPngImage, DecodesCatalogueImagesAtTheirSize) {
    struct Case {
        UINT id, width, height;
    } cases[] = {{IDB_TITLE_MIDDLE, 1, 30}, {IDB_TITLE_LEFT, 203, 30}, {IDB_MSGBOX_BACKGROUND, 256, 112},
                 {IDB_LOGIN_SKIN, 1351, 747}, {IDB_MASK_SPINNER_4, 23, 23}};
    for (const Case& c : cases) {
        auto image = LoadPngImage(c.id);
        ASSERT_TRUE(image) << c.id;
        EXPECT_EQ(image->Width(), c.width) << c.id;
        EXPECT_EQ(image->Height(), c.height) << c.id;
    }
    // The mask's tile is black at alpha 230: the alpha channel survives decoding.
    auto tile = LoadPngImage(IDB_MASK_BACKGROUND);
    ASSERT_TRUE(tile);
    Gdiplus::Color c = PixelOf(tile->Get(), 0, 0);
    EXPECT_EQ(c.GetA(), 230);
    EXPECT_EQ(c.GetR() | c.GetG() | c.GetB(), 0);
}

TEST(LoadPngImage, MissingIdGivesNoneAndBadBytesGiveAnEmptyImage) {
    EXPECT_FALSE(LoadPngImage(9999));
    EXPECT_FALSE(LoadPngImage(IDB_POPUP_BACKGROUND)) << "318 is a bitmap, not a PNG resource";
    auto broken = LoadPngImage(IDR_NOT_A_PNG);
    ASSERT_TRUE(broken) << "an image object even when decoding fails";
    EXPECT_EQ(broken->Width(), 0u);
    EXPECT_EQ(broken->Height(), 0u);
}

TEST(GdiPlusBitmapResource, LoadReleasesWhatItHeldAndCanLoadAgain) {
    CGdiPlusBitmapResource bitmap;
    EXPECT_FALSE(bitmap.Load(9999));
    EXPECT_EQ(bitmap.m_pBitmap, nullptr);
    ASSERT_TRUE(bitmap.Load(IDB_CLOSE_HOVER)) << "a failed load leaves the object usable";
    EXPECT_EQ(bitmap.Width(), 26u);
    EXPECT_EQ(bitmap.Height(), 24u);
    EXPECT_FALSE(bitmap.Load(IDR_NOT_A_PNG));
    EXPECT_EQ(bitmap.m_pBitmap, nullptr) << "the previous bitmap is gone after a failed load";
    EXPECT_EQ(bitmap.Width(), 0u);
    ASSERT_TRUE(bitmap.Load(IDB_SERVER_NORMAL));
    EXPECT_EQ(bitmap.Width(), 59u);
    // The bitmap still reads from its block: its pixels are there after loading.
    Gdiplus::Color c;
    EXPECT_EQ(bitmap.m_pBitmap->GetPixel(30, 12, &c), Gdiplus::Ok);
    EXPECT_FALSE(bitmap.Load(IDB_POPUP_BACKGROUND)) << "no PNG resource 318";
}

}  // namespace
}  // namespace qm

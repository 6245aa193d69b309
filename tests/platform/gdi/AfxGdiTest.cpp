#include "AfxDC.h"
#include "AtlImage.h"
#include "GdiTestSurface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>
#include <string>
#include <unistd.h>
#include <vector>

TEST(AfxGdi, CdcDrawsIntoASelectedBitmap)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CDC* screen = CDC::FromHandle(::GetDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 10, 10));
    CBitmap* old = dc.SelectObject(&bitmap);
    ASSERT_NE(old, nullptr);
    dc.FillSolidRect(0, 0, 10, 10, RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(9, 9), RGB(1, 2, 3));
    dc.Draw3dRect(1, 1, 8, 8, RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(8, 8), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(8, 1), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(4, 4), RGB(1, 2, 3));
    BITMAP bm{};
    bitmap.GetBitmap(&bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    dc.SelectObject(old);
    ::ReleaseDC(nullptr, screen->Detach());
    CDC::DeleteTempMap();
}

TEST(AfxGdi, HandleMapsGivePermanentOrTemporaryWrappers)
{
    CPen pen(PS_SOLID, 1, RGB(9, 9, 9));
    EXPECT_EQ(CPen::FromHandle(pen), &pen);
    HBRUSH raw = ::CreateSolidBrush(RGB(1, 1, 1));
    CBrush* temp = CBrush::FromHandle(raw);
    EXPECT_EQ(CBrush::FromHandle(raw), temp);
    LOGBRUSH lb{};
    temp->GetLogBrush(&lb);
    EXPECT_EQ(lb.lbColor, RGB(1, 1, 1));
    CGdiObject::DeleteTempMap();
    // Freeing the temporary wrapper left the brush alive.
    EXPECT_EQ(::GetObjectType(raw), DWORD(OBJ_BRUSH));
    EXPECT_TRUE(::DeleteObject(raw));
    {
        CBrush owned(RGB(5, 5, 5));
        raw = owned;
    }
    EXPECT_EQ(::GetObjectType(raw), 0u); // the wrapper deleted its brush
}

TEST(AfxGdi, PointFontsConvertTenthsOfAPoint)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Arial"));
    LOGFONTA lf{};
    EXPECT_EQ(font.GetLogFont(&lf), int(sizeof(LOGFONTA)));
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
}

TEST(AfxGdi, HalftoneBrushIsACheckerboard)
{
    GdiTestSurface s(4, 2);
    CDC* dc = CDC::FromHandle(s.Dc());
    CBrush* old = dc->SelectObject(CDC::GetHalftoneBrush());
    dc->PatBlt(0, 0, 4, 2, PATCOPY);
    EXPECT_NE(s.At(0, 0), s.At(1, 0));
    EXPECT_NE(s.At(0, 0), s.At(0, 1));
    EXPECT_EQ(s.At(0, 0), s.At(1, 1));
    dc->SelectObject(old);
    CDC::DeleteTempMap();
}

TEST(AfxGdi, RegionWrapperCombines)
{
    CRgn a;
    CRgn b;
    CRgn r;
    a.CreateRectRgn(0, 0, 4, 4);
    b.CreateEllipticRgn(2, 2, 8, 8);
    r.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(r.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(r.PtInRegion(5, 5));
    CRect box;
    r.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 8, 8));
}

namespace
{
// Decodes a JPEG file to RGB with libjpeg.
bool DecodeJpeg(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgb)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = int(info.output_width);
    height = int(info.output_height);
    rgb.resize(std::size_t(width) * std::size_t(height) * 3);
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = rgb.data() + std::size_t(info.output_scanline) * std::size_t(width) * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return true;
}
} // namespace

TEST(AtlImage, SavesTheAttachedBitmapAsJpeg)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 32, 16);
    ::ReleaseDC(nullptr, screen);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        HGDIOBJ old = dc.SelectObject(HGDIOBJ(bitmap));
        dc.FillSolidRect(0, 0, 32, 8, RGB(255, 0, 0));
        dc.FillSolidRect(0, 8, 32, 8, RGB(0, 0, 255));
        dc.SelectObject(old);
    }
    const std::string path =
        std::string(SUITE_OUTPUT_DIR) + "/atlimage-" + std::to_string(::getpid()) + ".jpg";
    CImage image;
    image.Attach(bitmap);
    EXPECT_EQ(image.GetWidth(), 32);
    EXPECT_EQ(image.Save(path.c_str(), Gdiplus::ImageFormatJPEG), S_OK);
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    ASSERT_TRUE(DecodeJpeg(path, width, height, rgb));
    EXPECT_EQ(width, 32);
    EXPECT_EQ(height, 16);
    // The top half is red and the bottom half blue: rows stay top-down.
    EXPECT_GT(rgb[0], 200);
    EXPECT_LT(rgb[2], 60);
    const std::size_t bottom = (std::size_t(15) * 32 + 5) * 3;
    EXPECT_LT(rgb[bottom], 60);
    EXPECT_GT(rgb[bottom + 2], 200);
    std::remove(path.c_str());

    const GUID other{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(image.Save(path.c_str(), other), E_INVALIDARG);
    EXPECT_EQ(image.Save("/nonexistent-folder/x.jpg", Gdiplus::ImageFormatJPEG), E_FAIL);
    image.Destroy();
    EXPECT_EQ(::GetObjectType(bitmap), 0u); // destroyed with the image
    EXPECT_EQ(image.Save(path.c_str(), Gdiplus::ImageFormatJPEG), E_FAIL);
}

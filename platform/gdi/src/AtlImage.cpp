#include "AtlImage.h"

#include "NativePath.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

const GUID Gdiplus::ImageFormatJPEG = {
    0xB96B3CAE, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

namespace
{
struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info)
{
    // libjpeg must not end the process: return to the caller instead.
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void Silence(j_common_ptr, int) {}

// The bitmap's pixels as top-down RGB rows.
bool ReadRgb(HBITMAP hBitmap, int& width, int& height, std::vector<std::uint8_t>& rgb)
{
    BITMAP bm{};
    if (::GetObjectA(hBitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    width = bm.bmWidth;
    height = bm.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const std::size_t rowBytes = ((std::size_t(width) * 24 + 31) / 32) * 4;
    std::vector<std::uint8_t> bgr(rowBytes * std::size_t(height));
    HDC screen = ::GetDC(nullptr);
    const int rows =
        ::GetDIBits(screen, hBitmap, 0, UINT(height), bgr.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height)
        return false;
    rgb.resize(std::size_t(width) * 3 * std::size_t(height));
    for (int y = 0; y < height; ++y)
    {
        const std::uint8_t* src = bgr.data() + std::size_t(y) * rowBytes;
        std::uint8_t* dst = rgb.data() + std::size_t(y) * std::size_t(width) * 3;
        for (int x = 0; x < width; ++x)
        {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return true;
}

bool WriteJpeg(std::FILE* file, int width, int height, std::vector<std::uint8_t>& rgb)
{
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.manager.emit_message = Silence;
    if (setjmp(error.jump) != 0)
    {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, CImage::kJpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
    {
        JSAMPROW row = rgb.data() + std::size_t(info.next_scanline) * std::size_t(width) * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}
} // namespace

CImage::~CImage()
{
    Destroy();
}

void CImage::Attach(HBITMAP hBitmap)
{
    Destroy();
    m_hBitmap = hBitmap;
}

HBITMAP CImage::Detach()
{
    HBITMAP hBitmap = m_hBitmap;
    m_hBitmap = nullptr;
    return hBitmap;
}

void CImage::Destroy()
{
    if (m_hBitmap != nullptr)
        ::DeleteObject(Detach());
}

int CImage::GetWidth() const
{
    BITMAP bm{};
    return ::GetObjectA(m_hBitmap, sizeof(bm), &bm) ? bm.bmWidth : 0;
}

int CImage::GetHeight() const
{
    BITMAP bm{};
    return ::GetObjectA(m_hBitmap, sizeof(bm), &bm) ? bm.bmHeight : 0;
}

HRESULT CImage::Save(LPCSTR path, const GUID& format) const
{
    if (!(format == Gdiplus::ImageFormatJPEG))
        return E_INVALIDARG;
    if (m_hBitmap == nullptr || path == nullptr)
        return E_FAIL;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    if (!ReadRgb(m_hBitmap, width, height, rgb))
        return E_FAIL;
    std::FILE* file = std::fopen(GetNativePath(path).c_str(), "wb");
    if (file == nullptr)
        return E_FAIL;
    const bool written = WriteJpeg(file, width, height, rgb);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
    {
        std::remove(GetNativePath(path).c_str());
        return E_FAIL;
    }
    return S_OK;
}

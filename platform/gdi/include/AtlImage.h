// A small image class of the ATL shape that writes an attached bitmap as a
// baseline JPEG file through libjpeg-turbo, at the fixed quality
// CImage::kJpegQuality (90). Only the JPEG format is offered.
#pragma once

#include "PlatformGDIExport.h"
#include "WinCom.h"
#include "WinError.h"
#include "WinGdi.h"

namespace Gdiplus
{
// {B96B3CAE-0728-11D3-9D7B-0000F81EF32E}
PLATFORMGDI_API extern const GUID ImageFormatJPEG;
} // namespace Gdiplus

class PLATFORMGDI_API CImage
{
public:
    static constexpr int kJpegQuality = 90;

    CImage() = default;
    ~CImage();
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Takes the bitmap over: Destroy (and the destructor) deletes it.
    void Attach(HBITMAP hBitmap);
    HBITMAP Detach();
    void Destroy();
    bool IsNull() const { return m_hBitmap == nullptr; }
    operator HBITMAP() const { return m_hBitmap; }
    int GetWidth() const;
    int GetHeight() const;

    // Writes the bitmap as top-down RGB JPEG. E_FAIL without a bitmap or when
    // the file cannot be written, E_INVALIDARG for another format.
    HRESULT Save(LPCSTR path, const GUID& format) const;

private:
    HBITMAP m_hBitmap = nullptr;
};

#include "DIBHolder.h"

#include "AtlImage.h"
#include "QuillonLog.h"
#include "WinError.h"
#include "WinGlobalMemory.h"
#include "WinInterlocked.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

DIBHolder::Info DIBHolder::s_Empty = {-1, 0, 0, {}};

DIBHolder::DIBHolder() : m_hDIB(nullptr), m_pInfo(&s_Empty) {}

DIBHolder::DIBHolder(const DIBHolder& other) : DIBHolder()
{
    Share(other);
}

DIBHolder& DIBHolder::operator=(const DIBHolder& other)
{
    if (m_hDIB != other.m_hDIB || m_pInfo != other.m_pInfo)
    {
        Release();
        Share(other);
    }
    return *this;
}

DIBHolder::~DIBHolder()
{
    Release();
}

void DIBHolder::Share(const DIBHolder& other)
{
    if (other.IsOnEmpty())
    {
        return;
    }
    m_hDIB = other.m_hDIB;
    m_pInfo = other.m_pInfo;
    InterlockedIncrement(&m_pInfo->nRefs);
}

void DIBHolder::Release()
{
    if (!IsOnEmpty() && InterlockedDecrement(&m_pInfo->nRefs) <= 0)
    {
        DestroyDIB(m_hDIB);
        delete m_pInfo;
    }
    m_hDIB = nullptr;
    m_pInfo = &s_Empty;
}

DWORD DIBHolder::ComputeImageSize(const BITMAPINFOHEADER& header)
{
    if (header.biSizeImage != 0)
    {
        return header.biSizeImage;
    }
    const std::uint64_t rowBits =
        std::uint64_t(header.biBitCount) * std::uint64_t(std::llabs(header.biWidth)) + 31;
    const std::uint64_t rowBytes = rowBits / 8 / 4 * 4;
    return static_cast<DWORD>(rowBytes * std::uint64_t(std::llabs(header.biHeight)));
}

DWORD DIBHolder::ComputeColors(const BITMAPINFOHEADER& header)
{
    if (header.biClrUsed != 0)
    {
        return header.biClrUsed;
    }
    switch (header.biBitCount)
    {
    case 1:
    case 4:
    case 8:
        return DWORD(1) << header.biBitCount;
    default:
        return 0;
    }
}

DIBHolder& DIBHolder::AttachDIB(HDIB dib)
{
    Release();
    if (dib == nullptr)
    {
        return *this;
    }
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    if (header != nullptr && GlobalSize(dib) < sizeof(BITMAPINFOHEADER))
    {
        GlobalUnlock(dib);
        header = nullptr;
    }
    if (header == nullptr)
    {
        quillon::_error("Enter DIBHolder::AttachDIB, Cannot lock 0x%0x",
                        static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(dib)));
        DestroyDIB(dib);
        return *this;
    }
    auto* info = new Info{1, 0, 0, *header};
    GlobalUnlock(dib);
    info->nTotalSize =
        info->header.biSize + 4 * ComputeColors(info->header) + ComputeImageSize(info->header);
    info->nTotalSize2 = info->nTotalSize;
    m_hDIB = dib;
    m_pInfo = info;
    return *this;
}

void DIBHolder::CopyTo(DIBHolder& target) const
{
    if (&target == this)
    {
        return;
    }
    target.Release();
    const DWORD size = m_pInfo->nTotalSize;
    if (m_hDIB == nullptr || size == 0)
    {
        return;
    }
    const void* source = GlobalLock(m_hDIB);
    if (source == nullptr)
    {
        return;
    }
    HGLOBAL copy = GlobalAlloc(GHND, size);
    void* bytes = copy != nullptr ? GlobalLock(copy) : nullptr;
    if (bytes == nullptr)
    {
        GlobalUnlock(m_hDIB);
        if (copy != nullptr)
        {
            DestroyDIB(copy);
        }
        return;
    }
    std::memcpy(bytes, source, std::min<SIZE_T>(size, GlobalSize(m_hDIB)));
    GlobalUnlock(copy);
    GlobalUnlock(m_hDIB);
    target.AttachDIB(copy);
}

LONG DIBHolder::GetHeight() const
{
    const LONG height = m_pInfo->header.biHeight;
    return height < 0 ? -height : height;
}

bool DIBHolder::SaveBitmap(const char* path) const
{
    return m_hDIB != nullptr && path != nullptr && SaveDIB(m_hDIB, path) == 0;
}

bool DIBHolder::SaveJPEG(const char* path) const
{
    if (m_hDIB == nullptr || path == nullptr)
    {
        return false;
    }
    HBITMAP bitmap = DIBToBitmap(m_hDIB, nullptr);
    if (bitmap == nullptr)
    {
        return false;
    }
    CImage image;
    image.Attach(bitmap);
    const HRESULT result = image.Save(path, Gdiplus::ImageFormatJPEG);
    if (FAILED(result))
    {
        quillon::_error("DIBHolder::SaveJPEG.CImage.Save : %s, 0x%08x", path,
                        static_cast<unsigned>(result));
        return false;
    }
    return true;
}

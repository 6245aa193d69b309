#include "ImageShow.h"

#include "DICOMImage.h"
#include "ImageShowConfig.h"
#include "QuillonLog.h"

#include <algorithm>
#include <cstring>
#include <utility>

IMPLEMENT_DYNAMIC(ImageShow, CObject)

namespace
{

int s_nLastInstanceNo = 0;

// The instance number of a new ImageShow; the first one of the process
// reads the viewer configuration first.
int NextInstanceNo()
{
    if (s_nLastInstanceNo == 0)
    {
        ImageShowConfig::Get();
    }
    return ++s_nLastInstanceNo;
}

// 0 uncompressed, 1 lossless, 2 lossy: by Lossy Image Compression
// (0028,2110), else by the transfer syntax.
int CompressionOf(DICOMImage* image)
{
    if (image == nullptr)
    {
        return 0;
    }
    if (image->GetLettra(0x0028, 0x2110).Trim().Compare("01") == 0)
    {
        return 2;
    }
    const Lettra syntax = image->GetLettra(0x0002, 0x0010).Trim();
    static const char* const lossless[] = {"1.2.840.10008.1.2.4.57", "1.2.840.10008.1.2.4.70",
                                           "1.2.840.10008.1.2.4.80", "1.2.840.10008.1.2.4.90",
                                           "1.2.840.10008.1.2.5"};
    static const char* const native[] = {"", "1.2.840.10008.1.2", "1.2.840.10008.1.2.1",
                                         "1.2.840.10008.1.2.2", "1.2.840.10008.1.2.1.99"};
    for (const char* uid : native)
    {
        if (syntax.Compare(uid) == 0)
        {
            return 0;
        }
    }
    for (const char* uid : lossless)
    {
        if (syntax.Compare(uid) == 0)
        {
            return 1;
        }
    }
    return 2;
}

} // namespace

ImageShow::ImageShow()
    : m_MetaImage(std::make_unique<MetaImage>()), m_Chain(""), m_nInstanceNo(NextInstanceNo())
{
    m_Chain.SetTrace(false);
}

ImageShow::ImageShow(const ImageShow& other)
    : m_State(other.m_State & ~std::uint32_t(enModified)),
      m_MetaImage(std::make_unique<MetaImage>()), m_pView(nullptr), m_Chain(""),
      m_nInstanceNo(NextInstanceNo()), m_Holder(other.m_Holder), m_dSpacingX(other.m_dSpacingX),
      m_dSpacingY(other.m_dSpacingY), m_nSpacingKind(other.m_nSpacingKind),
      m_bOverlayFollowsHVR(other.m_bOverlayFollowsHVR), m_bInvert(other.m_bInvert),
      m_bInverse(other.m_bInverse), m_Zoom(other.m_Zoom), m_nPanX(other.m_nPanX),
      m_nPanY(other.m_nPanY), m_bFOVMode(other.m_bFOVMode), m_nDisplayMode1(other.m_nDisplayMode1),
      m_nDisplayMode2(other.m_nDisplayMode2), m_nDisplayMode(other.m_nDisplayMode),
      m_ViewRect(other.m_ViewRect), m_ViewSize(other.m_ViewSize),
      m_nFrameIndex(other.m_nFrameIndex), m_nNbOfFrames(other.m_nNbOfFrames),
      m_nCompression(other.m_nCompression), m_bSortAllowed(other.m_bSortAllowed),
      m_nIconFlags(other.m_nIconFlags)
{
    std::memcpy(m_HVR, other.m_HVR, sizeof m_HVR);
    m_Chain.SetTrace(false);
}

ImageShow::~ImageShow()
{
    m_Chain.Clear();
    delete m_Map;
    delete m_pMask;
}

std::uint32_t ImageShow::GetIconFlags() const
{
    return m_nIconFlags | (m_Rois.GetCount() > 0 ? std::uint32_t(enIconAnnotated) : 0);
}

ImageShow* ImageShow::Clone() const
{
    return new ImageShow(*this);
}

ImageShow* ImageShow::CloneForFrame(int frame) const
{
    ImageShow* copy = Clone();
    copy->AttachCorvane(m_Holder, frame);
    copy->m_nNbOfFrames = m_nNbOfFrames;
    return copy;
}

void ImageShow::AttachCorvane(const Corvane& holder, int frame)
{
    m_Holder = holder;
    m_nFrameIndex = frame < 0 ? 0 : frame;
    m_nNbOfFrames = m_Holder.GetNumberOfFrames();
    m_nCompression = CompressionOf(m_Holder.GetDicomFile());
    m_bSortAllowed = m_Holder.IsToBeSorted() ? 1 : 0;
    m_bLoadFailed = false;
}

Lettra ImageShow::GetDicomValue(unsigned short group, unsigned short element) const
{
    const DICOMImage* image = m_Holder.GetDicomFile();
    if (image != nullptr && image->IsExist(group, element) != 0)
    {
        return image->GetLettra(group, element).Trim();
    }
    return m_Holder.GetLettra(group, element).Trim();
}

bool ImageShow::IsSameImage(const ImageShow& other) const
{
    return m_Holder.IsEqual(other.m_Holder) && m_nFrameIndex == other.m_nFrameIndex;
}

void ImageShow::SetModified(bool modified)
{
    m_State = modified ? (m_State | enModified) : (m_State & ~std::uint32_t(enModified));
}

void ImageShow::AddAnnotation(const RoiPtr& roi)
{
    if (roi != nullptr)
    {
        SetModified(true);
        m_Rois.AddTail(roi);
    }
}

void ImageShow::AddAnnotation(ORoi* roi)
{
    AddAnnotation(RoiPtr(roi));
}

bool ImageShow::RemoveAnnotation(ORoi* roi)
{
    for (auto* node = m_Rois.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item.get() == roi)
        {
            SetModified(true);
            return m_Rois.Remove(node->item) != 0;
        }
    }
    return false;
}

bool ImageShow::DeleteAnnotation(ORoi* roi)
{
    return roi != nullptr && roi->CanRemove() && RemoveAnnotation(roi);
}

int ImageShow::IndexOfAnnotation(const ORoi* roi) const
{
    int index = 0;
    for (auto* node = m_Rois.GetHead(); node != nullptr; node = node->next, ++index)
    {
        if (node->item.get() == roi)
        {
            return index;
        }
    }
    return -1;
}

bool ImageShow::MoveAnnotation(int from, int to)
{
    const int last = m_Rois.GetCount() - 1;
    if (last < 0)
    {
        return false;
    }
    from = std::clamp(from, 0, last);
    to = std::clamp(to, 0, last);
    if (from != to)
    {
        m_Rois.Move(from, to);
        SetModified(true);
    }
    return true;
}

void ImageShow::ClearAnnotations()
{
    SetModified(true);
    m_Rois.RemoveAll();
}

void ImageShow::CopyAnnotationsTo(ImageShow& other, bool select) const
{
    CloneAnnotationsTo(other, false, select);
}

void ImageShow::CopySelectedAnnotationsTo(ImageShow& other) const
{
    CloneAnnotationsTo(other, true, false);
}

void ImageShow::CloneAnnotationsTo(ImageShow& other, bool selectedOnly, bool select) const
{
    if (&other == this)
    {
        return;
    }
    if (select)
    {
        for (auto* node = other.m_Rois.GetHead(); node != nullptr; node = node->next)
        {
            node->item->Deselect(false);
        }
    }
    for (auto* node = m_Rois.GetHead(); node != nullptr; node = node->next)
    {
        const ORoi* roi = node->item.get();
        if (roi == m_pMask || (selectedOnly && !roi->IsSelected()))
        {
            continue;
        }
        ORoi* copy = roi->Clone(&other);
        if (copy == nullptr)
        {
            continue;
        }
        if (select)
        {
            copy->Select(false);
        }
        else
        {
            copy->Deselect(false);
        }
        other.AddAnnotation(copy);
    }
}

void ImageShow::SetMask(ORoi* mask)
{
    if (mask != m_pMask)
    {
        delete m_pMask;
        m_pMask = mask;
    }
}

void ImageShow::CopyMetaImageTo(ImageShow& other) const
{
    if (&other == this || !m_MetaImage->HasPixels())
    {
        return;
    }
    other.ReleaseMapAndDIB();
    other.m_MetaImage->SetMatrix(m_MetaImage->GetMatrix()->Clone());
    other.m_MetaImage->CopyLUTsFrom(*m_MetaImage);
    other.m_FOVImage.reset();
}

void ImageShow::ReleaseMapAndDIB()
{
    delete m_Map;
    m_Map = nullptr;
    m_DIB.Release();
}

void ImageShow::ReleaseFOVImage()
{
    m_FOVImage.reset();
}

void ImageShow::ReleaseImageData()
{
    if ((m_State & enKeepPixelData) != 0)
    {
        return;
    }
    ReleaseMapAndDIB();
    if ((m_State & enDeleteMatrixOnRelease) != 0)
    {
        m_MetaImage->DeleteMatrix();
    }
    else if ((m_State & enReleasePixelsOnRelease) != 0)
    {
        m_MetaImage->ReleasePixelData();
    }
    ReleaseFOVImage();
    if ((m_State & enReleaseHolderPixels) != 0)
    {
        m_Holder.ReleasePixelData();
    }
}

void ImageShow::ReleaseImageDataEx()
{
    if ((m_State & enKeepPixelData) != 0)
    {
        return;
    }
    const std::uint32_t state = m_State;
    m_State &= ~std::uint32_t(enReleaseHolderPixels);
    ReleaseImageData();
    m_State = state;
    if ((m_State & enReleaseHolderPixels) != 0)
    {
        m_Holder.ReleasePixelDataEx();
    }
}

void ImageShow::ReleasePixels()
{
    if ((m_State & enKeepPixelData) != 0)
    {
        return;
    }
    delete m_Map;
    m_Map = nullptr;
    m_MetaImage->DeleteMatrix();
    ReleaseFOVImage();
    if ((m_State & enReleaseHolderPixels) != 0)
    {
        m_Holder.ReleasePixelDataEx();
    }
}

void ImageShow::ReleaseMetaImages()
{
    m_DIB.Release();
    m_MetaImage = std::make_unique<MetaImage>();
    m_FOVImage.reset();
    m_BriefImage.reset();
}

void ImageShow::Reset()
{
    ReleaseImageData();
    ReleaseMapAndDIB();
    m_MetaImage = std::make_unique<MetaImage>();
    m_FOVImage.reset();
    m_Holder.ResetEx();
    m_bLoadFailed = false;
    BuildChain();
}

void ImageShow::ResetViewState()
{
    m_Zoom = -1.0;
    m_nPanX = 0;
    m_nPanY = 0;
    m_nDisplayMode = 16;
    m_nDisplayMode1 = 1;
    m_bInvert = 0;
}

void ImageShow::SetPan(int x, int y)
{
    m_nPanX = x;
    m_nPanY = y;
}

void ImageShow::SetViewRect(const RECT& rect)
{
    SetViewRect(rect, SIZE{0, 0});
}

void ImageShow::SetViewRect(const RECT& rect, SIZE screenSize)
{
    m_FOVImage.reset();
    m_ViewRect = rect;
    m_ViewSize = screenSize;
}

void ImageShow::ClearViewRect()
{
    SetViewRect(RECT{0, 0, 0, 0});
}

SIZE ImageShow::GetImageSize() const
{
    const MetaMatrix* matrix = m_MetaImage->GetMatrix();
    if (matrix == nullptr || matrix->IsEmpty())
    {
        return SIZE{0, 0};
    }
    return SIZE{matrix->GetWidth(), matrix->GetHeight()};
}

SIZE ImageShow::GetShownImageSize() const
{
    const SIZE held = GetImageSize();
    if (held.cx > 0 && held.cy > 0)
    {
        return held;
    }
    const DICOMImage* set = m_Holder.GetDicomFile();
    if (set == nullptr)
    {
        return held;
    }
    SIZE stored = {set->GetUINT16(0x0028, 0x0011), set->GetUINT16(0x0028, 0x0010)};
    if (std::count(m_HVR, m_HVR + std::strlen(m_HVR), 'R') % 2 == 1)
    {
        std::swap(stored.cx, stored.cy);
    }
    return stored;
}

void ImageShow::Invert()
{
    m_bInvert = m_bInvert != 0 ? 0 : 1;
    BuildChain();
}

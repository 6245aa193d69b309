// Corvane: sharing, copying and releasing the image, and the attribute
// queries that answer from the image information or the image.
#include "Corvane.h"

#include "DICOMDataSet.h"
#include "DICOMImage.h"
#include "VR.h"
#include "VeltaroLog.h"
#include "WinInterlocked.h"

namespace
{

constexpr unsigned short kSopInstanceGroup = 0x0008;
constexpr unsigned short kSopInstanceElement = 0x0018;

} // namespace

Corvane::MetaData Corvane::DataNil = {-1, nullptr};

Corvane::Proxy::Proxy(Corvane& handle, unsigned short group, unsigned short element)
    : m_pHandle(&handle), m_nGroup(group), m_nElement(element)
{
}

Corvane::Proxy::operator Lettra() const
{
    return m_pHandle->GetLettra(m_nGroup, m_nElement);
}

Corvane::Proxy::operator unsigned int() const
{
    return m_pHandle->GetUINT32(m_nGroup, m_nElement);
}

Corvane::Proxy::operator unsigned short() const
{
    return m_pHandle->GetUINT16(m_nGroup, m_nElement);
}

Corvane::Corvane() = default;

Corvane::Corvane(const Corvane& other)
{
    if (other.m_pData->nRefs < 0)
        other.CopyTo(*this);
    else
        ShadowCopyFrom(other);
}

Corvane::Corvane(DICOMImage* image)
{
    Attach(image);
}

Corvane::~Corvane()
{
    Release();
}

Corvane& Corvane::operator=(const Corvane& other)
{
    ShadowCopyFrom(other);
    return *this;
}

Corvane& Corvane::operator=(DICOMImage* image)
{
    Attach(image);
    return *this;
}

void Corvane::ShadowCopyFrom(const Corvane& src)
{
    if (m_pImage == src.m_pImage)
        return;
    if ((m_pData->nRefs < 0 && m_pData != &DataNil) || src.m_pData->nRefs < 0)
    {
        src.CopyTo(*this);
        return;
    }
    Release();
    m_pImage = src.m_pImage;
    m_pData = src.m_pData;
    CopyFlagsFrom(src);
    InterlockedIncrement(&m_pData->nRefs);
}

void Corvane::ShadowCopyTo(Corvane& dst) const
{
    dst.ShadowCopyFrom(*this);
}

void Corvane::CopyTo(Corvane& dst) const
{
    // Releasing first would delete the very image to be copied.
    if (&dst == this)
        return;
    dst.Release();
    if (m_pImage == nullptr)
        return;
    auto* copy = new DICOMImage;
    const char* fileName = m_pImage->GetFileName();
    if (fileName != nullptr && fileName[0] != '\0')
        copy->ValidateFileName(fileName);
    else
        m_pImage->DICOMFile::CopyTo(*copy);
    dst.TakeImage(copy);
}

void Corvane::Attach(DICOMImage* image)
{
    // Releasing the image this handle holds would delete it (or leave two
    // blocks owning it) before it is taken again.
    if (image != nullptr && image == m_pImage)
        return;
    Release();
    TakeImage(image);
}

DICOMFile* Corvane::Detach()
{
    if (IsEmpty())
        return nullptr;
    if (m_pData->nRefs > 1)
    {
        _warning("Leave Corvane::Detach, the image is shared by %d handles, not detached",
                 int(m_pData->nRefs));
        return nullptr;
    }
    DICOMImage* image = m_pImage;
    m_pImage = nullptr;
    Release();
    return image;
}

void Corvane::Release()
{
    if (IsEmpty())
        return;
    if (InterlockedDecrement(&m_pData->nRefs) <= 0)
    {
        delete m_pImage;
        delete m_pData->pImageInfo;
        delete m_pData;
    }
    ResetFields();
}

void Corvane::TakeImage(DICOMImage* image)
{
    m_pImage = image;
    m_pData = new MetaData{1, nullptr};
}

void Corvane::ResetFields()
{
    CopyFlagsFrom(Corvane());
    m_pImage = nullptr;
    m_pData = &DataNil;
}

void Corvane::CopyFlagsFrom(const Corvane& src)
{
    m_bShowImage = src.m_bShowImage;
    m_bFlipHorizontal = src.m_bFlipHorizontal;
    m_bFlipVertical = src.m_bFlipVertical;
    m_bInvert = src.m_bInvert;
    m_bRotate90 = src.m_bRotate90;
    m_bRotate180 = src.m_bRotate180;
    m_bRotate270 = src.m_bRotate270;
    m_bToBeSorted = src.m_bToBeSorted;
    m_enGroupBy = src.m_enGroupBy;
    m_enScope = src.m_enScope;
    m_nTransactionID = src.m_nTransactionID;
}

bool Corvane::LoadDicomFile(const char* path)
{
    Release();
    auto* image = new DICOMImage;
    const int read = image->ReadFileNoImage(path);
    TakeImage(image);
    return read != 0;
}

bool Corvane::ReadFile()
{
    const char* fileName = GetFileName();
    if (fileName == nullptr || fileName[0] == '\0')
        return false;
    return m_pImage->ReadFile(fileName) != 0;
}

bool Corvane::ReadFileNoImage()
{
    const char* fileName = GetFileName();
    if (fileName == nullptr || fileName[0] == '\0')
        return false;
    return m_pImage->ReadFileNoImage(fileName) != 0;
}

const char* Corvane::GetFileName() const
{
    return m_pImage != nullptr ? m_pImage->GetFileName() : nullptr;
}

int Corvane::GetNumberOfFrames() const
{
    return m_pImage != nullptr ? m_pImage->GetNumberOfFrames() : 0;
}

void Corvane::Reset()
{
    if (m_pImage != nullptr)
        m_pImage->Reset();
}

void Corvane::Delete(unsigned short group, unsigned short element)
{
    if (m_pImage != nullptr)
        m_pImage->Delete(group, element);
}

void Corvane::ReleasePixelData()
{
    if (m_pImage != nullptr)
        m_pImage->ReleasePixelData();
}

void Corvane::ResetEx()
{
    if (IsSoleOwner())
        Reset();
}

void Corvane::DeleteEx(unsigned short group, unsigned short element)
{
    if (IsSoleOwner())
        Delete(group, element);
}

void Corvane::ReleasePixelDataEx()
{
    if (IsSoleOwner())
        ReleasePixelData();
}

void Corvane::SetImageInfoDDS(const DICOMDataSet* ds)
{
    if (IsEmpty() || ds == nullptr)
        return;
    if (m_pData->pImageInfo == nullptr)
        m_pData->pImageInfo = new DICOMDataSet;
    ds->CopyTo(*m_pData->pImageInfo);
}

unsigned short Corvane::GetUINT16(unsigned short group, unsigned short element) const
{
    if (m_pData->pImageInfo != nullptr)
        return m_pData->pImageInfo->GetUINT16(group, element);
    return m_pImage != nullptr ? m_pImage->GetUINT16(group, element) : 0;
}

unsigned int Corvane::GetUINT32(unsigned short group, unsigned short element) const
{
    if (m_pData->pImageInfo != nullptr)
        return m_pData->pImageInfo->GetUINT32(group, element);
    return m_pImage != nullptr ? m_pImage->GetUINT32(group, element) : 0;
}

Lettra Corvane::GetLettra(unsigned short group, unsigned short element) const
{
    if (m_pData->pImageInfo != nullptr)
        return m_pData->pImageInfo->GetLettra(group, element);
    return m_pImage != nullptr ? m_pImage->GetLettra(group, element) : Lettra();
}

Corvane::Proxy Corvane::operator()(unsigned short group, unsigned short element)
{
    return Proxy(*this, group, element);
}

Lettra Corvane::GetNotEmptyString(unsigned short group, unsigned short element)
{
    Lettra text = GetLettra(group, element);
    if (!text.IsEmpty() || m_pImage == nullptr || m_pImage->IsEmpty() == 0)
        return text;
    ReadFileNoImage();
    return m_pImage->GetLettra(group, element);
}

bool Corvane::IsEqual(const Corvane& other) const
{
    if (m_pImage == other.m_pImage)
        return true;
    if (m_pImage == nullptr || other.m_pImage == nullptr)
        return false;
    const VR* mine = m_pImage->GetVR(kSopInstanceGroup, kSopInstanceElement);
    const VR* theirs = other.m_pImage->GetVR(kSopInstanceGroup, kSopInstanceElement);
    if (mine == nullptr || theirs == nullptr)
        return mine == theirs;
    return *mine == *theirs;
}

int operator==(const Corvane& a, const Corvane& b)
{
    return a.IsEqual(b) ? 1 : 0;
}

int operator!=(const Corvane& a, const Corvane& b)
{
    return a.IsEqual(b) ? 0 : 1;
}

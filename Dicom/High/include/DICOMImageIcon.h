// DICOMImageIcon: a small image that belongs to another image, as the icon
// records of a directory keep it. The icon and its image point at each
// other; each side clears the other's pointer when it goes away or is
// attached elsewhere, so no dangling link survives either object.
#pragma once

#include "DICOMImage.h"
#include "VeltaroExport.h"

class VELTARO_API DICOMImageIcon : public DICOMImage
{
public:
    DICOMImageIcon() = default;
    // The image part and the attached-image pointer.
    DICOMImageIcon(const DICOMImageIcon& other);
    DICOMImageIcon& operator=(const DICOMImageIcon& other);
    // Clears the image's pointer back at this icon.
    ~DICOMImageIcon() override;

    DICOMImage* GetAttachedImage() const { return m_pAttachedImage; }
    // The old image's pointer back at this icon is cleared first.
    void AttachImage(DICOMImage* image);

private:
    friend class DICOMImage;

    DICOMImage* m_pAttachedImage = nullptr;
};

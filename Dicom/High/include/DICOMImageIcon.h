// DICOMImageIcon: a small image that belongs to another image, as the icon
// records of a directory keep it: an 8-bit copy of one frame (the middle
// one of several), reduced to a size chosen by the modality, or the image's
// own Icon Image Sequence item. The icon and its image point at each other;
// each side clears the other's pointer when it goes away or is attached
// elsewhere, so no dangling link survives either object.
#pragma once

#include "DICOMImage.h"
#include "VeltaroExport.h"

class RealImage;
class RealImage8;

class VELTARO_API DICOMImageIcon : public DICOMImage
{
public:
    DICOMImageIcon() = default;
    // The icon of the image. Its own data set keeps the image's identifying
    // attributes; when no 8-bit frame can be made of the image, it keeps
    // the copied pixels only when they already are one 8-bit frame of an
    // icon's size, and holds no pixel data otherwise. Not attached to the
    // image.
    explicit DICOMImageIcon(const DICOMImage& image);
    // The image part and the attached-image pointer.
    DICOMImageIcon(const DICOMImageIcon& other);
    DICOMImageIcon& operator=(const DICOMImageIcon& other);
    // Clears the image's pointer back at this icon.
    ~DICOMImageIcon() override;

    DICOMImage* GetAttachedImage() const { return m_pAttachedImage; }
    // The old image's pointer back at this icon is cleared first.
    void AttachImage(DICOMImage* image);

    // The icon as a bitmap file; 1 on success.
    int SaveAsWindowsBitmap(const char* path);

    // The largest side an icon of the modality has: the first two letters
    // are looked up, 512 when they name no known modality.
    static int GetIconSide(const char* modality);
    // The icon's size for an image of columns x rows: the larger side
    // brought to the modality's side (never enlarged), both sides truncated
    // and then rounded up to a multiple of 4. 0 x 0 for an empty image.
    static void GetIconSize(const char* modality, int columns, int rows, int& width, int& height);

private:
    friend class DICOMImage;

    bool CopyIconSequence(const DICOMImage& image);
    bool MakeIconPixels(int frame, int width, int height);
    static RealImage8* RemapWindow(RealImage& real);
    void KeepFittingPixels(int width, int height);

    DICOMImage* m_pAttachedImage = nullptr;
};

#include "DICOMImageIcon.h"

DICOMImageIcon::DICOMImageIcon(const DICOMImageIcon& other)
    : DICOMImage(other), m_pAttachedImage(other.m_pAttachedImage)
{
}

DICOMImageIcon& DICOMImageIcon::operator=(const DICOMImageIcon& other)
{
    DICOMImage::operator=(other);
    m_pAttachedImage = other.m_pAttachedImage;
    return *this;
}

DICOMImageIcon::~DICOMImageIcon()
{
    AttachImage(nullptr);
}

void DICOMImageIcon::AttachImage(DICOMImage* image)
{
    if (m_pAttachedImage != nullptr && m_pAttachedImage->m_pAttachedIcon == this)
    {
        m_pAttachedImage->m_pAttachedIcon = nullptr;
    }
    m_pAttachedImage = image;
}

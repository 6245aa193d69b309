// Overlay and ORoi: the base of every annotation drawn over an image. This
// holds what the image model needs of them: the kind, the owning ImageShow,
// the bounding rectangle in image pixels, a serial number, the consent to
// removal, and the flips and quarter turns that keep an annotation on the
// pixels it marks when the image is turned. Drawing, hit testing and the
// measurement document join when the panes do.
#pragma once

#include "AfxObject.h"
#include "QuillonExport.h"
#include "WinGeometry.h"

class ImageShow;

class QUILLON_API Overlay : public CObject
{
    DECLARE_DYNAMIC(Overlay)

public:
    ~Overlay() override;

    int GetTypeId() const { return m_nTypeId; }
    ImageShow* GetOwner() const { return m_pOwner; }
    void SetOwner(ImageShow* owner) { m_pOwner = owner; }
    // Taken from a process-wide counter: the first object gets 1.
    int GetSerialNumber() const { return m_nSerialNumber; }

    virtual void GetRect(RECT* out) const;
    virtual void SetRect(const RECT& rect);
    virtual bool CanRemove() const;
    // Mirror or turn the geometry inside the owner's image, whose matrix has
    // been flipped or turned already: Rotate turns by quarter turns
    // counter-clockwise, as the image's rotation does.
    virtual void FlipVertical() = 0;
    virtual void FlipHorizontal() = 0;
    virtual void Rotate(int quarterTurns) = 0;

protected:
    Overlay(int typeId, ImageShow* owner);

    int m_nTypeId;
    ImageShow* m_pOwner;
    RECT m_Rect = {0, 0, 0, 0};
    int m_nSerialNumber;
};

class QUILLON_API ORoi : public Overlay
{
    DECLARE_DYNAMIC(ORoi)

public:
    // The bounding rectangle mirrored or turned inside the owner's image.
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(int quarterTurns) override;

    bool IsModified() const { return m_bModified != 0; }
    void SetModified() { m_bModified = 1; }
    void ClearModified() { m_bModified = 0; }

protected:
    ORoi(int typeId, ImageShow* owner);
    // The owner's image size now (after its matrix was turned); 0, 0
    // without an owner or a matrix.
    SIZE GetImageSize() const;

    int m_bModified = 0;
};

// Turns a rectangle of an image of the given size (before the turn) by
// quarter turns counter-clockwise, as the image's pixels turn.
QUILLON_API RECT RotateRect(const RECT& rect, SIZE before, int quarterTurns);

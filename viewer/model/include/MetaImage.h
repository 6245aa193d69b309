// MetaImage: one decoded pixel matrix with its lookup tables: the list of
// window tables with one current table and, for PALETTE COLOR images, the
// palette. An ImageShow holds one for the full image and may hold one for
// the field of view and one for its brief image; the rendering chain maps a
// MetaImage through its current table into the 8-bit display map.
#pragma once

#include "ColorLookupTable.h"
#include "LUTList.h"
#include "MetaMatrix.h"
#include "QuillonExport.h"

class QUILLON_API MetaImage
{
public:
    MetaImage() = default;
    ~MetaImage();
    MetaImage(const MetaImage&) = delete;
    MetaImage& operator=(const MetaImage&) = delete;

    MetaMatrix* GetMatrix() const { return m_pMatrix; }
    // True when a matrix with pixels is held.
    bool HasPixels() const;
    // Takes the matrix over, deleting the one held before (unless it is the
    // same).
    void SetMatrix(MetaMatrix* matrix);
    void DeleteMatrix();
    // Frees the matrix's pixels and keeps the empty matrix.
    void ReleasePixelData();

    LUTList& GetLUTs() { return m_LUTs; }
    const LUTList& GetLUTs() const { return m_LUTs; }
    DicomLookupTable* GetCurrentLUT() const { return m_LUTs.GetCurrent(); }
    // The palette of a PALETTE COLOR image, or null.
    ColorLookupTable* GetColorLUT() const { return m_pColorLUT; }
    // Takes the palette over, deleting the one held before.
    void SetColorLUT(ColorLookupTable* palette);
    // Replaces this image's tables and palette by copies of the other's.
    void CopyLUTsFrom(const MetaImage& other);

    void FlipVertical();
    void FlipHorizontal();
    // n quarter turns counter-clockwise; n is taken modulo 4.
    void Rotate(int quarterTurns);

    // A new 8-bit display map of the matrix (caller owns): grey samples go
    // through the table (inverted: 255 - level), palette indices and RGB
    // pixels stay as they are (inverted: RGB levels become 255 - level).
    // Null without pixels, or for grey samples without a table that builds.
    MetaMatrix* MapThrough(DicomLookupTable* table, bool inverted) const;
    MetaMatrix* Map(bool inverted) const { return MapThrough(GetCurrentLUT(), inverted); }

    // The current table's window; 0, 0 without one.
    int GetWindowWidth() const;
    int GetWindowCenter() const;

    // The factor (1.0 or less) that fits the matrix within width x height;
    // 1.0 without a matrix.
    double ScaleFieldOfViewUnder(int width, int height);

    // The reduction factor of a brief image: how many matrix pixels of the
    // full image one pixel of this one stands for.
    double GetFactor() const { return m_dFactor; }
    void SetFactor(double factor) { m_dFactor = factor; }

private:
    MetaMatrix* m_pMatrix = nullptr;
    LUTList m_LUTs;
    ColorLookupTable* m_pColorLUT = nullptr;
    double m_dFactor = 1.0;
};

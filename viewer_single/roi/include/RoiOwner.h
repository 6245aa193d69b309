// What an annotation asks of the image it belongs to and of the pane that
// shows that image. The image model answers for both, so an annotation never
// holds a pane of its own.
#pragma once

#include "Lettra.h"
#include "WinTypes.h"

namespace pelivo
{

class ORoiItem;

class RoiOwner
{
public:
    virtual ~RoiOwner() = default;

    virtual bool HasImage() const = 0;
    // The pane currently showing the image; without one, nothing is drawn,
    // hit or measured.
    virtual bool HasPane() const = 0;
    virtual SIZE GetImageSize() const = 0;
    // Millimetres per pixel across and down; 0 where the image has none.
    virtual void GetPixelSpacing(double& across, double& down) const = 0;
    // "mm" when the image has a pixel spacing, else empty.
    virtual Lettra GetUnitText() const = 0;
    virtual int GetPixelValue(int x, int y) const = 0;
    // The number the next annotation takes (running per image).
    virtual int GetNextRoiNumber() const = 0;
    virtual POINT ImageToScreen(POINT point) const = 0;
    // Extent of a text whose lines are split at "\r", on the pane's font.
    virtual SIZE GetMultiLineTextExtent(const char* text) const = 0;
    // Takes the annotation off the pane and deletes it.
    virtual void RemoveAnnotation(ORoiItem* item) = 0;
};

} // namespace pelivo

// ORoiArrow: an arrow pointing at P1 (its tip) from P2 (its tail), drawn
// as a shaft with a two-stroke head at the tip. It marks, it measures
// nothing.
#pragma once

#include "ORoiShortLine.h"

class QUILLON_API ORoiArrow : public ORoiShortLine
{
    DECLARE_DYNAMIC(ORoiArrow)

public:
    static constexpr int TypeId = 20;
    // The head in image pixels, as the document's primitives give it.
    static constexpr int HeadLength = 10;
    static constexpr int HeadHalfWidth = 5;

    explicit ORoiArrow(ImageShow* owner);

    const char* GetDisplayName() const override;
    ORoi* Clone(ImageShow* owner) const override;

    // The ends of the two head strokes, each HeadLength back from the tip
    // along the shaft and HeadHalfWidth to its side; false when the shaft
    // is no longer than the head.
    bool GetHead(POINT& left, POINT& right) const;

    // The head on the pane, in window pixels whatever the zoom.
    static constexpr int ScreenHeadLength = 12;
    static constexpr int ScreenHeadHalfWidth = 5;

protected:
    // The shaft and the head at the tip, in the line's style.
    void DrawShape(CDC* pDC, CViewPort& view) override;
    // The shaft, then the two head strokes.
    Lettra XmlSerializePrimitives() const override;
};

// ORoiCalliper: the distance measurement. A line from P1 to P2 with a bar
// across each end and a label that shows the length: in millimetres when
// the image knows its pixel spacing, else in pixels.
#pragma once

#include "ORoiShortLine.h"
#include "TextLabelHolder.h"

class QUILLON_API ORoiCalliper : public ORoiShortLine
{
    DECLARE_DYNAMIC(ORoiCalliper)

public:
    static constexpr int TypeId = 16;

    explicit ORoiCalliper(ImageShow* owner);

    const char* GetDisplayName() const override;
    ORoi* Clone(ImageShow* owner) const override;
    bool IsMeasurement() const override;

    // The length computed last, in the unit GetUnit names.
    double GetLength() const { return m_dLength; }
    // "mm" or "pixel".
    const char* GetUnit() const;

    void Recalc() override;
    void UpdateLabel() override;
    // The length "%5.1f " and two blanks; empty without an owner.
    Lettra GetMeasureText() const override;
    TextLabelHolder* GetLabelHolder() const override;
    // The second end point.
    POINT GetLabelAnchor() const override;

    // Half the length of the bars across the ends, in window pixels.
    static constexpr int EndBarHalf = 5;

protected:
    // The line and a bar across each end.
    void DrawShape(CDC* pDC, CViewPort& view) override;

private:
    mutable TextLabelHolder m_Label;
    double m_dLength = 0.0;
    bool m_bMillimetres = false;
};

// ORoiShortLine: a plain line annotation from P1 to P2, drawn solid,
// dotted, dashed or dash-dotted. The calliper, the arrow and the reference
// line are short lines too.
#pragma once

#include "LineBase.h"

class QUILLON_API ORoiShortLine : public LineBase
{
    DECLARE_DYNAMIC(ORoiShortLine)

public:
    static constexpr int TypeId = 510;

    enum enLineStyle
    {
        enSolid,
        enDot,
        enDash,
        enDashDot
    };

    explicit ORoiShortLine(ImageShow* owner);

    const char* GetDisplayName() const override;
    ORoi* Clone(ImageShow* owner) const override;
    bool IsMeasurement() const override;

    enLineStyle GetLineStyle() const { return m_enLineStyle; }
    void SetLineStyle(enLineStyle style) { m_enLineStyle = style; }

protected:
    ORoiShortLine(int typeId, ImageShow* owner);
    // The line in its style.
    void DrawShape(CDC* pDC, CViewPort& view) override;
    // A line of this one's style in window pixels, its shadow first.
    void DrawLineInStyle(CDC* pDC, CViewPort& view, POINT a, POINT b) const;
    // Clone's part: this line's geometry, attributes and style given to a
    // new line of the concrete class.
    ORoi* CloneInto(ORoiShortLine* line) const;

    enLineStyle m_enLineStyle = enSolid;
};

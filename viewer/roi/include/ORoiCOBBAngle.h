// ORoiCOBBAngle: the Cobb angle of a spine, the angle between two lines
// drawn along vertebral end plates (P1-P2 and P3-P4, image pixels). The
// lines are read as undirected, so the value is the acute angle between
// them, in [0, 90], whichever way each was drawn; a line of no length gives
// 0. A dotted line joins the middles of the two lines and the label stands
// at its middle.
#pragma once

#include "ORoi.h"
#include "TextLabelHolder.h"

class QUILLON_API ORoiCOBBAngle : public ORoi
{
    DECLARE_DYNAMIC(ORoiCOBBAngle)

public:
    static constexpr int TypeId = 521;

    explicit ORoiCOBBAngle(ImageShow* owner);

    const char* GetDisplayName() const override;
    ORoi* Clone(ImageShow* owner) const override;

    void SetPoints(POINT p1, POINT p2, POINT p3, POINT p4);
    POINT GetPoint(int index) const { return m_Points[index]; }
    // Degrees in [0, 90], as computed by the last Recalc.
    float GetAngle() const { return m_fAngle; }
    // The middles of the two lines.
    POINT GetMiddle(int line) const;

    void Recalc() override;
    void UpdateLabel() override;
    // The angle "%5.1f " and two blanks; empty without an owner.
    Lettra GetMeasureText() const override;
    TextLabelHolder* GetLabelHolder() const override;
    // The middle between the middles of the two lines.
    POINT GetLabelAnchor() const override;

    bool XmlDeserialize(const Lettra& xml) override;

protected:
    POINT* GetPoints(int& count) override;
    // The two lines and the dotted line between their middles.
    void DrawShape(CDC* pDC, CViewPort& view) override;
    // The two lines.
    int GetHitSegments(POINT* ends, int capacity) const override;
    Lettra XmlSerializePrivate() const override;
    // The two lines and the line between their middles.
    Lettra XmlSerializePrimitives() const override;

private:
    mutable TextLabelHolder m_Label;
    POINT m_Points[4] = {};
    float m_fAngle = 0.0f;
};

// The angle measurement: a vertex P1 and two arm ends P2 and P3 in image
// pixels, the angle between the arms in degrees, drawn as two arms with an
// arc near the vertex (a chord for narrow angles) and a label with the
// value in "degree". ThreePointLabelBase holds the measurement's label;
// ThreePointRoiBase is the three-point kind.
#pragma once

#include "ORoi.h"
#include "TextLabelHolder.h"

class QUILLON_API ThreePointLabelBase : public ORoi
{
    DECLARE_DYNAMIC(ThreePointLabelBase)

public:
    TextLabelHolder* GetLabelHolder() const override;

protected:
    using ORoi::ORoi;

    mutable TextLabelHolder m_Label;
};

class QUILLON_API ThreePointRoiBase : public ThreePointLabelBase
{
    DECLARE_DYNAMIC(ThreePointRoiBase)

protected:
    using ThreePointLabelBase::ThreePointLabelBase;
};

class QUILLON_API ORoiAngle : public ThreePointRoiBase
{
    DECLARE_DYNAMIC(ORoiAngle)

public:
    static constexpr int TypeId = 15;
    // The automatic arc: 15 window pixels of arc length over the angle,
    // never nearer the vertex than 15.
    static constexpr double MinArcRadius = 15.0;
    // Below this many degrees a chord stands for the arc.
    static constexpr float MinArcAngle = 15.0f;

    // How the arc near the vertex is drawn, in window pixels: from start,
    // on the first arm, sweeping counter-clockwise (negative: clockwise) to
    // end, on the second; a straight chord from start to end instead for
    // narrow angles.
    struct Arc
    {
        bool bShown = false;
        bool bChord = false;
        POINT centre = {0, 0};
        POINT start = {0, 0};
        POINT end = {0, 0};
        int nRadius = 0;
        float fSweep = 0.0f;
    };

    explicit ORoiAngle(ImageShow* owner);

    const char* GetDisplayName() const override;
    ORoi* Clone(ImageShow* owner) const override;

    // Stores the vertex and the arm ends and the rectangle they span.
    void SetPoints(int x1, int y1, int x2, int y2, int x3, int y3);
    POINT GetP1() const { return m_Points[0]; }
    POINT GetP2() const { return m_Points[1]; }
    POINT GetP3() const { return m_Points[2]; }
    // Degrees in [0, 180], as computed by the last Recalc.
    float GetAngle() const { return m_fAngle; }
    // -1 automatic, 0 no arc, above 0 the radius in image pixels.
    int GetArcRadius() const { return m_nArcRadius; }
    void SetArcRadius(int radius) { m_nArcRadius = radius; }

    void Recalc() override;
    void UpdateLabel() override;
    // The angle "%5.1f " and two blanks; empty without an owner.
    Lettra GetMeasureText() const override;
    // The vertex.
    POINT GetLabelAnchor() const override;

    bool XmlDeserialize(const Lettra& xml) override;

    // The arc as it stands in the pane; not shown without a pane or with an
    // arc radius of 0.
    Arc GetArc() const;

protected:
    POINT* GetPoints(int& count) override;
    // The arms, their shadows first, and the arc or chord.
    void DrawShape(CDC* pDC, CViewPort& view) override;
    // The two arms.
    int GetHitSegments(POINT* ends, int capacity) const override;
    // The class tag, as stored documents name the angle.
    const char* GetMeasurementName() const override;
    Lettra XmlSerializePrivate() const override;
    // The two arms as lines from the vertex.
    Lettra XmlSerializePrimitives() const override;

private:
    int GetSweep(POINT vertex, POINT first, POINT second) const;

    POINT m_Points[3] = {};
    float m_fAngle = 0.0f;
    int m_nArcRadius = -1;
};

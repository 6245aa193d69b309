// LineBase: the annotations made of one segment, from P1 to P2 in image
// pixels, written as the two "<Point>" elements of the document's
// "<Private>"; the concrete lines add what they draw and measure.
#pragma once

#include "ORoi.h"

class QUILLON_API LineBase : public ORoi
{
    DECLARE_DYNAMIC(LineBase)

public:
    void GetLine(POINT& p1, POINT& p2) const;
    // Stores the points and the rectangle they span.
    void SetLine(POINT p1, POINT p2);
    POINT GetP1() const { return m_Points[0]; }
    POINT GetP2() const { return m_Points[1]; }

    bool XmlDeserialize(const Lettra& xml) override;

protected:
    LineBase(int typeId, ImageShow* owner);
    POINT* GetPoints(int& count) override;
    Lettra XmlSerializePrivate() const override;
    // The segment as a "<Line>".
    Lettra XmlSerializePrimitives() const override;
    int GetHitSegments(POINT* ends, int capacity) const override;

    POINT m_Points[2] = {};
};

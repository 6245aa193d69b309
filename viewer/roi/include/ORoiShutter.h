// ORoiShutter: the mask (shutter) of an image, held by its ImageShow apart
// from the annotations: a rectangle, an ellipse or a polygon in image
// pixels outside which a pane veils or hides the image. Rectangle and
// ellipse are given by two opposite corners of their box, a polygon by its
// vertices (at least three).
#pragma once

#include "ORoi.h"

#include <vector>

class QUILLON_API ORoiShutter : public ORoi
{
    DECLARE_DYNAMIC(ORoiShutter)

public:
    static constexpr int TypeId = 540;

    enum enShape
    {
        enRectangle,
        enEllipse,
        enPolygon
    };

    ORoiShutter(ImageShow* owner, enShape shape, const POINT* points, int count);

    const char* GetDisplayName() const override;
    ORoi* Clone(ImageShow* owner) const override;
    bool IsMeasurement() const override;

    enShape GetShape() const { return m_enShape; }
    // False for a polygon of fewer than three vertices or a box without
    // width or height.
    bool IsValid() const;

protected:
    POINT* GetPoints(int& count) override;

private:
    enShape m_enShape;
    std::vector<POINT> m_Points;
};

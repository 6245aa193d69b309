// ORoiShutter: the mask (shutter) of an image, held by its ImageShow apart
// from the annotations: a rectangle, an ellipse or a polygon in image
// pixels outside which a pane veils or hides the image. Rectangle and
// ellipse are given by their box, a polygon by its vertices (at least
// three). A box offers its corners as handles (96) and its edges to be
// dragged alone (32 for the left and right, 64 for the top and bottom
// edge); a polygon its vertices.
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
    // The handles of a box: its corners, then the middles of its edges.
    enum enBoxHandle
    {
        enTopLeft,
        enTopRight,
        enBottomRight,
        enBottomLeft,
        enLeftEdge,
        enTopEdge,
        enRightEdge,
        enBottomEdge,
        enBoxHandleCount
    };

    // A box from two opposite corners, a polygon from its vertices.
    ORoiShutter(ImageShow* owner, enShape shape, const POINT* points, int count);

    const char* GetDisplayName() const override;
    ORoi* Clone(ImageShow* owner) const override;
    bool IsMeasurement() const override;

    enShape GetShape() const { return m_enShape; }
    // False for a polygon of fewer than three vertices or a box without
    // width or height.
    bool IsValid() const;

    // The opening in window pixels of the pane.
    bool GetScreenRegion(CRgn* region) const override;
    // Handles, then the edges of a box (32, 64) or of a polygon (6), then
    // the inside (6).
    int HitTest(int x, int y, int tolerance, int flags) override;
    int GetHandlePoints(POINT* points, int capacity) const override;
    // A box's corner moves two edges, an edge handle one; the box is kept
    // the right way round.
    bool SetHandlePoint(int index, POINT point) override;

protected:
    POINT* GetPoints(int& count) override;
    // The outline.
    void DrawShape(CDC* pDC, CViewPort& view) override;
    int GetHitSegments(POINT* ends, int capacity) const override;

private:
    bool IsBox() const { return m_enShape != enPolygon; }
    // Top-left and bottom-right of a box, made so.
    void NormalizeBox();
    // The polygon's vertices in window pixels.
    std::vector<POINT> GetScreenVertices(CViewPort& view) const;

    enShape m_enShape;
    std::vector<POINT> m_Points;
};

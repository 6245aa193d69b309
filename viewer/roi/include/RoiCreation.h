// RoiCreation: a new measurement built from the points of a gesture on the
// pane of an image, in window pixels of that pane. A calliper or an arrow
// is dragged from its first end to its second (Begin, Move, End); an angle
// takes three clicks (one arm's end, the vertex, the other arm's end), a
// COBB angle four (two ends of each line). The annotation joins the image
// at the first point and follows the pointer until its last point is set;
// a gesture that ends early, or a line of no length, leaves nothing.
// Points beyond the image's edges are taken at the edge.
#pragma once

#include "QuillonExport.h"
#include "WinGeometry.h"

class ImageShow;
class ORoi;

class QUILLON_API RoiCreation
{
public:
    enum enKind
    {
        enCalliper,
        enArrow,
        enAngle,
        enCobbAngle
    };

    RoiCreation(ImageShow* show, enKind kind);
    ~RoiCreation();
    RoiCreation(const RoiCreation&) = delete;
    RoiCreation& operator=(const RoiCreation&) = delete;

    // The button press that starts the gesture: the first point. False
    // when the image has no pane.
    bool OnBegin(int x, int y);
    // The pointer moved: the point being placed follows it.
    void OnMove(int x, int y);
    // A further click of a click sequence; true when that was the last
    // point (the annotation is complete).
    bool OnClick(int x, int y);
    // The button released (drags) or the sequence ended: a drag sets its
    // last point there; an incomplete annotation is removed.
    void OnEnd(int x, int y);
    // Esc or a lost capture: the unfinished annotation is removed.
    void OnCancel();

    // The annotation made, once complete; null before and after a failure.
    ORoi* GetResult() const { return m_bComplete ? m_pRoi : nullptr; }
    // Points the kind needs, and points set so far.
    int GetPointCount() const;
    int GetPointsSet() const { return m_nSet; }

private:
    bool IsDrag() const { return m_enKind == enCalliper || m_enKind == enArrow; }
    POINT ToImage(int x, int y) const;
    // Places the next point (and, until they are set, the later ones).
    void Follow(POINT image);
    void Complete();
    void Discard();

    ImageShow* m_pShow;
    enKind m_enKind;
    ORoi* m_pRoi = nullptr;
    // The gesture's points in image pixels, in the order they were given.
    POINT m_Points[4] = {};
    int m_nSet = 0;
    bool m_bComplete = false;
};

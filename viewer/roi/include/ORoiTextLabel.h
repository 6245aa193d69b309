// ORoiTextLabel: the label of a measurement, showing its value and unit
// near the point it belongs to (its anchor). Anchor and label position are
// image pixels, so the label follows flips, turns, zoom and pan with its
// measurement; a new label is placed the default offset to the right of its
// anchor, inside the image.
#pragma once

#include "ORoi.h"

class QUILLON_API ORoiTextLabel : public ORoi
{
    DECLARE_DYNAMIC(ORoiTextLabel)

public:
    static constexpr int TypeId = 500;
    // A label further than this many window pixels from its anchor is tied
    // to it by a dotted line.
    static constexpr double ConnectorMinimum = 6.0;

    explicit ORoiTextLabel(ImageShow* owner);

    ORoi* Clone(ImageShow* owner) const override;
    bool IsEqual(const Overlay& other) const override;
    bool IsMeasurement() const override;
    // A label is dragged whole: it offers no handle.
    int GetHandlePoints(POINT* points, int capacity) const override;

    POINT GetAnchor() const { return m_Points[enAnchor]; }
    void SetAnchor(POINT anchor);
    // Where the text starts.
    POINT GetPosition() const { return m_Points[enPosition]; }
    void SetPosition(POINT position);
    // Anchor there, the label the default offset to its right, kept inside
    // the owner's image.
    void MoveToAnchor(POINT anchor);

    // The value text of the measurement, and the number and unit shown.
    const Lettra& GetValue() const { return m_strValue; }
    void SetValue(const Lettra& value) { m_strValue = value; }
    const Lettra& GetText() const { return m_strText; }
    void SetText(const Lettra& text) { m_strText = text; }
    const Lettra& GetUnit() const { return m_strUnit; }
    void SetUnit(const Lettra& unit) { m_strUnit = unit; }
    // What the label shows: the number and the unit ("90.0 degree").
    Lettra GetDisplayText() const;

    // Dragging a label moves its text, not its anchor.
    void Offset(int dx, int dy) override;
    // Its text: the label code (512) for a point on it.
    int HitTest(int x, int y, int tolerance, int flags) override;
    // The window rectangle of its text, kept inside the pane while its
    // anchor is; empty without a pane.
    RECT GetScreenRect() const;

    // The "<TextLabel>" element of the measurement's primitives.
    Lettra XmlSerializeTextLabel() const;

    // The distance in image pixels from the anchor at which new labels are
    // placed; 10 until the viewer window's configuration sets it.
    static void SetDefaultOffset(int pixels);
    static int GetDefaultOffset();

protected:
    POINT* GetPoints(int& count) override;
    // A dotted line from the anchor when the text stands away from it,
    // then the text.
    void DrawShape(CDC* pDC, CViewPort& view) override;
    Lettra XmlSerializePrimitives() const override;

private:
    RECT FitInPane(CViewPort& view, RECT text) const;

    enum
    {
        enAnchor,
        enPosition
    };

    POINT m_Points[2] = {};
    Lettra m_strValue;
    Lettra m_strText;
    Lettra m_strUnit;
};

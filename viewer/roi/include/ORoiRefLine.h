// ORoiRefLine: where the plane of another image (the identifier names it)
// cuts this one, as a dotted line in the reference-line colour with an
// optional label. It marks a reference line until that flag is cleared (a
// copy kept as an ordinary annotation): until then it is neither hit nor a
// measurement of the image.
#pragma once

#include "ORoiShortLine.h"

class CDC;

class QUILLON_API ORoiRefLine : public ORoiShortLine
{
    DECLARE_DYNAMIC(ORoiRefLine)

public:
    static constexpr int TypeId = 511;
    static constexpr COLORREF Color = RGB(255, 140, 0);
    // Window pixels between the first end point and the label.
    static constexpr int LabelGap = 4;

    ORoiRefLine(ImageShow* owner, const void* identifier, int x1, int y1, int x2, int y2);

    const char* GetDisplayName() const override;
    ORoi* Clone(ImageShow* owner) const override;

    const void* GetIdentifier() const { return m_pIdentifier; }
    const Lettra& GetLabelText() const { return m_strLabel; }
    void SetLabelText(const Lettra& text) { m_strLabel = text; }
    bool IsLabelShown() const { return m_bShowLabel; }
    void ShowLabel(bool show) { m_bShowLabel = show; }
    // The label text beside the first end point, when it is to be shown.
    void DrawLabel(CDC* pDC);

    // Nothing is hit while it marks a reference line.
    int HitTest(int x, int y, int tolerance, int flags) override;

protected:
    // The dotted line and its label.
    void DrawShape(CDC* pDC, CViewPort& view) override;

private:
    const void* m_pIdentifier;
    Lettra m_strLabel;
    bool m_bShowLabel = true;
};

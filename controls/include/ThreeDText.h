// Captions scaled to fill their control and drawn as 3-D text: embossed on
// an owner-drawn push button, engraved on a static.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

class ZENTIQ_API CThreeDTextButton : public CButton
{
public:
    CThreeDTextButton() = default;

    void Use3D(bool bUse = true) { m_bUse3D = bUse; }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    // The caption in the button's font, scaled to the rectangle.
    void Draw(CDC* pDC, const CRect& rect, UINT itemState);

protected:
    void PreSubclassWindow() override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    bool m_bUse3D = true;

    DECLARE_MESSAGE_MAP()
};

class ZENTIQ_API CThreeDStaticText : public CStatic
{
public:
    CThreeDStaticText() = default;

    void Use3D(bool bUse = true) { m_bUse3D = bUse; }
    // The caption in the static's font, scaled to the rectangle.
    void Draw(CDC* pDC, const CRect& rect);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    bool m_bUse3D = true;

    DECLARE_MESSAGE_MAP()
};

#include "RoiLabelText.h"

#include "AfxDC.h"
#include "AfxGdi.h"
#include "CViewPort.h"
#include "OverlayConfig.h"
#include "RoiFont.h"

void DrawLabelText(CDC* pDC, CViewPort& view, const RoiFont& style, POINT position,
                   const char* text)
{
    view.DrawTextVCentered(pDC, style.GetFont(), &position, text, style.GetTextColor(),
                           OverlayConfig::Get().bTextBackground, style.IsShadow());
}

RECT GetLabelTextRect(CViewPort& view, const RoiFont& style, POINT position, const char* text)
{
    CDC* dc = view.GetClientDC();
    if (dc == nullptr)
    {
        return {0, 0, 0, 0};
    }
    // The font the text is drawn in: the style's, else the pane's label
    // font, which drawing finds selected.
    CFont font;
    CFont* previous = nullptr;
    if (style.GetFont() != nullptr && font.CreateFontIndirect(style.GetFont()))
    {
        previous = dc->SelectObject(&font);
    }
    else if (view.GetLabelFont() != nullptr && view.GetLabelFont()->GetSafeHandle() != nullptr)
    {
        previous = dc->SelectObject(view.GetLabelFont());
    }
    const CSize extent = view.GetTextExtent(dc, text);
    if (previous != nullptr)
    {
        dc->SelectObject(previous);
    }
    const int top = position.y - extent.cy / 2;
    return {position.x, top, position.x + extent.cx, top + extent.cy};
}

// ViewLabel: one line of text drawn in a corner or on a side of a pane
// (read-outs, orientation letters, image-tag lines). The pane keeps one list
// per corner and side, lays the labels out from there inward and gives each
// its rectangle before drawing it.
#pragma once

#include "AfxDC.h"
#include "AfxObject.h"
#include "Lettra.h"
#include "QuillonExport.h"

class CViewPort;

class QUILLON_API ViewLabel : public CObject
{
    DECLARE_DYNAMIC(ViewLabel)

public:
    // The corner and side lists of a pane, in the order the pane keeps them.
    enum enPosition
    {
        enTopLeft,
        enTopRight,
        enBottomLeft,
        enBottomRight,
        enLeft,
        enRight,
        enTop,
        enBottom,
        enPositionCount
    };

    explicit ViewLabel(int position);
    ViewLabel(int position, const char* text);

    // A new label of the same position with this one's attributes; the
    // view lays it out anew.
    virtual ViewLabel* Clone(CViewPort* view) const;
    // Style, flags, text, tag and colour; not the position, rectangle or
    // format.
    virtual void CopyTo(ViewLabel* target) const;
    virtual void GetRect(RECT* out) const;
    virtual void SetRect(int left, int top, int right, int bottom);
    virtual void SetVisible(bool visible);
    virtual void SetShadow(bool shadow);
    // The extent of the text in the DC's font; of one space when the text
    // is empty, so that an empty line keeps its place in a list.
    virtual CSize GetTextExtent(CDC* pDC) const;
    // The text in the rectangle, after a black copy moved by (+1, +1) when
    // the shadow is on.
    virtual void Draw(CDC* pDC, const RECT& rect);
    virtual void SetText(const char* text);
    virtual Lettra GetText() const;

    int GetPosition() const { return m_nPosition; }
    bool IsVisible() const { return m_bVisible; }
    bool IsShadow() const { return m_bShadow; }
    int GetStyle() const { return m_nStyle; }
    void SetStyle(int style) { m_nStyle = style; }
    int GetTag() const { return m_nTag; }
    void SetTag(int tag) { m_nTag = tag; }
    COLORREF GetColor() const { return m_crText; }
    void SetColor(COLORREF color) { m_crText = color; }
    UINT GetFormat() const { return m_nFormat; }
    void SetFormat(UINT format) { m_nFormat = format; }

private:
    int m_nPosition;
    RECT m_rect = {0, 0, 0, 0};
    int m_nStyle = 3;
    bool m_bFlag1 = false;
    bool m_bVisible = true;
    bool m_bFlag3 = false;
    bool m_bShadow = true;
    Lettra m_strText;
    int m_nTag = 0;
    COLORREF m_crText;
    UINT m_nFormat = DT_SINGLELINE;
};

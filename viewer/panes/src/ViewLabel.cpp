#include "ViewLabel.h"

#include "OverlayConfig.h"

IMPLEMENT_DYNAMIC(ViewLabel, CObject)

ViewLabel::ViewLabel(int position) : m_nPosition(position), m_crText(OverlayConfig::Get().crText) {}

ViewLabel::ViewLabel(int position, const char* text) : ViewLabel(position)
{
    SetText(text);
}

ViewLabel* ViewLabel::Clone(CViewPort*) const
{
    auto* clone = new ViewLabel(m_nPosition);
    CopyTo(clone);
    return clone;
}

void ViewLabel::CopyTo(ViewLabel* target) const
{
    if (target == nullptr)
    {
        return;
    }
    target->m_nStyle = m_nStyle;
    target->m_bFlag1 = m_bFlag1;
    target->m_bVisible = m_bVisible;
    target->m_bFlag3 = m_bFlag3;
    target->m_bShadow = m_bShadow;
    target->m_strText = m_strText;
    target->m_nTag = m_nTag;
    target->m_crText = m_crText;
}

void ViewLabel::GetRect(RECT* out) const
{
    if (out != nullptr)
    {
        *out = m_rect;
    }
}

void ViewLabel::SetRect(int left, int top, int right, int bottom)
{
    m_rect = {left, top, right, bottom};
}

void ViewLabel::SetVisible(bool visible)
{
    m_bVisible = visible;
}

void ViewLabel::SetShadow(bool shadow)
{
    m_bShadow = shadow;
}

CSize ViewLabel::GetTextExtent(CDC* pDC) const
{
    if (pDC == nullptr)
    {
        return CSize(0, 0);
    }
    return pDC->GetTextExtent(m_strText.IsEmpty() ? " " : m_strText.constBuffer());
}

void ViewLabel::Draw(CDC* pDC, const RECT& rect)
{
    if (pDC == nullptr)
    {
        return;
    }
    CRect place(rect);
    if (m_bShadow)
    {
        pDC->SetTextColor(RGB(0, 0, 0));
        place.OffsetRect(1, 1);
        pDC->DrawText(m_strText.constBuffer(), &place, m_nFormat);
        place.OffsetRect(-1, -1);
    }
    pDC->SetTextColor(m_crText);
    pDC->DrawText(m_strText.constBuffer(), &place, m_nFormat);
}

void ViewLabel::SetText(const char* text)
{
    m_strText = text != nullptr ? text : "";
}

Lettra ViewLabel::GetText() const
{
    return m_strText;
}

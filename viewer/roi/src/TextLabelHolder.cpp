#include "TextLabelHolder.h"

#include "ORoiTextLabel.h"

TextLabelHolder::TextLabelHolder() = default;

TextLabelHolder::~TextLabelHolder() = default;

void TextLabelHolder::CopyFrom(const TextLabelHolder& other, ImageShow* owner)
{
    m_bShown = other.m_bShown;
    m_pLabel.reset(other.m_pLabel != nullptr
                       ? static_cast<ORoiTextLabel*>(other.m_pLabel->Clone(owner))
                       : nullptr);
}

void TextLabelHolder::PlaceAt(POINT anchor, ImageShow* owner, const RoiFont& style)
{
    if (m_pLabel == nullptr)
    {
        m_pLabel = std::make_unique<ORoiTextLabel>(owner);
        m_pLabel->SetStyleFrom(style);
        m_pLabel->SetShown(m_bShown);
    }
    m_pLabel->MoveToAnchor(anchor);
}

void TextLabelHolder::SetText(const Lettra& value, const Lettra& text, const Lettra& unit)
{
    if (m_pLabel != nullptr)
    {
        m_pLabel->SetValue(value);
        m_pLabel->SetText(text);
        m_pLabel->SetUnit(unit);
    }
}

void TextLabelHolder::SetShown(bool shown)
{
    m_bShown = shown;
    if (m_pLabel != nullptr)
    {
        m_pLabel->SetShown(shown);
    }
}

void TextLabelHolder::Offset(int dx, int dy)
{
    if (m_pLabel != nullptr)
    {
        const POINT anchor = m_pLabel->GetAnchor();
        m_pLabel->SetAnchor({anchor.x + dx, anchor.y + dy});
        m_pLabel->Offset(dx, dy);
    }
}

void TextLabelHolder::FlipVertical()
{
    if (m_pLabel != nullptr)
    {
        m_pLabel->FlipVertical();
    }
}

void TextLabelHolder::FlipHorizontal()
{
    if (m_pLabel != nullptr)
    {
        m_pLabel->FlipHorizontal();
    }
}

void TextLabelHolder::Rotate(int quarterTurns)
{
    if (m_pLabel != nullptr)
    {
        m_pLabel->Rotate(quarterTurns);
    }
}

Lettra TextLabelHolder::XmlSerializeInternal() const
{
    return m_pLabel != nullptr && m_bShown ? m_pLabel->XmlSerializeTextLabel() : Lettra();
}

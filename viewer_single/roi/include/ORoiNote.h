// A text note anchored at an image point; a measurement shows its result in
// one (its label).
#pragma once

#include "ORoiItem.h"

namespace pelivo
{

class ORoiNote : public ORoiItem
{
public:
    ORoiNote(RoiOwner* owner, int x, int y, const Lettra& text, const Lettra& secondText);

    bool IsEqual(const ORoiItem& other) const override { return ORoiItem::IsEqual(other); }
    ORoiItem* Clone(RoiOwner* owner) const override;
    // The screen box of the text, not the image bounds, is what a press hits.
    int HitTest(int x, int y) const override;
    using ORoiItem::HitTest;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(int direction) override;

    // An empty text takes the note off the pane.
    void SetText(const Lettra& text);
    void SetSecondText(const Lettra& text);
    void MoveTo(int x, int y);

    const Lettra& GetText() const { return m_text; }
    const Lettra& GetSecondText() const { return m_secondText; }
    POINT GetAnchor() const { return m_anchor; }
    POINT GetTextPosition() const { return m_textPosition; }

private:
    void ComputeBox();
    // After the anchor moved: the text goes to the anchor, or above (else
    // inside) the region a rectangle or ellipse label belongs to.
    void PlaceText();
    void MoveAnchor(POINT anchor);

    Lettra m_text;
    Lettra m_secondText;
    POINT m_anchor;
    POINT m_textPosition;
};

} // namespace pelivo

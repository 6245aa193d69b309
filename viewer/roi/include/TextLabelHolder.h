// TextLabelHolder: owns the label of one measurement, made when it is first
// placed, and passes the measurement's moves, flips and turns on to it.
// Context commands show and hide the label through the holder.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"
#include "WinGeometry.h"

#include <memory>

class ImageShow;
class ORoiTextLabel;
class RoiFont;

class QUILLON_API TextLabelHolder
{
public:
    TextLabelHolder();
    ~TextLabelHolder();
    TextLabelHolder(const TextLabelHolder&) = delete;
    TextLabelHolder& operator=(const TextLabelHolder&) = delete;

    // Null until the label is first placed.
    ORoiTextLabel* GetLabel() const { return m_pLabel.get(); }
    // A copy of the other holder's label (or none) for that owner.
    void CopyFrom(const TextLabelHolder& other, ImageShow* owner);
    // Makes the label, in the measurement's style, when there is none and
    // puts it at the anchor.
    void PlaceAt(POINT anchor, ImageShow* owner, const RoiFont& style);
    // The label's value, number and unit; nothing without a label.
    void SetText(const Lettra& value, const Lettra& text, const Lettra& unit);

    // Shown until hidden; a label made later takes the holder's state.
    bool IsShown() const { return m_bShown; }
    void SetShown(bool shown);

    void Offset(int dx, int dy);
    void FlipVertical();
    void FlipHorizontal();
    void Rotate(int quarterTurns);

    // The label's "<TextLabel>" element; empty without a shown label.
    Lettra XmlSerializeInternal() const;

private:
    std::unique_ptr<ORoiTextLabel> m_pLabel;
    bool m_bShown = true;
};

// The rectangle and the ellipse: regions whose label shows the statistics of
// the pixels under them.
#pragma once

#include "ORoiMeasure.h"

namespace pelivo
{

class ORoiRegion : public ORoiMeasure
{
public:
    ORoiRegion(RoiOwner* owner, int kind, const char* nameFormat, const RECT& bounds);

    ORoiItem* Clone(RoiOwner* owner) const override;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(int direction) override;
    void UpdateLabel() override;
    void SetNumber(int number) override;
    void CreateLabel() override;
    Lettra GetLabelText() const override;

    // A new region after an edit; the statistics follow.
    void MoveBounds(const RECT& bounds);

private:
    template <typename Move> void MoveCorners(Move move);

    const char* m_nameFormat;
};

class ORoiRectangle : public ORoiRegion
{
public:
    ORoiRectangle(RoiOwner* owner, int left, int top, int right, int bottom);
};

class ORoiEllipse : public ORoiRegion
{
public:
    ORoiEllipse(RoiOwner* owner, int left, int top, int right, int bottom);
};

} // namespace pelivo

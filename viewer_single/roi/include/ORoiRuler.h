// Distance between two image points, in millimetres when the image has a
// pixel spacing, else in pixels.
#pragma once

#include "ORoiMeasure.h"

namespace pelivo
{

class ORoiRuler : public ORoiMeasure
{
public:
    explicit ORoiRuler(RoiOwner* owner);
    ORoiRuler(RoiOwner* owner, int x1, int y1, int x2, int y2);

    bool IsEqual(const ORoiItem& other) const override;
    ORoiItem* Clone(RoiOwner* owner) const override;
    int HitTest(int x, int y) const override;
    using ORoiItem::HitTest;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(int direction) override;
    void UpdateLabel() override;
    void SetNumber(int number) override;
    void CreateLabel() override;
    Lettra GetLabelText() const override;

    void SetPoints(int x1, int y1, int x2, int y2);
    POINT GetFirst() const { return m_first; }
    POINT GetSecond() const { return m_second; }
    double GetLength() const { return m_length; }
    int GetSlope() const { return m_slope; }

private:
    void ComputeResult();
    template <typename Move> void MovePoints(Move move);

    POINT m_first{};
    POINT m_second{};
    double m_length = 0.0;
    int m_slope = 0;
};

} // namespace pelivo

// The angle at a vertex between two legs, in whole degrees.
#pragma once

#include "ORoiMeasure.h"

namespace pelivo
{

class ORoiProtractor : public ORoiMeasure
{
public:
    explicit ORoiProtractor(RoiOwner* owner);
    ORoiProtractor(RoiOwner* owner, int vertexX, int vertexY, int x1, int y1, int x2, int y2);

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

    void SetPoints(POINT vertex, POINT first, POINT second);
    POINT GetVertex() const { return m_vertex; }
    POINT GetFirst() const { return m_first; }
    POINT GetSecond() const { return m_second; }
    int GetAngle() const { return m_angle; }

private:
    template <typename Move> void MovePoints(Move move);

    POINT m_vertex{};
    POINT m_first{};
    POINT m_second{};
    int m_angle = 0;
};

} // namespace pelivo

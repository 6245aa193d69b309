// MatrixHolder: ownership and sharing of one heap matrix, deep copies and the
// comparison by contents.
#include "MatrixHolder.h"

#include "MatrixTestSupport.h"

#include <memory>

using namespace matrixtest;

namespace
{

int g_destroyed = 0;

class CCountedMatrix : public MetaMatrix8
{
public:
    CCountedMatrix() : MetaMatrix8(Make8(1, 2, {1, 2})) {}
    ~CCountedMatrix() override { ++g_destroyed; }
};

TEST(MatrixHolderLifetime, LastHolderDeletesTheMatrix)
{
    g_destroyed = 0;
    auto* a = new MatrixHolder(new CCountedMatrix);
    MatrixHolder b;
    b = *a;
    EXPECT_EQ(b.GetMatrix(), a->GetMatrix());
    delete a;
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_EQ(b.GetMatrix()->GetWidth(), 2);
    b.Release();
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_TRUE(b.IsEmpty());
}

TEST(MatrixHolderLifetime, AttachingNullIsNotEmpty)
{
    MatrixHolder holder;
    EXPECT_TRUE(holder.IsEmpty());
    holder.Attach(nullptr);
    EXPECT_FALSE(holder.IsEmpty());
    EXPECT_EQ(holder.GetMatrix(), nullptr);
    holder = static_cast<MetaMatrix*>(new MetaMatrix16);
    EXPECT_NE(holder.GetMatrix(), nullptr);
}

TEST(MatrixHolderLifetime, DetachHandsTheMatrixOver)
{
    g_destroyed = 0;
    MatrixHolder holder(new CCountedMatrix);
    MetaMatrix* matrix = holder.Detach();
    EXPECT_TRUE(holder.IsEmpty());
    EXPECT_EQ(g_destroyed, 0);
    delete matrix;
    EXPECT_EQ(g_destroyed, 1);
}

TEST(MatrixHolderLifetime, AttachingTheHeldMatrixKeepsIt)
{
    g_destroyed = 0;
    auto* matrix = new CCountedMatrix;
    {
        MatrixHolder holder(matrix);
        holder.Attach(matrix);
        holder = static_cast<MetaMatrix*>(matrix);
        EXPECT_EQ(g_destroyed, 0);
        EXPECT_EQ(holder.GetMatrix(), matrix);
        EXPECT_EQ(holder.GetMatrix()->GetWidth(), 2);
    }
    EXPECT_EQ(g_destroyed, 1);
}

TEST(MatrixHolderLifetime, DetachFromASharedHolderLeavesTheMatrixShared)
{
    g_destroyed = 0;
    {
        MatrixHolder first(new CCountedMatrix);
        MatrixHolder second = first;
        EXPECT_EQ(second.Detach(), nullptr);
        EXPECT_EQ(second.GetMatrix(), first.GetMatrix());
        EXPECT_FALSE(second.IsEmpty());
        second.Release();
        EXPECT_EQ(g_destroyed, 0);
        // The sole holder left gives the matrix up.
        std::unique_ptr<MetaMatrix> taken(first.Detach());
        ASSERT_NE(taken, nullptr);
        EXPECT_TRUE(first.IsEmpty());
        EXPECT_EQ(g_destroyed, 0);
    }
    EXPECT_EQ(g_destroyed, 1);
}

TEST(MatrixHolderCopies, EmptyHoldersCopyEmpty)
{
    const MatrixHolder empty;
    const MatrixHolder copy(empty);
    EXPECT_TRUE(copy.IsEmpty());
    MatrixHolder target(new MetaMatrix8);
    empty.CopyTo(target);
    EXPECT_TRUE(target.IsEmpty());
    EXPECT_EQ(MatrixHolder::DataNil->nRefs, -1);
}

TEST(MatrixHolderCopies, CopyToClonesTheMatrix)
{
    const MatrixHolder source(new MetaMatrix16(Make16(1, 2, {7, 8})));
    MatrixHolder target;
    source.CopyTo(target);
    ASSERT_NE(target.GetMatrix(), nullptr);
    EXPECT_NE(target.GetMatrix(), source.GetMatrix());
    EXPECT_EQ(target.GetMatrix()->GetMatrixType(), MetaMatrix::enMatrix16);
    EXPECT_NE(target.GetMatrix()->GetPixelData(), source.GetMatrix()->GetPixelData());
    EXPECT_TRUE(target == source);
    MatrixHolder shadow;
    source.ShadowCopyTo(shadow);
    EXPECT_EQ(shadow.GetMatrix(), source.GetMatrix());
}

struct EqualCase
{
    const char* name;
    std::function<MetaMatrix*()> other;
    bool equal;
};

void PrintTo(const EqualCase& c, std::ostream* out)
{
    *out << c.name;
}

class MatrixHolderEquality : public ::testing::TestWithParam<EqualCase>
{
};

TEST_P(MatrixHolderEquality, ComparesClassGeometryAndPixels)
{
    const MatrixHolder a(new MetaMatrix16(Make16(2, 2, {1, 2, 3, 4})));
    const MatrixHolder b(GetParam().other());
    EXPECT_EQ(a == b, GetParam().equal);
    EXPECT_EQ(a != b, !GetParam().equal);
    EXPECT_EQ(b.IsEqual(a), GetParam().equal);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, MatrixHolderEquality,
    ::testing::Values(EqualCase{"SamePixels",
                                [] {
                                    return new MetaMatrix16(Make16(2, 2, {1, 2, 3, 4}));
                                },
                                true},
                      EqualCase{"OtherMinMax",
                                []
                                {
                                    auto* m = new MetaMatrix16(Make16(2, 2, {1, 2, 3, 4}));
                                    m->CalcMinMaxPixelValue(0);
                                    return m;
                                },
                                true},
                      EqualCase{"OnePixelDiffers",
                                [] {
                                    return new MetaMatrix16(Make16(2, 2, {1, 2, 3, 5}));
                                },
                                false},
                      EqualCase{"OtherShape",
                                [] {
                                    return new MetaMatrix16(Make16(1, 4, {1, 2, 3, 4}));
                                },
                                false},
                      EqualCase{"Signed",
                                [] {
                                    return new MetaMatrix16(Make16(2, 2, {1, 2, 3, 4}, true));
                                },
                                false},
                      EqualCase{"OtherClass",
                                [] {
                                    return new MetaMatrix8(Make8(2, 4, {1, 0, 2, 0, 3, 0, 4, 0}));
                                },
                                false},
                      EqualCase{"NoMatrix", []() -> MetaMatrix* { return nullptr; }, false}),
    [](const ::testing::TestParamInfo<EqualCase>& info) { return info.param.name; });

TEST(MatrixHolderEqualitySpecial, HoldersOfNothingAreEqual)
{
    const MatrixHolder empty;
    const MatrixHolder attachedNull(nullptr);
    EXPECT_TRUE(empty == attachedNull);
    const MatrixHolder a(new MetaMatrix8(Make8(1, 1, {1})));
    const MatrixHolder b(a);
    EXPECT_TRUE(a == b);
}

} // namespace

// What every typed matrix takes from the shared class templates: deep and
// shared copies of its own class, its type number, the joins it does not
// have and the automatic window/level it refuses.
#include "MatrixTestSupport.h"
#include "WinGlobalMemory.h"

#include <cstring>
#include <functional>
#include <memory>
#include <typeinfo>

using namespace matrixtest;

namespace
{

struct TypedCase
{
    const char* name;
    std::function<std::unique_ptr<MetaMatrix>()> make;
    MetaMatrix::enMatrixType type;
    bool joinsBeside;        // JoinAtLeft and JoinAtRight change the matrix
    bool estimatesWindow;    // AutoWindowLevel may answer true
    bool estimatesInShutter; // AutoWindowLevelEllipseShutter may answer true
};

void PrintTo(const TypedCase& c, std::ostream* out)
{
    *out << c.name;
}

std::unique_ptr<MetaMatrix> MakeBinary()
{
    MetaMatrix8 bytes = Make8(2, 3, {0, 200, 0, 200, 0, 200});
    auto binary = std::make_unique<MetaMatrixBinary>();
    binary->FromMetaMatrix8(&bytes);
    return binary;
}

const TypedCase kCases[] = {
    {"8",
     [] {
         return std::make_unique<MetaMatrix8>(Make8(2, 3, {1, 2, 3, 4, 5, 6}));
     },
     MetaMatrix::enMatrix8, false, true, false},
    {"16",
     []
     {
         auto matrix = std::make_unique<MetaMatrix16>(Make16(2, 3, {1, 200, 3, 4000, 5, 6}));
         matrix->CalcMinMaxPixelValue(0);
         return matrix;
     },
     MetaMatrix::enMatrix16, true, true, true},
    {"RGB", [] { return std::make_unique<MetaMatrixRGB>(MakeRgb(2, 3)); }, MetaMatrix::enMatrixRGB,
     false, false, false},
    {"Binary", MakeBinary, MetaMatrix::enMatrixBinary, false, false, false},
};

class MetaMatrixTypedClass : public ::testing::TestWithParam<TypedCase>
{
};

TEST_P(MetaMatrixTypedClass, CloneIsADeepCopyOfTheSameClass)
{
    const std::unique_ptr<MetaMatrix> matrix = GetParam().make();
    const std::unique_ptr<MetaMatrix> clone(matrix->Clone());
    EXPECT_EQ(typeid(*clone), typeid(*matrix));
    EXPECT_EQ(clone->GetMatrixType(), GetParam().type);
    EXPECT_NE(clone->GetData(), matrix->GetData());
    EXPECT_EQ(Bytes(*clone), Bytes(*matrix));
    EXPECT_EQ(ReadAll(*clone), ReadAll(*matrix));
}

TEST_P(MetaMatrixTypedClass, ShadowSharesTheBlockAsTheSameClass)
{
    const std::unique_ptr<MetaMatrix> matrix = GetParam().make();
    const std::unique_ptr<MetaMatrix> shadow(matrix->Shadow());
    EXPECT_EQ(typeid(*shadow), typeid(*matrix));
    EXPECT_EQ(shadow->GetMatrixType(), GetParam().type);
    EXPECT_EQ(shadow->GetData(), matrix->GetData());
    EXPECT_EQ(matrix->GetData()->nRefs, 2);
}

TEST_P(MetaMatrixTypedClass, JoinsOnlyWhereTheClassHasThem)
{
    const std::unique_ptr<MetaMatrix> matrix = GetParam().make();
    const std::unique_ptr<MetaMatrix> other(matrix->Clone());
    const int width = matrix->GetWidth();
    matrix->JoinAtLeft(other.get());
    matrix->JoinAtRight(other.get());
    matrix->JoinAtTop(other.get());
    EXPECT_EQ(matrix->GetWidth(), GetParam().joinsBeside ? 3 * width : width);
    EXPECT_EQ(matrix->GetHeight(), 2);
}

TEST_P(MetaMatrixTypedClass, AutomaticWindowOnlyWhereTheClassEstimatesIt)
{
    const std::unique_ptr<MetaMatrix> matrix = GetParam().make();
    int width = 0;
    int center = 0;
    RECT shutter = {0, 0, 3, 2};
    EXPECT_EQ(matrix->AutoWindowLevel(&width, &center), GetParam().estimatesWindow);
    if (!GetParam().estimatesInShutter)
    {
        EXPECT_FALSE(matrix->AutoWindowLevelEllipseShutter(&width, &center, &shutter));
    }
}

TEST_P(MetaMatrixTypedClass, DibWithoutTableIsTheDibOfTheDefaultTable)
{
    const std::unique_ptr<MetaMatrix> matrix = GetParam().make();
    void* plain = matrix->CreateDIB();
    void* defaulted = matrix->CreateDIB(nullptr);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(defaulted, nullptr);
    ASSERT_EQ(GlobalSize(plain), GlobalSize(defaulted));
    EXPECT_EQ(std::memcmp(GlobalLock(plain), GlobalLock(defaulted), GlobalSize(plain)), 0);
    GlobalUnlock(plain);
    GlobalUnlock(defaulted);
    GlobalFree(plain);
    GlobalFree(defaulted);
}

INSTANTIATE_TEST_SUITE_P(Classes, MetaMatrixTypedClass, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

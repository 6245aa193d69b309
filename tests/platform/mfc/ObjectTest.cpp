#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxObject.h"
#include "MfcTestModule.h"
#include "WinModule.h"

#include <gtest/gtest.h>

#include <memory>

// Named so that the run-time class members have ordinary linkage.
namespace object_test
{
class CShape : public CObject
{
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape
{
    DECLARE_DYNCREATE(CCircle)
public:
    int m_nRadius = 5;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape
{
    DECLARE_SERIAL(CSquare)
};
IMPLEMENT_SERIAL(CSquare, CShape, 3)

class CThrowingShape : public CShape
{
    DECLARE_DYNCREATE(CThrowingShape)
public:
    CThrowingShape() { AfxThrowResourceException(); }
};
IMPLEMENT_DYNCREATE(CThrowingShape, CShape)
} // namespace object_test

namespace
{
using namespace object_test;

TEST(CRuntimeClassTest, RecordsNameSizeAndSchema)
{
    EXPECT_STREQ(RUNTIME_CLASS(CCircle)->m_lpszClassName, "CCircle");
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_wSchema, 0xFFFFu);
    EXPECT_EQ(RUNTIME_CLASS(CSquare)->m_wSchema, 3u);
    EXPECT_STREQ(RUNTIME_CLASS(CObject)->m_lpszClassName, "CObject");
    EXPECT_EQ(CCircle::GetThisClass(), RUNTIME_CLASS(CCircle));
}

TEST(CRuntimeClassTest, IsKindOfFollowsTheBaseChain)
{
    CCircle circle;
    EXPECT_EQ(circle.GetRuntimeClass(), RUNTIME_CLASS(CCircle));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CSquare)));
    EXPECT_FALSE(circle.IsKindOf(nullptr));
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));
}

TEST(CRuntimeClassTest, CreatesOnlyCreatableClasses)
{
    std::unique_ptr<CObject> pCircle(RUNTIME_CLASS(CCircle)->CreateObject());
    ASSERT_NE(pCircle, nullptr);
    EXPECT_TRUE(pCircle->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(static_cast<CCircle*>(pCircle.get())->m_nRadius, 5);
    EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->CreateObject(), nullptr);
}

TEST(CRuntimeClassTest, FailedConstructionGivesNull)
{
    EXPECT_EQ(RUNTIME_CLASS(CThrowingShape)->CreateObject(), nullptr);
}

TEST(CRuntimeClassTest, SerialClassesAreFoundByName)
{
    EXPECT_EQ(CRuntimeClass::FromName("CSquare"), RUNTIME_CLASS(CSquare));
    EXPECT_EQ(CRuntimeClass::FromName("CCircle"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
    CSquare square;
    EXPECT_TRUE(square.IsSerializable());
    EXPECT_FALSE(CCircle().IsSerializable());
}

TEST(CRuntimeClassTest, CreatesClassesOfAnotherModule)
{
    HMODULE hModuleA = LoadLibraryA("MfcTestModuleA.dll");
    HMODULE hModuleB = LoadLibraryA("MfcTestModuleB.dll");
    ASSERT_NE(hModuleA, nullptr);
    ASSERT_NE(hModuleB, nullptr);
    auto pfnClassA = ToModuleClassFunction(GetProcAddress(hModuleA, "GetModuleClass"));
    auto pfnClassB = ToModuleClassFunction(GetProcAddress(hModuleB, "GetModuleClass"));
    ASSERT_NE(pfnClassA, nullptr);
    ASSERT_NE(pfnClassB, nullptr);

    std::unique_ptr<CObject> pShape(pfnClassA()->CreateObject());
    ASSERT_NE(pShape, nullptr);
    EXPECT_STREQ(pShape->GetRuntimeClass()->m_lpszClassName, "CModuleAShape");
    EXPECT_TRUE(pShape->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(pShape->IsKindOf(pfnClassB()));
    EXPECT_STREQ(pfnClassB()->m_lpszClassName, "CModuleBShape");
    EXPECT_EQ(pfnClassB()->CreateObject(), nullptr);
    FreeLibrary(hModuleA);
    FreeLibrary(hModuleB);
}
} // namespace

#include "AfxArchive.h"
#include "AfxColl.h"
#include "AfxFile.h"
#include "TempFolder.h"
#include "ThrownCause.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace archive_test
{
class CNode : public CObject
{
    DECLARE_SERIAL(CNode)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar << m_strName << m_nValue << m_pNext;
            return;
        }
        m_nSchemaSeen = ar.GetObjectSchema();
        ar >> m_strName >> m_nValue >> m_pNext;
    }

    CString m_strName;
    LONG m_nValue = 0;
    CNode* m_pNext = nullptr;
    UINT m_nSchemaSeen = 0;
};
IMPLEMENT_SERIAL(CNode, CObject, 2)

class CLeaf : public CNode
{
    DECLARE_SERIAL(CLeaf)
};
IMPLEMENT_SERIAL(CLeaf, CNode, 1)
} // namespace archive_test

namespace
{
using namespace archive_test;

std::vector<BYTE> BytesOf(CMemFile& file)
{
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    return bytes;
}

int ArchiveCauseOf(const std::vector<BYTE>& bytes, void (*pfnLoad)(CArchive&))
{
    CMemFile file;
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    return GetThrownCause<CArchiveException>([&] { pfnLoad(ar); });
}

TEST(CArchiveTest, NumbersRoundTripInWindowsWidths)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0x1234) << -5 << 0xDEADBEEFu
           << static_cast<short>(-2) << 'c' << true << 1.5f << 2.25 << static_cast<LONGLONG>(-1)
           << static_cast<ULONGLONG>(1) << 40;
    }
    EXPECT_EQ(file.GetLength(), 1u + 2 + 4 + 4 + 2 + 1 + 1 + 4 + 8 + 8 + 8 + 4);
    const std::vector<BYTE> bytes = BytesOf(file);
    EXPECT_EQ(bytes[0], 0xAB);
    EXPECT_EQ(bytes[1], 0x34); // little-endian
    EXPECT_EQ(bytes[2], 0x12);

    CArchive ar(&file, CArchive::load);
    BYTE by = 0;
    WORD w = 0;
    LONG l = 0;
    DWORD dw = 0;
    short s = 0;
    char ch = 0;
    bool b = false;
    float f = 0;
    double d = 0;
    LONGLONG ll = 0;
    ULONGLONG ull = 0;
    int n = 0;
    ar >> by >> w >> l >> dw >> s >> ch >> b >> f >> d >> ll >> ull >> n;
    EXPECT_EQ(by, 0xAB);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(l, -5);
    EXPECT_EQ(dw, 0xDEADBEEFu);
    EXPECT_EQ(s, -2);
    EXPECT_EQ(ch, 'c');
    EXPECT_TRUE(b);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, 2.25);
    EXPECT_EQ(ll, -1);
    EXPECT_EQ(ull, 1u);
    EXPECT_EQ(n, 40);
}

TEST(CArchiveTest, StringsCarryTheirLengthPrefix)
{
    const std::pair<int, size_t> kCases[] = {{0, 1}, {254, 1}, {255, 3}, {0xFFFE, 3}, {0xFFFF, 7}};
    for (const auto& [nLength, nPrefix] : kCases)
    {
        const CString strText('s', nLength);
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << strText;
        }
        EXPECT_EQ(file.GetLength(), nPrefix + nLength);
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        CString strBack;
        ar >> strBack;
        EXPECT_EQ(strBack, strText) << nLength;
    }
}

TEST(CArchiveTest, ObjectGraphsKeepSharedReferences)
{
    CMemFile file;
    {
        CNode first;
        CLeaf second;
        first.m_strName = "first";
        first.m_nValue = 1;
        first.m_pNext = &second;
        second.m_strName = "second";
        second.m_nValue = 2;
        second.m_pNext = &first; // a cycle back to the first object
        CArchive ar(&file, CArchive::store);
        ar << &first << &second << static_cast<CObject*>(nullptr);
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CNode* pFirst = nullptr;
    CObject* pSecond = nullptr;
    CObject* pNull = &file;
    ar >> pFirst >> pSecond >> pNull;
    std::unique_ptr<CNode> firstOwner(pFirst);
    std::unique_ptr<CObject> secondOwner(pSecond);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_STREQ(pFirst->m_strName, "first");
    EXPECT_EQ(pFirst->m_nSchemaSeen, 2u);
    ASSERT_TRUE(pSecond->IsKindOf(RUNTIME_CLASS(CLeaf)));
    EXPECT_EQ(pFirst->m_pNext, pSecond);
    EXPECT_EQ(static_cast<CNode*>(pSecond)->m_pNext, pFirst);
    EXPECT_EQ(static_cast<CNode*>(pSecond)->m_nSchemaSeen, 1u);
    EXPECT_EQ(pNull, nullptr);
}

TEST(CArchiveTest, RejectsObjectsOfTheWrongClass)
{
    CMemFile file;
    {
        CNode node;
        CArchive ar(&file, CArchive::store);
        ar << &node;
    }
    const std::vector<BYTE> bytes = BytesOf(file);
    EXPECT_EQ(ArchiveCauseOf(bytes,
                             [](CArchive& ar)
                             {
                                 CLeaf* pLeaf = nullptr;
                                 ar >> pLeaf;
                             }),
              CArchiveException::badClass);
}

TEST(CArchiveTest, DamagedDataFailsCleanly)
{
    auto loadObject = [](CArchive& ar)
    {
        CObject* pObject = nullptr;
        ar >> pObject;
        delete pObject;
    };
    auto loadString = [](CArchive& ar)
    {
        CString str;
        ar >> str;
    };
    auto loadLong = [](CArchive& ar)
    {
        LONG l = 0;
        ar >> l;
    };
    // New class record naming a class nobody registered.
    EXPECT_EQ(ArchiveCauseOf({0xFF, 0xFF, 1, 0, 3, 0, 'Z', 'Z', 'Z'}, loadObject),
              CArchiveException::badClass);
    // Known class, other schema.
    EXPECT_EQ(ArchiveCauseOf({0xFF, 0xFF, 9, 0, 5, 0, 'C', 'N', 'o', 'd', 'e'}, loadObject),
              CArchiveException::badSchema);
    // Reference to an object never loaded, and to a class never loaded.
    EXPECT_EQ(ArchiveCauseOf({5, 0}, loadObject), CArchiveException::badIndex);
    EXPECT_EQ(ArchiveCauseOf({0x01, 0x80}, loadObject), CArchiveException::badIndex);
    // A class name longer than any class may have.
    EXPECT_EQ(ArchiveCauseOf({0xFF, 0xFF, 1, 0, 0xFF, 0x7F}, loadObject),
              CArchiveException::badClass);
    // A string length of four gigabytes with three bytes behind it.
    EXPECT_EQ(ArchiveCauseOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'}, loadString),
              CArchiveException::endOfFile);
    EXPECT_EQ(ArchiveCauseOf({1, 2}, loadLong), CArchiveException::endOfFile);
}

TEST(CArchiveTest, DirectionIsEnforced)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    bool bThrown = false;
    try
    {
        LONG l = 0;
        ar >> l;
    }
    catch (CArchiveException* e)
    {
        bThrown = e->m_cause == CArchiveException::writeOnly;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST(CArchiveTest, GetFileHandsOverTheFileAtTheArchivePosition)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << 3;
        ar.GetFile()->Write("RAW", 3); // written straight to the file
        ar << 4;
    }
    EXPECT_EQ(file.GetLength(), 11u);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    LONG l = 0;
    ar >> l;
    EXPECT_EQ(l, 3);
    char szRaw[4] = {};
    EXPECT_EQ(ar.GetFile()->Read(szRaw, 3), 3u);
    EXPECT_STREQ(szRaw, "RAW");
    ar >> l;
    EXPECT_EQ(l, 4);
}

TEST(CArchiveTest, CountsAndTextLines)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteCount(5);
        ar.WriteCount(70000);
        ar.WriteString("line one\r\nline two\n");
    }
    EXPECT_EQ(file.GetLength(), 2u + 6 + 19);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(ar.ReadCount(), 5u);
    EXPECT_EQ(ar.ReadCount(), 70000u);
    CString strLine;
    ASSERT_TRUE(ar.ReadString(strLine));
    EXPECT_STREQ(strLine, "line one");
    char szLine[5];
    EXPECT_STREQ(ar.ReadString(szLine, sizeof(szLine)), "line");
    EXPECT_FALSE(ar.ReadString(strLine));
}

TEST(CArchiveTest, WorksOverADiskFile)
{
    TempFolder folder;
    const std::string strPath = folder.PathOf("widths.bin");
    {
        CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 128);
        ar << 3;
        for (int nWidth : {100, 40, 100})
            ar << nWidth;
        ar.Close();
    }
    EXPECT_EQ(folder.Read("widths.bin").size(), 16u);
    CFile file(strPath.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    LONG nCount = 0;
    ar >> nCount;
    ASSERT_EQ(nCount, 3);
    std::vector<LONG> widths(3);
    for (LONG& nWidth : widths)
        ar >> nWidth;
    EXPECT_EQ(widths, (std::vector<LONG>{100, 40, 100}));
}
} // namespace

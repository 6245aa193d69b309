#include "AfxFile.h"
#include "AfxFileFind.h"
#include "TempFolder.h"
#include "ThrownCause.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
int CauseOfThrow(void (*pfnAction)(const std::string&), const std::string& strArgument)
{
    return GetThrownCause<CFileException>([&] { pfnAction(strArgument); });
}

// A memory file that may not grow answers a write past its end this way.
bool ThrowsMemoryExceptionOnWrite(CFile& file, const char* pszData)
{
    bool bThrown = false;
    try
    {
        file.Write(pszData, static_cast<UINT>(std::strlen(pszData)));
    }
    catch (CMemoryException* e)
    {
        bThrown = true;
        e->Delete();
    }
    return bThrown;
}

TEST(CFileTest, WritesReadsSeeksAndMeasures)
{
    TempFolder folder;
    const std::string strPath = folder.PathOf("data.bin");
    {
        CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
        file.Write("0123456789", 10);
        EXPECT_EQ(file.GetPosition(), 10u);
        EXPECT_STREQ(file.GetFileName(), "data.bin");
        EXPECT_STREQ(file.GetFileTitle(), "data");
    }
    EXPECT_EQ(folder.Read("data.bin"), "0123456789");

    CFile file;
    ASSERT_TRUE(file.Open(strPath.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_EQ(file.GetLength(), 10u);
    char szBuffer[16] = {};
    EXPECT_EQ(file.Seek(-4, CFile::end), 6u);
    EXPECT_EQ(file.Read(szBuffer, sizeof(szBuffer)), 4u);
    EXPECT_STREQ(szBuffer, "6789");
    EXPECT_EQ(file.Read(szBuffer, sizeof(szBuffer)), 0u);
    file.SeekToBegin();
    EXPECT_EQ(file.Read(szBuffer, 2), 2u);
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST(CFileTest, OpenFailuresFillTheExceptionRecord)
{
    TempFolder folder;
    CFile file;
    CFileException error;
    const std::string strMissing = folder.PathOf("missing.dcm");
    EXPECT_FALSE(file.Open(strMissing.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(error.m_strFileName, strMissing.c_str());
    EXPECT_EQ(CauseOfThrow([](const std::string& strPath)
                           { CFile thrown(strPath.c_str(), CFile::modeRead); },
                           strMissing),
              CFileException::fileNotFound);
}

TEST(CFileTest, ShareModesConflictWithinTheProcess)
{
    TempFolder folder;
    const std::string strPath = folder.Write("shared.txt", "x");
    struct Case
    {
        UINT nFirst;
        UINT nSecond;
        bool bSecondOpens;
    };
    const Case kCases[] = {
        {CFile::modeRead, CFile::modeRead, false}, // shareCompat is exclusive
        {CFile::modeRead | CFile::shareDenyWrite, CFile::modeRead | CFile::shareDenyWrite, true},
        {CFile::modeRead | CFile::shareDenyWrite, CFile::modeReadWrite | CFile::shareDenyNone,
         false},
        {CFile::modeRead | CFile::shareDenyNone, CFile::modeWrite | CFile::shareDenyNone, true},
        {CFile::modeWrite | CFile::shareExclusive, CFile::modeRead | CFile::shareDenyNone, false},
    };
    for (const Case& c : kCases)
    {
        CFile first;
        ASSERT_TRUE(first.Open(strPath.c_str(), c.nFirst));
        CFile second;
        CFileException error;
        EXPECT_EQ(second.Open(strPath.c_str(), c.nSecond, &error) != FALSE, c.bSecondOpens)
            << c.nFirst << " then " << c.nSecond;
        if (!c.bSecondOpens)
        {
            EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
        }
    }
}

TEST(CFileTest, CreateTruncatesUnlessNoTruncate)
{
    TempFolder folder;
    const std::string strPath = folder.Write("keep.txt", "abcdef");
    {
        CFile file(strPath.c_str(),
                   CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(file.GetLength(), 6u);
        file.SeekToEnd();
        file.Write("g", 1);
    }
    EXPECT_EQ(folder.Read("keep.txt"), "abcdefg");
    {
        CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_EQ(folder.Read("keep.txt"), "");
}

TEST(CStdioFileTest, ReadsLinesWithoutTheirEnds)
{
    TempFolder folder;
    const std::string strPath = folder.Write("grid.csv", "a,b\nsecond\r\n\nlast");
    CStdioFile file(strPath.c_str(), CFile::modeRead | CFile::typeText);
    CString strLine;
    std::vector<CString> lines;
    while (file.ReadString(strLine))
        lines.push_back(strLine);
    EXPECT_EQ(lines, (std::vector<CString>{"a,b", "second", "", "last"}));
    EXPECT_FALSE(file.ReadString(strLine));
}

TEST(CStdioFileTest, BoundedReadsSplitLongLines)
{
    TempFolder folder;
    const std::string strPath = folder.Write("long.txt", "abcdefgh\nxy\n");
    CStdioFile file(strPath.c_str(), CFile::modeRead);
    char szLine[6];
    ASSERT_NE(file.ReadString(szLine, sizeof(szLine)), nullptr);
    EXPECT_STREQ(szLine, "abcde");
    EXPECT_EQ(file.GetPosition(), 5u);
    ASSERT_NE(file.ReadString(szLine, sizeof(szLine)), nullptr);
    EXPECT_STREQ(szLine, "fgh");
    ASSERT_NE(file.ReadString(szLine, sizeof(szLine)), nullptr);
    EXPECT_STREQ(szLine, "xy");
    EXPECT_EQ(file.ReadString(szLine, sizeof(szLine)), nullptr);
}

TEST(CStdioFileTest, LineEndSplitByTheBufferIsOneLineEnd)
{
    TempFolder folder;
    const std::string strPath = folder.Write("crlf.txt", "abcd\r\nnext\r\n");
    CStdioFile file(strPath.c_str(), CFile::modeRead);
    char szLine[6];
    ASSERT_NE(file.ReadString(szLine, sizeof(szLine)), nullptr);
    EXPECT_STREQ(szLine, "abcd");
    ASSERT_NE(file.ReadString(szLine, sizeof(szLine)), nullptr);
    EXPECT_STREQ(szLine, "next");
    EXPECT_EQ(file.ReadString(szLine, sizeof(szLine)), nullptr);
}

TEST(CStdioFileTest, WritesTextUntranslatedAfterReading)
{
    TempFolder folder;
    const std::string strPath = folder.Write("mixed.txt", "one\ntwo\n");
    {
        CStdioFile file(strPath.c_str(), CFile::modeReadWrite | CFile::typeText);
        CString strLine;
        ASSERT_TRUE(file.ReadString(strLine));
        file.WriteString("TWO\r\n");
    }
    EXPECT_EQ(folder.Read("mixed.txt"), "one\nTWO\r\n");
}

TEST(CMemFileTest, GrowsInStepsAndReadsBack)
{
    CMemFile file(16);
    const std::string strData(40, 'q');
    file.Write(strData.data(), static_cast<UINT>(strData.size()));
    EXPECT_EQ(file.GetLength(), 40u);
    file.Seek(50, CFile::begin);
    file.Write("!", 1);
    EXPECT_EQ(file.GetLength(), 51u);
    file.SeekToBegin();
    std::vector<char> back(60);
    EXPECT_EQ(file.Read(back.data(), 60), 51u);
    EXPECT_EQ(std::string(back.data(), 40), strData);
    EXPECT_EQ(back[45], '\0');
    EXPECT_EQ(back[50], '!');
    EXPECT_EQ(CauseOfThrow(
                  [](const std::string&)
                  {
                      CMemFile memory;
                      memory.Seek(-1, CFile::begin);
                  },
                  ""),
              CFileException::badSeek);
}

TEST(CMemFileTest, AttachedBufferWithoutGrowthCannotGrow)
{
    BYTE buffer[4] = {1, 2, 3, 4};
    CMemFile file(buffer, sizeof(buffer));
    EXPECT_EQ(file.GetLength(), 4u);
    BYTE first = 0;
    EXPECT_EQ(file.Read(&first, 1), 1u);
    EXPECT_EQ(first, 1);
    file.SeekToEnd();
    EXPECT_TRUE(ThrowsMemoryExceptionOnWrite(file, "x"));
    EXPECT_EQ(file.Detach(), buffer);
}

TEST(CSharedFileTest, DetachedHandleHoldsTheWrittenBytes)
{
    CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE, 4096);
    const std::string strData = "BM bitmap file image";
    file.Write(strData.data(), static_cast<UINT>(strData.size()));
    HGLOBAL hMemory = file.Detach();
    ASSERT_NE(hMemory, nullptr);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(GlobalSize(hMemory), 4096u);
    const char* pData = static_cast<const char*>(GlobalLock(hMemory));
    EXPECT_EQ(std::string(pData, strData.size()), strData);
    GlobalUnlock(hMemory);
    EXPECT_EQ(GlobalFree(hMemory), nullptr);
}

TEST(CSharedFileTest, SetHandleReadsAndDetachLeavesTheHandleToItsOwner)
{
    HGLOBAL hMemory = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(hMemory), "abcdef", 6);
    GlobalUnlock(hMemory);
    {
        CSharedFile file;
        file.SetHandle(hMemory, FALSE);
        EXPECT_EQ(file.GetLength(), 6u);
        char szBuffer[8] = {};
        EXPECT_EQ(file.Read(szBuffer, 8), 6u);
        EXPECT_STREQ(szBuffer, "abcdef");
        EXPECT_TRUE(ThrowsMemoryExceptionOnWrite(file, "g"));
        EXPECT_EQ(file.Detach(), hMemory);
    }
    // The file is gone; the block is still alive, unlocked and intact.
    EXPECT_EQ(GlobalSize(hMemory), 6u);
    EXPECT_EQ(std::memcmp(GlobalLock(hMemory), "abcdef", 6), 0);
    GlobalUnlock(hMemory);
    EXPECT_FALSE(GlobalUnlock(hMemory));
    GlobalFree(hMemory);
}

TEST(CSharedFileTest, GrowableHandleIsReallocatedAndFreedWithTheFile)
{
    HGLOBAL hMemory = GlobalAlloc(GMEM_MOVEABLE, 2);
    CSharedFile file;
    file.SetHandle(hMemory, TRUE);
    file.SeekToEnd();
    file.Write("xyz", 3);
    EXPECT_EQ(file.GetLength(), 5u);
    HGLOBAL hGrown = file.Detach();
    EXPECT_GE(GlobalSize(hGrown), 5u);
    GlobalFree(hGrown);
}

TEST(CFileFindTest, ListsMatchesInSortedOrder)
{
    TempFolder folder;
    folder.Write("b.dcm", "1");
    folder.Write("A.DCM", "22");
    folder.Write("c.txt", "333");
    std::filesystem::create_directory(folder.PathOf("Sub"));

    CFileFind finder;
    ASSERT_TRUE(finder.FindFile(folder.PathOf("*.*").c_str()));
    std::vector<CString> names;
    BOOL bMore = TRUE;
    while (bMore)
    {
        bMore = finder.FindNextFile();
        if (finder.IsDots())
            continue;
        names.push_back(finder.GetFileName());
        EXPECT_STREQ(finder.GetFilePath(), folder.PathOf(finder.GetFileName().GetString()).c_str());
        if (finder.GetFileName() == "c.txt")
        {
            EXPECT_EQ(finder.GetLength(), 3u);
        }
        EXPECT_EQ(finder.IsDirectory() != FALSE, finder.GetFileName() == "Sub");
    }
    EXPECT_EQ(names, (std::vector<CString>{"A.DCM", "b.dcm", "c.txt", "Sub"}));

    ASSERT_TRUE(finder.FindFile(folder.PathOf("*.dcm").c_str()));
    EXPECT_TRUE(finder.FindNextFile());
    EXPECT_STREQ(finder.GetFileTitle(), "A");
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_STREQ(finder.GetFileName(), "b.dcm");
    FILETIME written{};
    EXPECT_TRUE(finder.GetLastWriteTime(&written));
    EXPECT_NE(written.dwHighDateTime, 0u);
    EXPECT_FALSE(finder.FindFile(folder.PathOf("*.none").c_str()));
}
} // namespace

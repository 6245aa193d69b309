#include "AfxException.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
int g_nLiveExceptions = 0;

class CCountedException : public CException
{
public:
    CCountedException() { ++g_nLiveExceptions; }
    ~CCountedException() override { --g_nLiveExceptions; }
};

std::string g_strReported;
UINT g_nReportedType = 0;

int RecordReport(LPCSTR lpszText, UINT nType)
{
    g_strReported = lpszText;
    g_nReportedType = nType;
    return 2;
}

TEST(CExceptionTest, CatchDeletesTheExceptionWhenItsBlockEnds)
{
    bool bCaught = false;
    TRY
    {
        throw new CCountedException;
    }
    CATCH(CException, e)
    {
        bCaught = true;
        EXPECT_EQ(g_nLiveExceptions, 1);
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    }
    END_CATCH
    EXPECT_TRUE(bCaught);
    EXPECT_EQ(g_nLiveExceptions, 0);
}

TEST(CExceptionTest, AndCatchPicksTheFirstMatchingClass)
{
    int nHandler = 0;
    TRY
    {
        AfxThrowFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "a.dcm");
    }
    CATCH(CMemoryException, e)
    {
        nHandler = 1;
    }
    AND_CATCH(CFileException, e)
    {
        nHandler = 2;
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e->m_lOsError, ERROR_FILE_NOT_FOUND);
        EXPECT_STREQ(e->m_strFileName, "a.dcm");
    }
    AND_CATCH(CException, e)
    {
        nHandler = 3;
    }
    END_CATCH
    EXPECT_EQ(nHandler, 2);
}

TEST(CExceptionTest, ThrowLastPassesTheSameExceptionOn)
{
    CException* pOuter = nullptr;
    try
    {
        TRY
        {
            throw new CCountedException;
        }
        CATCH(CException, e)
        {
            THROW_LAST();
        }
        END_CATCH
    }
    catch (CException* e)
    {
        pOuter = e;
    }
    ASSERT_NE(pOuter, nullptr);
    EXPECT_EQ(g_nLiveExceptions, 1);
    pOuter->Delete();
    EXPECT_EQ(g_nLiveExceptions, 0);
}

TEST(CExceptionTest, MemoryExceptionIsStaticAndSurvivesDelete)
{
    CException* pFirst = nullptr;
    CException* pSecond = nullptr;
    try
    {
        AfxThrowMemoryException();
    }
    catch (CException* e)
    {
        pFirst = e;
        e->Delete();
    }
    try
    {
        AfxThrowMemoryException();
    }
    catch (CMemoryException* e)
    {
        pSecond = e;
        e->Delete();
    }
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_TRUE(pSecond->IsKindOf(RUNTIME_CLASS(CMemoryException)));
}

TEST(CExceptionTest, ThrowHelpersRaiseTheirClasses)
{
    struct Case
    {
        void (*pfnThrow)();
        const CRuntimeClass* pClass;
    };
    const Case kCases[] = {
        {AfxThrowNotSupportedException, RUNTIME_CLASS(CNotSupportedException)},
        {AfxThrowResourceException, RUNTIME_CLASS(CResourceException)},
        {AfxThrowInvalidArgException, RUNTIME_CLASS(CInvalidArgException)},
        {[] { AfxThrowArchiveException(CArchiveException::badSchema); },
         RUNTIME_CLASS(CArchiveException)},
    };
    for (const Case& c : kCases)
    {
        const CRuntimeClass* pCaught = nullptr;
        try
        {
            c.pfnThrow();
        }
        catch (CException* e)
        {
            pCaught = e->GetRuntimeClass();
            e->Delete();
        }
        EXPECT_EQ(pCaught, c.pClass);
    }
}

TEST(CExceptionTest, OsErrorsMapToFileCauses)
{
    const std::pair<LONG, int> kCases[] = {
        {ERROR_SUCCESS, CFileException::none},
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_INVALID_HANDLE, CFileException::invalidFile},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_NOT_SUPPORTED, CFileException::genericException},
    };
    for (const auto& [lOsError, cause] : kCases)
        EXPECT_EQ(CFileException::OsErrorToException(lOsError), cause) << lOsError;
}

TEST(CExceptionTest, ErrorMessagesNameTheFileAndFitTheBuffer)
{
    CFileException error(CFileException::sharingViolation, ERROR_SHARING_VIOLATION, "log.txt");
    char szMessage[128];
    UINT nHelp = 99;
    ASSERT_TRUE(error.GetErrorMessage(szMessage, sizeof(szMessage), &nHelp));
    EXPECT_NE(std::string(szMessage).find("log.txt"), std::string::npos);
    EXPECT_EQ(nHelp, 0u);

    char szShort[6];
    ASSERT_TRUE(error.GetErrorMessage(szShort, sizeof(szShort)));
    EXPECT_EQ(std::string(szShort).size(), 5u);
    EXPECT_FALSE(error.GetErrorMessage(nullptr, 0));
}

TEST(CExceptionTest, ReportErrorGoesToTheInstalledReporter)
{
    AfxExceptionReporter pfnPrevious = AfxSetExceptionReporter(RecordReport);
    CFileException error(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "grid.csv");
    EXPECT_EQ(error.ReportError(0x30), 2);
    EXPECT_NE(g_strReported.find("grid.csv"), std::string::npos);
    EXPECT_EQ(g_nReportedType, 0x30u);

    CException plain;
    plain.ReportError();
    EXPECT_FALSE(g_strReported.empty());
    EXPECT_EQ(g_strReported.find("grid.csv"), std::string::npos);
    AfxSetExceptionReporter(pfnPrevious);
}
} // namespace

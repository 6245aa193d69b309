#include "AfxException.h"

#include "AfxWinApp.h"
#include "WinError.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
constexpr LPCSTR kNoErrorText = "No error message is available.";

// A program with an application object tells its user; anything else
// writes to stderr.
int ReportByDefault(LPCSTR lpszText, UINT nType)
{
    if (AfxGetApp() != nullptr)
        return AfxMessageBox(lpszText, nType != 0 ? nType : MB_OK | MB_ICONEXCLAMATION);
    std::fprintf(stderr, "%s\n", lpszText);
    return 1; // IDOK
}

AfxExceptionReporter& CurrentReporter()
{
    static AfxExceptionReporter pfnReporter = ReportByDefault;
    return pfnReporter;
}

BOOL CopyMessage(LPCSTR lpszText, LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext)
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    const size_t nCopy = std::min<size_t>(std::strlen(lpszText), nMaxError - 1);
    std::memcpy(lpszError, lpszText, nCopy);
    lpszError[nCopy] = '\0';
    return TRUE;
}

LPCSTR FileCauseText(int cause)
{
    static constexpr LPCSTR kTexts[] = {
        "No error occurred while accessing %s.",
        "An unexpected error occurred while accessing %s.",
        "%s was not found.",
        "%s contains an invalid path.",
        "%s could not be opened because too many files are open.",
        "Access to %s was denied.",
        "An invalid file handle was used with %s.",
        "%s could not be removed because it is the current folder.",
        "%s could not be created because the folder is full.",
        "Seeking failed on %s.",
        "A hardware input/output error was reported while accessing %s.",
        "A sharing violation occurred while accessing %s.",
        "A locking violation occurred while accessing %s.",
        "The disk is full while accessing %s.",
        "An attempt was made to access %s past its end.",
    };
    if (cause < 0 || cause >= static_cast<int>(std::size(kTexts)))
        cause = CFileException::genericException;
    return kTexts[cause];
}

LPCSTR ArchiveCauseText(int cause)
{
    static constexpr LPCSTR kTexts[] = {
        "No error occurred while reading or writing %s.",
        "An unexpected error occurred while reading or writing %s.",
        "%s was opened for reading and cannot be written.",
        "An attempt was made to read %s past its end.",
        "%s was opened for writing and cannot be read.",
        "%s has an invalid format.",
        "%s holds an object of an unexpected class.",
        "%s holds an object of an unsupported version.",
    };
    if (cause < 0 || cause >= static_cast<int>(std::size(kTexts)))
        cause = CArchiveException::genericException;
    return kTexts[cause];
}

BOOL FormatWithName(LPCSTR lpszPattern, const CString& strFileName, LPSTR lpszError, UINT nMaxError,
                    UINT* pnHelpContext)
{
    CString strText;
    strText.Format(lpszPattern,
                   strFileName.IsEmpty() ? "an unnamed file" : strFileName.GetString());
    return CopyMessage(strText, lpszError, nMaxError, pnHelpContext);
}

CMemoryException& StaticMemoryException()
{
    static CMemoryException memoryException(FALSE);
    return memoryException;
}
} // namespace

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() = default;

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    CopyMessage("", lpszError, nMaxError, pnHelpContext);
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    char szMessage[512];
    CString strText;
    if (GetErrorMessage(szMessage, sizeof(szMessage)))
        strText = szMessage;
    else if (nMessageID == 0 || !strText.LoadString(nMessageID))
        strText = kNoErrorText;
    return CurrentReporter()(strText, nType);
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    return CopyMessage("Out of memory.", lpszError, nMaxError, pnHelpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                                             UINT* pnHelpContext) const
{
    return CopyMessage("The operation is not supported.", lpszError, nMaxError, pnHelpContext);
}

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    return CopyMessage("A required resource is not available.", lpszError, nMaxError,
                       pnHelpContext);
}

BOOL CInvalidArgException::GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                                           UINT* pnHelpContext) const
{
    return CopyMessage("An invalid argument was passed.", lpszError, nMaxError, pnHelpContext);
}

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError)
    {
    case ERROR_SUCCESS:
        return none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_MOD_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_NEGATIVE_SEEK:
        return badSeek;
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    return FormatWithName(FileCauseText(m_cause), m_strFileName, lpszError, nMaxError,
                          pnHelpContext);
}

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    return FormatWithName(ArchiveCauseText(m_cause), m_strFileName, lpszError, nMaxError,
                          pnHelpContext);
}

void AfxThrowMemoryException()
{
    throw &StaticMemoryException();
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AfxThrowResourceException()
{
    throw new CResourceException;
}

void AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

AfxExceptionReporter AfxSetExceptionReporter(AfxExceptionReporter pfnReporter)
{
    AfxExceptionReporter pfnPrevious = CurrentReporter();
    CurrentReporter() = pfnReporter != nullptr ? pfnReporter : ReportByDefault;
    return pfnPrevious;
}

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK()
{
    if (m_pException != nullptr)
        m_pException->Delete();
}

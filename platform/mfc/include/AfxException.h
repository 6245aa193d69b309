// MFC exceptions: thrown as pointers to CException objects and caught with
// catch (CException* e) or the TRY/CATCH macros, which delete the caught
// exception when its handler ends unless the handler throws it on.
#pragma once

#include "AfxObject.h"
#include "AfxString.h"

class PLATFORMUI_API CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE);
    ~CException() override;

    // Frees a heap exception; exceptions kept in static storage stay.
    void Delete();
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                                 UINT* pnHelpContext = nullptr) const;
    // Shows the error text through the installed reporter (a message box
    // once windows exist); nType holds MB_* flags. Returns its answer.
    virtual int ReportError(UINT nType = 0, UINT nMessageID = 0);

protected:
    BOOL m_bAutoDelete;
};

class PLATFORMUI_API CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
};

class PLATFORMUI_API CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
};

class PLATFORMUI_API CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
};

class PLATFORMUI_API CInvalidArgException : public CException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
};

class PLATFORMUI_API CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);

    // The cause for a Win32 error code.
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class PLATFORMUI_API CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = nullptr);

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] PLATFORMUI_API void AfxThrowMemoryException();
[[noreturn]] PLATFORMUI_API void AfxThrowNotSupportedException();
[[noreturn]] PLATFORMUI_API void AfxThrowResourceException();
[[noreturn]] PLATFORMUI_API void AfxThrowInvalidArgException();
[[noreturn]] PLATFORMUI_API void AfxThrowFileException(int cause, LONG lOsError = -1,
                                                       LPCSTR lpszFileName = nullptr);
[[noreturn]] PLATFORMUI_API void AfxThrowArchiveException(int cause,
                                                          LPCSTR lpszArchiveName = nullptr);

// Where CException::ReportError sends its text: by default a message box
// while the program has an application object (AfxGetApp), else stderr; a
// recorder in tests. NULL brings the default back. Returns the previous
// reporter.
using AfxExceptionReporter = int (*)(LPCSTR lpszText, UINT nType);
PLATFORMUI_API AfxExceptionReporter AfxSetExceptionReporter(AfxExceptionReporter pfnReporter);

// Deletes the exception caught by CATCH when its block is left, unless
// THROW_LAST passed it on.
struct PLATFORMUI_API AFX_EXCEPTION_LINK
{
    CException* m_pException = nullptr;
    AFX_EXCEPTION_LINK() = default;
    AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
    AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;
    ~AFX_EXCEPTION_LINK();
};

#define TRY                                                                                        \
    {                                                                                              \
        AFX_EXCEPTION_LINK _afxExceptionLink;                                                      \
        try                                                                                        \
        {
#define CATCH(class_name, e)                                                                       \
    }                                                                                              \
    catch (class_name * e)                                                                         \
    {                                                                                              \
        _afxExceptionLink.m_pException = e;
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH                                                                                  \
    }                                                                                              \
    }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define END_TRY                                                                                    \
    }                                                                                              \
    catch (CException * _afxCaught)                                                                \
    {                                                                                              \
        _afxExceptionLink.m_pException = _afxCaught;                                               \
    }                                                                                              \
    }

#define THROW(e) throw(e)
#define THROW_LAST()                                                                               \
    do                                                                                             \
    {                                                                                              \
        _afxExceptionLink.m_pException = nullptr;                                                  \
        throw;                                                                                     \
    } while (false)

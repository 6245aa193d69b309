// The application object: CWinThread runs the message loop with idle
// processing and the pre-translation walk, CWinApp adds the instance,
// names, cursors and the wait cursor; CWaitCursor shows the wait cursor for
// a scope.
#pragma once

#include "AfxModuleState.h"
#include "AfxWnd.h"

class PLATFORMUI_API CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)

public:
    CWinThread() = default;

    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur{};

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Pumps until WM_QUIT: OnIdle while the queue is empty, then messages
    // through PreTranslateMessage, TranslateMessage and DispatchMessage.
    virtual int Run();
    virtual BOOL PumpMessage();
    // PreTranslateMessage of the message's window and its parents up to the
    // main window, then of the main window for messages outside it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // lCount 0 updates the main window's bars (WM_IDLEUPDATECMDUI), 1 frees
    // the temporary wrappers; TRUE while more idle work is wanted.
    virtual BOOL OnIdle(LONG lCount);
    // Messages after which idle processing runs again.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd();

protected:
    POINT m_ptCursorLast{-1, -1};
    UINT m_nMsgLast = 0;
};

class PLATFORMUI_API CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)

public:
    // Becomes the application of the module state current at construction.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    // The message boxes of AfxMessageBox, captioned with the application's
    // name and owned by the main window.
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    // nCode 1 begins, -1 ends, 0 shows the wait cursor again.
    virtual void DoWaitCursor(int nCode);

    HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const;

private:
    AFX_MODULE_STATE* m_pModuleState;
};

class PLATFORMUI_API CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void Restore();
};

PLATFORMUI_API CWinThread* AfxGetThread();
PLATFORMUI_API CWnd* AfxGetMainWnd();
PLATFORMUI_API void AfxPostQuitMessage(int nExitCode);
// The application's name, else its program's; NULL without an application.
PLATFORMUI_API LPCSTR AfxGetAppName();
PLATFORMUI_API int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The prompt is the string of that id in the resources.
PLATFORMUI_API int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK,
                                 UINT nIDHelp = static_cast<UINT>(-1));
// The program's start: InitApplication, InitInstance, then Run (or
// ExitInstance when starting fails).
PLATFORMUI_API int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine,
                              int nCmdShow);

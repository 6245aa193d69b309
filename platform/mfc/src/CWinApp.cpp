#include "AfxWinApp.h"

#include "AfxDocument.h"
#include "AfxImageList.h"
#include "AfxMenu.h"
#include "AfxResource.h"
#include "DisplayBackend.h"
#include "WinResource.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;)
    {
        while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do
        {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur))
            {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur))
    {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = GetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr, pMsg))
        return TRUE;
    // Messages of windows outside the main window still meet its handling,
    // unless a modal window has it disabled.
    if (pMainWnd != nullptr && pMsg->hwnd != nullptr &&
        ::GetAncestor(pMsg->hwnd, GA_ROOT) != pMainWnd->m_hWnd && pMainWnd->IsWindowEnabled())
        return pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0)
    {
        CWnd* pMainWnd = GetMainWnd();
        if (pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && pMainWnd->IsWindowVisible())
        {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    }
    else if (lCount == 1)
    {
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
        CImageList::DeleteTempMap();
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
    }
    return lCount < 1;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE)
    {
        // A move to where the pointer already was is no reason for idle work.
        if (m_nMsgLast == pMsg->message && m_ptCursorLast.x == pMsg->pt.x &&
            m_ptCursorLast.y == pMsg->pt.y)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pMainWnd;
}

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_pszAppName(lpszAppName), m_pModuleState(AfxGetModuleState())
{
    m_pModuleState->m_pCurrentWinApp = this;
    m_pModuleState->m_lpszCurrentAppName = lpszAppName;
    m_hInstance = m_pModuleState->m_hCurrentInstanceHandle;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* pTemplate : m_templates)
        delete pTemplate;
    delete m_pRecentFileList;
    if (m_pModuleState->m_pCurrentWinApp == this)
        m_pModuleState->m_pCurrentWinApp = nullptr;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT)
{
    CWnd* pMainWnd = GetMainWnd();
    const HWND hOwner =
        pMainWnd != nullptr && pMainWnd->m_hWnd != nullptr && ::IsWindowEnabled(pMainWnd->m_hWnd)
            ? pMainWnd->m_hWnd
            : nullptr;
    return ::MessageBoxA(hOwner, lpszPrompt, AfxGetAppName(), nType);
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0)
    {
        const HCURSOR hPrevious = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = hPrevious;
        return;
    }
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore);
}

HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const
{
    return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR),
                         lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return LoadCursor(MAKEINTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const
{
    return ::LoadCursorA(nullptr, lpszCursorName);
}

HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const
{
    return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIcon(MAKEINTRESOURCE(nIDResource));
}

HICON CWinApp::LoadStandardIcon(LPCSTR lpszIconName) const
{
    return ::LoadIconA(nullptr, lpszIconName);
}

// A command target reaches the application's wait cursor, or the process's
// own when there is no application object.
CWaitCursor::CWaitCursor()
{
    CCmdTarget().BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    CCmdTarget().EndWaitCursor();
}

void CWaitCursor::Restore()
{
    CCmdTarget().RestoreWaitCursor();
}

CWinThread* AfxGetThread()
{
    return AfxGetApp();
}

CWnd* AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr ? pThread->GetMainWnd() : nullptr;
}

void AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

LPCSTR AfxGetAppName()
{
    const CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return nullptr;
    return pApp->m_pszAppName != nullptr ? pApp->m_pszAppName : pApp->m_pszExeName;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(nullptr, lpszText, nullptr, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString prompt;
    prompt.LoadString(nIDPrompt);
    return AfxMessageBox(prompt, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

int AfxWinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    // A program shows its windows on the display it was started on.
    ChooseDisplayBackend();
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    if (!pApp->InitApplication() || !pApp->InitInstance())
    {
        if (pApp->m_pMainWnd != nullptr)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

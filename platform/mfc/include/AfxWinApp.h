// The application object: CWinThread runs the message loop with idle
// processing and the pre-translation walk, CWinApp adds the instance,
// names, cursors and the wait cursor; CWaitCursor shows the wait cursor for
// a scope.
#pragma once

#include "AfxModuleState.h"
#include "AfxWnd.h"

#include <string>
#include <vector>

class CDocTemplate;
class CDocument;

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

// What the program was started with: the first parameter is a file to
// open; without one the program starts with a new document.
class PLATFORMUI_API CCommandLineInfo : public CObject
{
public:
    enum
    {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand = FileNew;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    CString m_strFileName;

    // bFlag: the parameter came as "/name" or "-name" (given without its
    // sign).
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);
};

// The longest name a recent file shows with in the menu, unless its file
// name alone is longer.
constexpr int AFX_ABBREV_FILENAME_LEN = 16;

// The recent files of the profile section, newest first, shown as numbered
// items from the menu item of the first id on.
class PLATFORMUI_API CRecentFileList
{
public:
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = AFX_ABBREV_FILENAME_LEN);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_names.size()); }
    CString& operator[](int nIndex) { return m_names.at(static_cast<size_t>(nIndex)); }
    virtual void Add(LPCSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The name entry nIndex shows with: the file name alone in the folder
    // lpszCurDir (its first nCurDir characters), else the path, its middle
    // folders given up for "..." until it fits the display length. When even
    // the file name is too long it stays (bAtLeastName) or the name is empty.
    // FALSE when there is no such entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    // Replaces the placeholder item (or the items shown last) with the
    // files; with none the placeholder shows greyed.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    virtual void ReadList();
    virtual void WriteList();

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;

protected:
    // The profile entry of the list's nIndex-th file.
    CString GetEntryName(int nIndex) const;

    int m_nSize;
    int m_nMaxDispLen;
    std::vector<CString> m_names;
    CString m_strOriginal;
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

    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    CRecentFileList* m_pRecentFileList = nullptr;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    // Writes the recent files back to the profile.
    int ExitInstance() override;

    // The profile becomes "<key>/<application>" of the configuration
    // folder.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    // Reads the recent files (nMaxMRU of them, 0: none) from the profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);

    // The application owns its templates.
    void AddDocTemplate(CDocTemplate* pTemplate);
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    // Splits the command line into parameters for the CCommandLineInfo.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // A new document, or the file of the command line; FALSE when that
    // fails.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // The open or save dialog (title the string nIDSTitle) over the
    // templates' file types and all files; fileName gives the name to start
    // with and takes the chosen path. FALSE when the user cancels.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                  BOOL bOpenFileDialog, CDocTemplate* pTemplate);

    afx_msg void OnFileNew();
    // Opens the file the user chooses in the open dialog.
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    afx_msg BOOL OnOpenRecentFile(UINT nID);
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

protected:
    std::vector<CDocTemplate*> m_templates;

    DECLARE_MESSAGE_MAP()

private:
    AFX_MODULE_STATE* m_pModuleState;
    std::string m_strRegistryKey;
    std::string m_strProfileName;
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

#include "AfxDocument.h"

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxRes.h"
#include "AfxWinApp.h"
#include "NativePath.h"
#include "WinFile.h"
#include "WinFileDialog.h"
#include "WinProcessInfo.h"

#include <algorithm>
#include <cstdio>
#include <string>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    for (CView* pView : m_views)
        pView->m_pDocument = nullptr;
    if (auto* pTemplate = DYNAMIC_DOWNCAST(CSingleDocTemplate, m_pDocTemplate))
        pTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle != nullptr ? lpszTitle : "";
    for (CView* pView : m_views)
    {
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = lpszPathName != nullptr ? lpszPathName : "";
    const int nSlash = std::max(m_strPathName.ReverseFind('/'), m_strPathName.ReverseFind('\\'));
    SetTitle(m_strPathName.Mid(nSlash + 1));
    CWinApp* pApp = AfxGetApp();
    if (bAddToMRU && pApp != nullptr && !m_strPathName.IsEmpty())
        pApp->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) != m_views.end())
        return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    const auto it = std::find(m_views.begin(), m_views.end(), pView);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    // A view's update may add or remove views: walk a copy.
    const std::vector<CView*> views = m_views;
    for (CView* pView : views)
    {
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    CFile file;
    CFileException error;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &error))
    {
        error.ReportError();
        return FALSE;
    }
    DeleteContents();
    try
    {
        CArchive archive(&file, CArchive::load);
        Serialize(archive);
        archive.Close();
    }
    catch (CException* e)
    {
        DeleteContents();
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName)
{
    // Written beside the file and renamed over it, so a failed save leaves
    // the file as it was.
    const std::string temporary =
        std::string(lpszPathName) + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    CFile file;
    CFileException error;
    if (!file.Open(temporary.c_str(), CFile::modeCreate | CFile::modeWrite, &error))
    {
        error.ReportError();
        return FALSE;
    }
    try
    {
        CArchive archive(&file, CArchive::store);
        Serialize(archive);
        archive.Close();
        file.Close();
    }
    catch (CException* e)
    {
        file.Abort();
        DeleteFileA(temporary.c_str());
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    if (std::rename(ResolveNativePath(temporary.c_str()).c_str(),
                    ResolveNativePath(lpszPathName).c_str()) != 0)
    {
        DeleteFileA(temporary.c_str());
        CString strPrompt;
        strPrompt.Format("Cannot save %s.", lpszPathName);
        AfxMessageBox(strPrompt, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The frames go first; their views leave the document as they go.
    std::vector<CFrameWnd*> frames;
    for (CView* pView : m_views)
    {
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr && std::find(frames.begin(), frames.end(), pFrame) == frames.end())
            frames.push_back(pFrame);
    }
    for (CFrameWnd* pFrame : frames)
        pFrame->DestroyWindow();
    DeleteContents();
    delete this;
}

void CDocument::DeleteContents() {}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString strPrompt;
    strPrompt.Format("Save changes to %s?", static_cast<LPCSTR>(m_strTitle));
    switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION))
    {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString strName(lpszPathName);
    if (strName.IsEmpty())
    {
        strName = m_strPathName;
        if (bReplace && strName.IsEmpty())
        {
            // The title, cut at anything a file name cannot hold, with the
            // template's extension.
            strName = m_strTitle;
            const int nBad = strName.FindOneOf(":/\\");
            if (nBad >= 0)
                strName = strName.Left(nBad);
            CString strExt;
            if (m_pDocTemplate != nullptr &&
                m_pDocTemplate->GetDocString(strExt, CDocTemplate::filterExt))
                strName += strExt;
        }
        CWinApp* pApp = AfxGetApp();
        if (pApp == nullptr ||
            !pApp->DoPromptFileName(strName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate))
            return FALSE;
    }
    CWaitCursor wait;
    if (!OnSaveDocument(strName))
        return FALSE;
    if (bReplace)
        SetPathName(strName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    const DWORD nAttributes =
        m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(m_strPathName);
    // A file that cannot be written to gets a new name first.
    if (m_strPathName.IsEmpty() ||
        (nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_READONLY)))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(nullptr);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

#include "AfxDocument.h"

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxWinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

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
    CFile file;
    CFileException error;
    if (!file.Open(lpszPathName, CFile::modeCreate | CFile::modeWrite, &error))
    {
        error.ReportError();
        return FALSE;
    }
    try
    {
        CArchive archive(&file, CArchive::store);
        Serialize(archive);
        archive.Close();
    }
    catch (CException* e)
    {
        e->ReportError();
        e->Delete();
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
        // A document without a file of its own has nowhere to go yet.
        return !m_strPathName.IsEmpty() && OnSaveDocument(m_strPathName);
    default:
        return TRUE;
    }
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

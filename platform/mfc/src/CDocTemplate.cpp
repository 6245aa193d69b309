#include "AfxDocument.h"
#include "AfxRes.h"

#include "AfxWinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass)
{
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    CString strFull;
    if (!strFull.LoadString(m_nIDResource))
        return FALSE;
    int nStart = 0;
    for (int i = 0; i < index; ++i)
    {
        nStart = strFull.Find('\n', nStart);
        if (nStart < 0)
            return FALSE;
        ++nStart;
    }
    const int nEnd = strFull.Find('\n', nStart);
    rString = nEnd < 0 ? strFull.Mid(nStart) : strFull.Mid(nStart, nEnd - nStart);
    return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == nullptr)
        return nullptr;
    CObject* pObject = m_pDocClass->CreateObject();
    CDocument* pDocument = DYNAMIC_DOWNCAST(CDocument, pObject);
    if (pDocument == nullptr)
    {
        delete pObject;
        return nullptr;
    }
    pDocument->m_pDocTemplate = this;
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    if (m_pFrameClass == nullptr)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* pObject = m_pFrameClass->CreateObject();
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pObject);
    if (pFrame == nullptr)
    {
        delete pObject;
        return nullptr;
    }
    // A frame whose window failed went with it (PostNcDestroy).
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString strTitle;
    if (!GetDocString(strTitle, docName) || strTitle.IsEmpty())
        strTitle.LoadString(AFX_IDS_UNTITLED);
    pDocument->SetTitle(strTitle);
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                       CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    delete m_pOnlyDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDocument = m_pOnlyDoc;
    CFrameWnd* pFrame = nullptr;
    const bool bCreated = pDocument == nullptr;
    if (!bCreated)
    {
        if (!pDocument->SaveModified())
            return nullptr;
        if (!pDocument->GetViews().empty())
            pFrame = pDocument->GetViews().front()->GetParentFrame();
    }
    else
    {
        pDocument = CreateNewDocument();
        if (pDocument == nullptr)
        {
            AfxMessageBox("Failed to create empty document.", MB_ICONEXCLAMATION);
            return nullptr;
        }
        m_pOnlyDoc = pDocument;
    }
    if (pFrame == nullptr)
    {
        pFrame = CreateNewFrame(pDocument, nullptr);
        if (pFrame == nullptr)
        {
            AfxMessageBox("Failed to create the frame window.", MB_ICONEXCLAMATION);
            delete pDocument;
            return nullptr;
        }
    }
    if (lpszPathName == nullptr)
    {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument())
            return nullptr;
    }
    else
    {
        if (!pDocument->OnOpenDocument(lpszPathName))
            return nullptr;
        pDocument->SetPathName(lpszPathName);
    }
    CWinThread* pThread = AfxGetThread();
    if (pThread != nullptr && pThread->m_pMainWnd == nullptr)
        pThread->m_pMainWnd = pFrame;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

BOOL CSingleDocTemplate::SaveAllModified()
{
    return m_pOnlyDoc == nullptr || m_pOnlyDoc->SaveModified();
}

void CSingleDocTemplate::CloseAllDocuments(BOOL)
{
    if (m_pOnlyDoc != nullptr)
        m_pOnlyDoc->OnCloseDocument();
}

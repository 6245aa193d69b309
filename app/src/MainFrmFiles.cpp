// The frame's files: opening, loading one file, saving the hot image, the
// DICOMDIR browser and its import, and the cine loop.
#include "MainFrm.h"

#include "AfxFileDialog.h"
#include "AfxWinApp.h"
#include "DICOMImage.h"
#include "LoadTransaction.h"
#include "PelivoFileDialogs.h"
#include "PelivoRunResources.h"
#include "WinClock.h"

namespace
{
constexpr DWORD kOpenBufferSize = 32768;

// The owner of the open and save dialogs: the main frame's active view.
CWnd* DialogOwner()
{
    auto* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return pFrame != nullptr ? pFrame->GetActiveView() : nullptr;
}
} // namespace

void CMainFrame::SetLoading(bool bLoading)
{
    m_bLoading = bLoading;
    m_wndStatusBar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    m_wndToolBar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    m_wndToolBar.Invalidate();
}

int CMainFrame::LoadOneFile(const char* pszPath)
{
    CView* pView = GetActiveView();
    if (GetViewer() == nullptr)
        return 0;
    CWaitCursor wait;
    Corvane holder;
    holder.SetTransactionID(NextLoadTransaction());
    holder.Attach(new DICOMImage(pszPath));
    // Sent, not posted: the view copies the handle before it goes.
    pView->SendMessage(WM_OPEN_HOLDER, 1, reinterpret_cast<LPARAM>(&holder));
    return 1;
}

void CMainFrame::ShowDisplayLayers()
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr || pViewer->GetNbOfImage() <= 0)
        return;
    OnDisplayLayer(ID_LABELS_SHOW);
    OnDisplayLayer(ID_OVERLAYS_SHOW);
    OnDisplayLayer(ID_RULER_SHOW);
}

void CMainFrame::OnFileOpen()
{
    static char s_szBuffer[kOpenBufferSize];
    CFileDialog dialog(
        TRUE, ".dcm", nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
        "DICOM files (*.dcm,*.emi,*.v2)|*.dcm;*.emi;*.v2|All files (*.*)|*.*||", DialogOwner());
    if (!RunFileDialog(dialog, "Open File", s_szBuffer, kOpenBufferSize))
        return;
    CWaitCursor wait;
    SetLoading(true);
    ClearScreen();
    for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;)
    {
        const CString strPath = dialog.GetNextPathName(pos);
        AfxGetApp()->AddToRecentFileList(strPath);
        LoadOneFile(strPath);
    }
    ShowDisplayLayers();
    SetLoading(false);
}

void CMainFrame::OnFileSaveAs()
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr || pViewer->IsHotImageEmpty())
        return;
    static char s_szBuffer[kOpenBufferSize];
    CFileDialog dialog(
        FALSE, ".jpg", nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
        "DICOM files (*.dcm)|*.dcm|DITMAP files (*.bmp)|*.bmp|JEPG files (*.jpg)|*.jpg|",
        DialogOwner());
    if (!RunFileDialog(dialog, "Open File", s_szBuffer, kOpenBufferSize))
        return;
    CWaitCursor wait;
    // The full path: the current folder is no part of the choice.
    const CString strPath = dialog.GetPathName();
    bool bSaved = true;
    switch (dialog.m_ofn.nFilterIndex)
    {
    case 1:
        bSaved = pViewer->SaveHotImageAsDicomFile(strPath);
        break;
    case 2:
        bSaved = pViewer->SaveHotImageAsBitmap(strPath);
        break;
    case 3:
        bSaved = pViewer->SaveHotImageAsJPEG(strPath);
        break;
    default:
        break;
    }
    // A save that failed unseen would pass for one that worked.
    if (!bSaved)
        ReportSaveFailure(strPath);
}

// ---- DICOMDIR -------------------------------------------------------------

void CMainFrame::OnOpenDicomDir()
{
    if (::IsWindow(m_dicomDir.GetSafeHwnd()))
    {
        m_dicomDir.ShowWindow(SW_SHOW);
        return;
    }
    CString strPath;
    if (AskDicomDirPath(this, false, strPath))
        OpenDicomDirBrowser(strPath);
}

void CMainFrame::OpenDicomDirBrowser(const char* pszPath)
{
    if (!::IsWindow(m_dicomDir.GetSafeHwnd()) && !m_dicomDir.CreateView(this))
        return;
    m_dicomDir.ShowWindow(SW_SHOW);
    m_dicomDir.LoadDicomDir(pszPath);
    AfxGetApp()->AddToRecentFileList(pszPath);
}

LRESULT CMainFrame::OnDicomDirSelection(WPARAM, LPARAM)
{
    return m_import.ImportSelection(&m_dicomDir, *this);
}

LRESULT CMainFrame::OnImportProgress(WPARAM, LPARAM lParam)
{
    m_wndStatusBar.SetPaneText(0, CDicomDirImport::ProgressText(lParam));
    return 0;
}

// ---- Cine -----------------------------------------------------------------

void CMainFrame::OnCineOn()
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr || pViewer->IsHotImageEmpty())
        return;
    m_pCine.reset();
    CWaitCursor wait;
    m_bPlaying = true;
    m_nSavedLeftTool = pViewer->GetLeftButton();
    m_nSavedRightTool = pViewer->GetRightButton();
    SetTools(0, 0);
    m_wndToolBar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    m_wndToolBar.Invalidate();
    m_pCine = pViewer->MakeCinePlayer();
    if (m_pCine != nullptr)
        m_pCine->Prepare();
    m_dCineInterval = DefaultCineInterval;
    CineLoop();
}

void CMainFrame::CineLoop()
{
    DWORD dwLastFrame = ::GetTickCount();
    while (m_bPlaying)
    {
        MSG msg;
        const bool bMessage = ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
        const DWORD dwNow = ::GetTickCount();
        if (static_cast<double>(dwNow - dwLastFrame) >= m_dCineInterval)
        {
            if (m_pCine != nullptr)
                m_pCine->Next();
            m_wndStatusBar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            m_wndToolBar.Invalidate(TRUE);
            dwLastFrame = dwNow;
        }
        if (!m_bPlaying)
            break;
        if (bMessage && msg.message == WM_CHAR && msg.wParam == VK_ESCAPE)
        {
            // Escape stops the cine as Cine Off does; the key stays queued.
            RestoreCineTools();
            break;
        }
        if (bMessage && msg.message == WM_QUIT)
            break;
        if (bMessage && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_bPlaying = false;
}

void CMainFrame::RestoreCineTools()
{
    CWaitCursor wait;
    if (m_pCine != nullptr)
        m_pCine->Quit(false);
    m_pCine.reset();
    SetTools(m_nSavedLeftTool, m_nSavedRightTool);
    m_bPlaying = false;
}

void CMainFrame::OnCineOff()
{
    // A view that could not play left no controller: the loop still stops.
    if (m_pCine == nullptr && !m_bPlaying)
        return;
    RestoreCineTools();
}

void CMainFrame::OnCineSpeed(UINT nID)
{
    switch (nID)
    {
    case ID_CINE_DOWN:
        if (m_pCine != nullptr)
            m_pCine->PlayDown();
        m_dCineInterval -= 100.0;
        break;
    case ID_CINE_UP:
        if (m_pCine != nullptr)
            m_pCine->PlayUp();
        m_dCineInterval += 100.0;
        break;
    case ID_CINE_BOUNCE:
        if (m_pCine != nullptr)
            m_pCine->PlayBounce();
        m_dCineInterval += 10.0;
        break;
    default:
        break;
    }
}

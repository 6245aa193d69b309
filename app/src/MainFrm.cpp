#include "MainFrm.h"

#include "AfxMenu.h"
#include "AfxWinApp.h"
#include "PelivoRunResources.h"

#include <cstring>
#include <iterator>
#include <string>

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

namespace
{
constexpr UINT kIndicators[] = {ID_SEPARATOR,       ID_INDICATOR_SCOPE, ID_INDICATOR_CURRENT,
                                ID_INDICATOR_TOTAL, ID_INDICATOR_CAPS,  ID_INDICATOR_NUM,
                                ID_INDICATOR_SCRL};

constexpr char kToolsCaption[] = "Tools(&T)";
constexpr char kViewCaption[] = "View(&V)";
constexpr char kLayoutCaption[] = "Layout(&L)";
constexpr char kWindowLevelCaption[] = "WW/WL(&W)";
constexpr char kPrompt[] = "Not intended for diagnostic use !";

struct ToolCommand
{
    int nCode;
    UINT nLeft;
    UINT nRight;
};
constexpr ToolCommand kTools[] = {
    {0, ID_LEFT_ARROW, ID_RIGHT_ARROW},
    {1, ID_LEFT_WINDOW_LEVEL, ID_RIGHT_WINDOW_LEVEL},
    {2, ID_LEFT_QUICK_SCROLL, ID_RIGHT_QUICK_SCROLL},
    {3, ID_LEFT_MAG_GLASS, ID_RIGHT_MAG_GLASS},
    {4, ID_LEFT_ZOOM, ID_RIGHT_ZOOM},
    {5, ID_LEFT_PAN, ID_RIGHT_PAN},
    {6, ID_LEFT_DISTANCE, ID_RIGHT_DISTANCE},
    {7, ID_LEFT_ANGLE, ID_RIGHT_ANGLE},
    {11, ID_LEFT_TEXT, ID_RIGHT_TEXT},
    {12, ID_LEFT_SELECTOR, ID_RIGHT_SELECTOR},
};

const ToolCommand* FindTool(UINT nID)
{
    for (const ToolCommand& tool : kTools)
        if (tool.nLeft == nID || tool.nRight == nID)
            return &tool;
    return nullptr;
}

struct Preset
{
    int nWidth;
    int nLevel;
};
// Bone, Brain, Lung, Liver, Lumbar, Midriff.
constexpr Preset kPresets[] = {{1500, 300}, {150, 50},   {1000, -675},
                               {90, 90},    {1400, 300}, {400, 30}};

struct LayoutPair
{
    int nFirst;
    int nSecond;
};
constexpr LayoutPair kLayouts[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 3}, {4, 4}};

int CeilDiv(int nValue, int nDivisor)
{
    return (nValue + nDivisor - 1) / nDivisor;
}
} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_OPEN_DICOMDIR, OnOpenDicomDir)
ON_COMMAND(ID_FILE_SAVE_IMAGE_AS, OnFileSaveAs)
ON_COMMAND(ID_EDIT_COPY_TO_CLIPBOARD, OnCopyToClipboard)
ON_COMMAND(ID_EDIT_COPY_TO_VIEW, OnCopyToView)
ON_COMMAND(ID_VIEW_CLOSE_IMAGE, OnCloseImage)
ON_COMMAND(ID_VIEW_CLOSE_VIEW, OnCloseView)
ON_COMMAND_RANGE(ID_LABELS_SHOW, ID_RULER_HIDE, OnDisplayLayer)
ON_COMMAND(ID_CLEAR_ANNOTATION, OnClearAnnotation)
ON_COMMAND_RANGE(ID_LAYOUT_FIRST, ID_LAYOUT_LAST, OnLayout)
ON_COMMAND_RANGE(ID_VIEW_LAYOUT_FIRST, ID_VIEW_LAYOUT_LAST, OnViewLayout)
ON_COMMAND_RANGE(ID_NAV_PAGE_DOWN, ID_NAV_IMAGE_UP, OnPaging)
ON_COMMAND_RANGE(ID_NAV_FIRST_PAGE, ID_NAV_LAST_PAGE, OnPaging)
ON_COMMAND_RANGE(ID_SCOPE_IMAGE, ID_SCOPE_VIEW, OnScope)
ON_COMMAND_RANGE(ID_TOOLS_FLIP_HORIZONTAL, ID_TOOLS_INVERT, OnOrientation)
ON_COMMAND_RANGE(ID_TOOLS_ROTATE_CCW, ID_TOOLS_ROTATE_CW, OnOrientation)
ON_COMMAND_RANGE(ID_ZOOM_FIT, ID_ZOOM_OUT, OnZoom)
ON_COMMAND(ID_TOOLS_RESTORE, OnRestore)
ON_COMMAND_RANGE(ID_TOOL_FIRST, ID_TOOL_LAST, OnTool)
ON_COMMAND(ID_WWWL_AUTO, OnAutoWindowLevel)
ON_COMMAND_RANGE(ID_WWWL_BONE, ID_WWWL_MIDRIFF, OnPreset)
ON_COMMAND_RANGE(ID_LUT_FIRST, ID_LUT_LAST, OnSelectLut)
ON_COMMAND(ID_CINE_ON, OnCineOn)
ON_COMMAND(ID_CINE_OFF, OnCineOff)
ON_COMMAND_RANGE(ID_CINE_DOWN, ID_CINE_BOUNCE, OnCineSpeed)
ON_MESSAGE(WM_DICOMDIR_SELECTION, OnDicomDirSelection)
ON_MESSAGE(WM_IMPORT_PROGRESS, OnImportProgress)
ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateOpen)
ON_UPDATE_COMMAND_UI(ID_FILE_OPEN_DICOMDIR, OnUpdateOpen)
ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_IMAGE_AS, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI(ID_APP_EXIT, OnUpdateNotPlaying)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_TO_CLIPBOARD, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_TO_VIEW, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI(ID_VIEW_CLOSE_IMAGE, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI(ID_VIEW_CLOSE_VIEW, OnUpdateCountRule)
ON_UPDATE_COMMAND_UI_RANGE(ID_LABELS_SHOW, ID_RULER_HIDE, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI(ID_CLEAR_ANNOTATION, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI_RANGE(ID_LAYOUT_FIRST, ID_LAYOUT_LAST, OnUpdateLayout)
ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_LAYOUT_FIRST, ID_VIEW_LAYOUT_LAST, OnUpdateViewLayout)
ON_UPDATE_COMMAND_UI_RANGE(ID_NAV_PAGE_DOWN, ID_NAV_PAGE_UP, OnUpdateCountRule)
ON_UPDATE_COMMAND_UI_RANGE(ID_NAV_FIRST_PAGE, ID_NAV_LAST_PAGE, OnUpdateCountRule)
ON_UPDATE_COMMAND_UI(ID_NAV_LINE_DOWN, OnUpdateLineDown)
ON_UPDATE_COMMAND_UI(ID_NAV_LINE_UP, OnUpdateLineUp)
ON_UPDATE_COMMAND_UI(ID_NAV_IMAGE_DOWN, OnUpdateImageDown)
ON_UPDATE_COMMAND_UI(ID_NAV_IMAGE_UP, OnUpdateImageUp)
ON_UPDATE_COMMAND_UI_RANGE(ID_SCOPE_IMAGE, ID_SCOPE_VIEW, OnUpdateCountRule)
ON_UPDATE_COMMAND_UI_RANGE(ID_TOOLS_FLIP_HORIZONTAL, ID_TOOLS_INVERT, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI_RANGE(ID_TOOLS_ROTATE_CCW, ID_TOOLS_ROTATE_CW, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI_RANGE(ID_ZOOM_FIT, ID_ZOOM_OUT, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI(ID_TOOLS_RESTORE, OnUpdateCountRule)
ON_UPDATE_COMMAND_UI_RANGE(ID_TOOL_FIRST, ID_TOOL_LAST, OnUpdateTool)
ON_UPDATE_COMMAND_UI(ID_CINE_ON, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI_RANGE(ID_CINE_OFF, ID_CINE_BOUNCE, OnUpdatePlaying)
ON_UPDATE_COMMAND_UI(ID_WWWL_AUTO, OnUpdateAutoWindowLevel)
ON_UPDATE_COMMAND_UI_RANGE(ID_WWWL_BONE, ID_WWWL_MIDRIFF, OnUpdatePreset)
ON_UPDATE_COMMAND_UI_RANGE(ID_LUT_FIRST, ID_LUT_LAST, OnUpdateImageRule)
ON_UPDATE_COMMAND_UI(ID_SHOW_REPORT, OnUpdateDisabled)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCOPE, OnUpdateScopePane)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_TOTAL, OnUpdateTotalPane)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CURRENT, OnUpdateCurrentPane)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
{
    RegisterPelivoRunResources();
}

CMainFrame::~CMainFrame() = default;

IViewerWindow* CMainFrame::GetViewer() const
{
    return dynamic_cast<IViewerWindow*>(GetActiveView());
}

void CMainFrame::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    for (CWnd* pWnd = pViewNew; pWnd != nullptr && pWnd != this; pWnd = pWnd->GetParent())
    {
        auto* pView = dynamic_cast<CView*>(pWnd);
        if (pView != nullptr && dynamic_cast<IViewerWindow*>(pView) != nullptr)
        {
            pViewNew = pView;
            break;
        }
    }
    CFrameWnd::SetActiveView(pViewNew, bNotify);
}

HWND CMainFrame::GetActiveViewWindow() const
{
    return GetViewer() != nullptr ? GetActiveView()->GetSafeHwnd() : nullptr;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    const DWORD dwBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                             CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, dwBarStyle, CRect(0, 0, 0, 0),
                               AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;
    m_wndStatusBar.SetPaneInfo(1, ID_INDICATOR_SCOPE, SBPS_NORMAL, 100);
    m_wndStatusBar.SetPaneInfo(2, ID_INDICATOR_CURRENT, SBPS_NORMAL, 40);
    m_wndStatusBar.SetPaneInfo(3, ID_INDICATOR_TOTAL, SBPS_NORMAL, 100);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    const BOOL bResult = CFrameWnd::OnCreateClient(lpcs, pContext);
    if (GetActiveView() == nullptr)
    {
        auto* pView = dynamic_cast<CView*>(GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
        if (dynamic_cast<IViewerWindow*>(pView) != nullptr)
            SetActiveView(pView, FALSE);
    }
    if (IViewerWindow* pViewer = GetViewer())
    {
        pViewer->CreateView(2, 2);
        pViewer->SetViewLayout(1, 1);
        GetActiveView()->SendMessage(WM_SET_PROMPT_TEXT, 0, reinterpret_cast<LPARAM>(kPrompt));
    }
    return bResult;
}

void CMainFrame::OnClose()
{
    if (m_bPlaying)
    {
        AfxMessageBox("Cine is on play, please step cine before exit Pelivo.", MB_ICONINFORMATION);
        return;
    }
    // The import runs inside a message of this window: it must finish
    // before the window may go.
    if (m_import.IsImporting())
        return;
    CFrameWnd::OnClose();
}

// ---- Enabling rules -------------------------------------------------------

bool CMainFrame::IsImageRule() const
{
    IViewerWindow* pViewer = GetViewer();
    return !m_bPlaying && pViewer != nullptr && !pViewer->IsHotImageEmpty();
}

bool CMainFrame::IsCountRule() const
{
    IViewerWindow* pViewer = GetViewer();
    return !m_bPlaying && pViewer != nullptr && pViewer->GetNbOfImage() > 0;
}

bool CMainFrame::GetHotImageRow(int& nRow, int& nRows) const
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr)
        return false;
    const int nHot = pViewer->IndexOfHotImage();
    int nFirst = 0;
    int nColumns = 0;
    // A layout without columns has no rows to move between.
    if (nHot < 0 || !pViewer->GetImageLayout(nFirst, nColumns) || nColumns < 1)
        return false;
    nRow = CeilDiv(nHot + 1, nColumns);
    nRows = CeilDiv(pViewer->GetNbOfImage(), nColumns);
    return true;
}

void CMainFrame::OnUpdateOpen(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bPlaying && !m_bLoading);
}

void CMainFrame::OnUpdateImageRule(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsImageRule());
}

void CMainFrame::OnUpdateCountRule(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsCountRule());
}

void CMainFrame::OnUpdateNotPlaying(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bPlaying);
}

void CMainFrame::OnUpdatePlaying(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bPlaying);
}

void CMainFrame::OnUpdateDisabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

void CMainFrame::OnUpdateLayout(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsCountRule());
    int nFirst = 0;
    int nSecond = 0;
    IViewerWindow* pViewer = GetViewer();
    const LayoutPair& layout = kLayouts[pCmdUI->m_nID - ID_LAYOUT_FIRST];
    pCmdUI->SetCheck(pViewer != nullptr && pViewer->GetImageLayout(nFirst, nSecond) &&
                     nFirst == layout.nFirst && nSecond == layout.nSecond);
}

void CMainFrame::OnUpdateViewLayout(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsCountRule());
    int nRows = 0;
    int nColumns = 0;
    IViewerWindow* pViewer = GetViewer();
    const LayoutPair& layout = kLayouts[pCmdUI->m_nID - ID_VIEW_LAYOUT_FIRST];
    pCmdUI->SetCheck(pViewer != nullptr && pViewer->GetViewLayout(nRows, nColumns) &&
                     nRows == layout.nFirst && nColumns == layout.nSecond);
}

void CMainFrame::OnUpdateLineDown(CCmdUI* pCmdUI)
{
    int nRow = 0;
    int nRows = 0;
    pCmdUI->Enable(!m_bPlaying && GetHotImageRow(nRow, nRows) && nRows - nRow > 0);
}

void CMainFrame::OnUpdateLineUp(CCmdUI* pCmdUI)
{
    int nRow = 0;
    int nRows = 0;
    pCmdUI->Enable(!m_bPlaying && GetHotImageRow(nRow, nRows) && nRow > 1);
}

void CMainFrame::OnUpdateImageDown(CCmdUI* pCmdUI)
{
    IViewerWindow* pViewer = GetViewer();
    pCmdUI->Enable(!m_bPlaying && pViewer != nullptr &&
                   pViewer->IndexOfHotImage() + 1 < pViewer->GetNbOfImage());
}

void CMainFrame::OnUpdateImageUp(CCmdUI* pCmdUI)
{
    IViewerWindow* pViewer = GetViewer();
    pCmdUI->Enable(!m_bPlaying && pViewer != nullptr && pViewer->IndexOfHotImage() > 0);
}

void CMainFrame::OnUpdateTool(CCmdUI* pCmdUI)
{
    const ToolCommand* pTool = FindTool(pCmdUI->m_nID);
    IViewerWindow* pViewer = GetViewer();
    pCmdUI->Enable(pTool != nullptr && IsImageRule());
    if (pTool == nullptr || pViewer == nullptr)
        return;
    const int nCurrent =
        pTool->nLeft == pCmdUI->m_nID ? pViewer->GetLeftButton() : pViewer->GetRightButton();
    pCmdUI->SetCheck(nCurrent == pTool->nCode);
}

void CMainFrame::OnUpdateAutoWindowLevel(CCmdUI* pCmdUI)
{
    RebuildLutMenu();
    pCmdUI->Enable(IsImageRule());
}

void CMainFrame::OnUpdatePreset(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsImageRule() && GetViewer()->GetHotImageDicomValue(0x0008, 0x0060) == "CT");
}

// ---- Status bar and title -------------------------------------------------

void CMainFrame::OnUpdateScopePane(CCmdUI* pCmdUI)
{
    IViewerWindow* pViewer = GetViewer();
    const int nScope = pViewer != nullptr ? pViewer->GetScope() : 0;
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(nScope == 0 ? "Scope: Image" : nScope == 1 ? "Scope: View" : "Scope: UnKnown");
}

void CMainFrame::OnUpdateTotalPane(CCmdUI* pCmdUI)
{
    IViewerWindow* pViewer = GetViewer();
    CString strText;
    strText.Format("Total: %d", pViewer != nullptr ? pViewer->GetNbOfImage() : 0);
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(strText);
}

void CMainFrame::OnUpdateCurrentPane(CCmdUI* pCmdUI)
{
    CString strText;
    if (m_bPlaying)
    {
        if (m_pCine != nullptr)
            strText.Format("%d", m_pCine->GetIndex() + 1);
        else
            strText = "UnKnown";
    }
    else
    {
        IViewerWindow* pViewer = GetViewer();
        strText.Format("%d", pViewer != nullptr ? pViewer->IndexOfHotImage() + 1 : 1);
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetText(strText);
    UpdateWindowTitle();
}

void CMainFrame::UpdateWindowTitle()
{
    CString strTitle = "Pelivo";
    IViewerWindow* pViewer = GetViewer();
    if (pViewer != nullptr && !pViewer->IsHotImageEmpty())
    {
        const CString strName = pViewer->GetHotImageDicomValue(0x0010, 0x0010);
        if (!strName.IsEmpty())
            strTitle += " - " + strName;
    }
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strTitle)
        SetWindowText(strTitle);
}

// ---- Menu marks -----------------------------------------------------------

int CMainFrame::FindMenuPopup(CMenu* pMenu, const char* pszCaption)
{
    if (pMenu == nullptr)
        return -1;
    const int nCount = static_cast<int>(pMenu->GetMenuItemCount());
    for (int i = 0; i < nCount; ++i)
    {
        CString strText;
        pMenu->GetMenuString(static_cast<UINT>(i), strText, MF_BYPOSITION);
        if (std::strcmp(strText, pszCaption) == 0)
            return i;
    }
    return -1;
}

CMenu* CMainFrame::FindSubPopup(const char* pszTopCaption, const char* pszCaption)
{
    CMenu* pMenu = GetMenu();
    const int nTop = FindMenuPopup(pMenu, pszTopCaption);
    if (nTop < 0)
        return nullptr;
    CMenu* pTop = pMenu->GetSubMenu(nTop);
    if (pszCaption == nullptr)
        return pTop;
    const int nSub = FindMenuPopup(pTop, pszCaption);
    return nSub < 0 ? nullptr : pTop->GetSubMenu(nSub);
}

void CMainFrame::MarkLayout(int nFirst, int nSecond)
{
    CMenu* pPopup = FindSubPopup(kLayoutCaption, nullptr);
    if (pPopup == nullptr)
        return;
    for (UINT nID = ID_LAYOUT_FIRST; nID <= ID_LAYOUT_LAST; ++nID)
    {
        const LayoutPair& layout = kLayouts[nID - ID_LAYOUT_FIRST];
        const bool bMatch = layout.nFirst == nFirst && layout.nSecond == nSecond;
        pPopup->CheckMenuItem(nID, MF_BYCOMMAND | (bMatch ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CMainFrame::MarkScope(int nScope)
{
    CMenu* pPopup = FindSubPopup(kToolsCaption, "Scope");
    if (pPopup == nullptr)
        return;
    pPopup->CheckMenuItem(ID_SCOPE_IMAGE, MF_BYCOMMAND | (nScope == 0 ? MF_CHECKED : MF_UNCHECKED));
    pPopup->CheckMenuItem(ID_SCOPE_VIEW, MF_BYCOMMAND | (nScope == 1 ? MF_CHECKED : MF_UNCHECKED));
}

void CMainFrame::MarkTwoItemPopup(const char* pszTopCaption, const char* pszCaption, bool bFirst)
{
    CMenu* pPopup = FindSubPopup(pszTopCaption, pszCaption);
    if (pPopup == nullptr)
        return;
    pPopup->CheckMenuItem(0, MF_BYPOSITION | (bFirst ? MF_CHECKED : MF_UNCHECKED));
    pPopup->CheckMenuItem(1, MF_BYPOSITION | (bFirst ? MF_UNCHECKED : MF_CHECKED));
}

void CMainFrame::MarkTool(bool bLeft, int nTool)
{
    CMenu* pPopup = FindSubPopup(kToolsCaption, bLeft ? "Left Button Tools" : "Right Button Tools");
    if (pPopup == nullptr)
        return;
    for (const ToolCommand& tool : kTools)
    {
        const UINT nID = bLeft ? tool.nLeft : tool.nRight;
        pPopup->CheckMenuItem(nID,
                              MF_BYCOMMAND | (tool.nCode == nTool ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CMainFrame::SetTools(int nLeft, int nRight)
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr)
        return;
    pViewer->SetLeftButton(nLeft);
    MarkTool(true, nLeft);
    pViewer->SetRightButton(nRight);
    MarkTool(false, nRight);
}

void CMainFrame::RebuildLutMenu()
{
    IViewerWindow* pViewer = GetViewer();
    CString strDescription;
    if (pViewer != nullptr && !pViewer->IsHotImageEmpty())
        strDescription = pViewer->GetOriginalLUTDescription();
    CMenu* pPopup = FindSubPopup(kWindowLevelCaption, nullptr);
    if (pPopup == nullptr)
        return;
    for (UINT nID = ID_LUT_FIRST; nID <= ID_LUT_LAST; ++nID)
        pPopup->DeleteMenu(nID, MF_BYCOMMAND);
    std::string rest = static_cast<const char*>(strDescription);
    // Only the eight tables that have a command are listed: more items
    // would pile up each time the popup opens.
    for (UINT nID = ID_LUT_FIRST; !rest.empty() && nID <= ID_LUT_LAST; ++nID)
    {
        const std::size_t nBar = rest.find('|');
        const bool bLast = nBar == std::string::npos || nBar == 0;
        const std::string item = bLast ? rest : rest.substr(0, nBar);
        rest = bLast ? std::string() : rest.substr(nBar + 1);
        pPopup->AppendMenu(MF_STRING, nID, item.c_str());
    }
}

void CMainFrame::RefreshBars()
{
    m_wndStatusBar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    m_wndToolBar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    m_wndToolBar.Invalidate();
}

// ---- Commands on the view -------------------------------------------------

void CMainFrame::OnCopyToClipboard()
{
    if (IViewerWindow* pViewer = GetViewer(); pViewer != nullptr && !pViewer->IsHotImageEmpty())
        pViewer->CopyHotImageToClipboard();
}

void CMainFrame::OnCopyToView()
{
    if (IViewerWindow* pViewer = GetViewer(); pViewer != nullptr && !pViewer->IsHotImageEmpty())
        pViewer->CopyHotImage();
}

void CMainFrame::OnCloseImage()
{
    if (IViewerWindow* pViewer = GetViewer())
        pViewer->CloseHotImage();
}

void CMainFrame::OnCloseView()
{
    ClearScreen();
}

void CMainFrame::OnDisplayLayer(UINT nID)
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr)
        return;
    const bool bShow = nID == ID_LABELS_SHOW || nID == ID_OVERLAYS_SHOW || nID == ID_RULER_SHOW;
    if (nID == ID_LABELS_SHOW || nID == ID_LABELS_HIDE)
    {
        pViewer->ShowLabels(bShow);
        MarkTwoItemPopup(kViewCaption, "Labels", bShow);
    }
    else if (nID == ID_OVERLAYS_SHOW || nID == ID_OVERLAYS_HIDE)
    {
        pViewer->ShowOverlays(bShow);
        MarkTwoItemPopup(kViewCaption, "Overlays", bShow);
    }
    else if (nID == ID_RULER_SHOW || nID == ID_RULER_HIDE)
    {
        pViewer->ShowRuler(bShow);
        MarkTwoItemPopup(kViewCaption, "Ruler", bShow);
    }
}

void CMainFrame::OnClearAnnotation()
{
    if (IViewerWindow* pViewer = GetViewer())
        pViewer->ClearAllImageAnnotation();
}

void CMainFrame::OnLayout(UINT nID)
{
    if (GetViewer() == nullptr)
        return;
    const LayoutPair& layout = kLayouts[nID - ID_LAYOUT_FIRST];
    SetSeriesLayout(layout.nFirst, layout.nSecond);
    MarkLayout(layout.nFirst, layout.nSecond);
}

void CMainFrame::OnViewLayout(UINT nID)
{
    const LayoutPair& layout = kLayouts[nID - ID_VIEW_LAYOUT_FIRST];
    SetViewLayout(layout.nFirst, layout.nSecond);
}

void CMainFrame::OnPaging(UINT nID)
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr)
        return;
    switch (nID)
    {
    case ID_NAV_PAGE_DOWN:
        pViewer->PageDown();
        break;
    case ID_NAV_PAGE_UP:
        pViewer->PageUp();
        break;
    case ID_NAV_LINE_DOWN:
        pViewer->LineDown();
        break;
    case ID_NAV_LINE_UP:
        pViewer->LineUp();
        break;
    case ID_NAV_IMAGE_DOWN:
        pViewer->ImageDown();
        break;
    case ID_NAV_IMAGE_UP:
        pViewer->ImageUp();
        break;
    case ID_NAV_FIRST_PAGE:
        pViewer->FirstPage();
        break;
    case ID_NAV_LAST_PAGE:
        pViewer->LastPage();
        break;
    default:
        break;
    }
}

void CMainFrame::OnScope(UINT nID)
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr)
        return;
    const int nScope = nID == ID_SCOPE_IMAGE ? 0 : 1;
    pViewer->SetScope(nScope);
    MarkScope(nScope);
}

void CMainFrame::OnOrientation(UINT nID)
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr)
        return;
    switch (nID)
    {
    case ID_TOOLS_ROTATE_CW:
        pViewer->Rotate(3);
        break;
    case ID_TOOLS_ROTATE_CCW:
        pViewer->Rotate(1);
        break;
    case ID_TOOLS_FLIP_HORIZONTAL:
        pViewer->FlipHorizontal();
        break;
    case ID_TOOLS_FLIP_VERTICAL:
        pViewer->FlipVertical();
        break;
    case ID_TOOLS_INVERT:
        pViewer->Invert();
        break;
    default:
        break;
    }
}

void CMainFrame::OnZoom(UINT nID)
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr)
        return;
    switch (nID)
    {
    case ID_ZOOM_FIT:
        pViewer->ZoomFitInWindow();
        break;
    case ID_ZOOM_PIXEL:
        pViewer->ZoomPixelByPixel();
        break;
    case ID_ZOOM_IN:
        pViewer->ZoomIn();
        break;
    case ID_ZOOM_OUT:
        pViewer->ZoomOut();
        break;
    default:
        break;
    }
}

void CMainFrame::OnRestore()
{
    IViewerWindow* pViewer = GetViewer();
    if (pViewer == nullptr)
        return;
    if (pViewer->GetScope() != 0)
        pViewer->RestoreHotView();
    else
        pViewer->RestoreHotImage();
}

void CMainFrame::OnTool(UINT nID)
{
    IViewerWindow* pViewer = GetViewer();
    const ToolCommand* pTool = FindTool(nID);
    if (pViewer == nullptr || pTool == nullptr)
        return;
    const bool bLeft = pTool->nLeft == nID;
    if (bLeft)
        pViewer->SetLeftButton(pTool->nCode);
    else
        pViewer->SetRightButton(pTool->nCode);
    MarkTool(bLeft, pTool->nCode);
}

void CMainFrame::OnAutoWindowLevel()
{
    if (IViewerWindow* pViewer = GetViewer())
        pViewer->AutoWindowLevel();
}

void CMainFrame::OnPreset(UINT nID)
{
    if (IViewerWindow* pViewer = GetViewer())
    {
        const Preset& preset = kPresets[nID - ID_WWWL_BONE];
        pViewer->SetWindowLevel(preset.nWidth, preset.nLevel);
    }
}

void CMainFrame::OnSelectLut(UINT nID)
{
    if (IViewerWindow* pViewer = GetViewer(); pViewer != nullptr && !pViewer->IsHotImageEmpty())
        pViewer->SelectLUT(static_cast<int>(nID - ID_LUT_FIRST));
}

// ---- The import's view of the frame ---------------------------------------

void CMainFrame::ClearScreen()
{
    if (IViewerWindow* pViewer = GetViewer())
        pViewer->ClearScreen();
}

void CMainFrame::SetViewLayout(int nRows, int nColumns)
{
    if (IViewerWindow* pViewer = GetViewer())
        pViewer->SetViewLayout(nRows, nColumns);
}

void CMainFrame::SetSeriesLayout(int nRows, int nColumns)
{
    if (IViewerWindow* pViewer = GetViewer())
        pViewer->SetSeriesLayout(nRows, nColumns);
}

void CMainFrame::FinishImport()
{
    ShowDisplayLayers();
    RefreshBars();
}

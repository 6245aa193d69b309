#include "CWebWindow.h"

#include "CImageView.h"
#include "CImageViewSplitter.h"
#include "DicomDumpDialog.h"
#include "EventSourcePage.h"
#include "ImageShow.h"
#include "ImageViewArgs.h"
#include "MedImage.h"
#include "MemoryStatus.h"
#include "PaneFont.h"
#include "QuillonApp.h"
#include "QuillonConfig.h"
#include "QuillonLibrary.h"
#include "QuillonLog.h"
#include "RefLine.h"
#include "RefLineImageView.h"
#include "SeriesShow.h"
#include "VeltaroLog.h"
#include "WebImageView.h"

#include "AfxModuleState.h"
#include "WinProcessInfo.h"

#include <cstring>
#include <vector>

using quillon::LogAddress;

namespace
{

constexpr const char* DashLine =
    "------------------------------------------------------------------------";
constexpr UINT SplitterId = 0xE900;
constexpr int EnterLayoutProbe = 1307;
constexpr int LeaveLayoutProbe = 1308;

Lettra& PromptText()
{
    static Lettra text;
    return text;
}

int ThreadId()
{
    return static_cast<int>(GetCurrentThreadId());
}

CImageView* AsImageView(CWnd* window)
{
    return window != nullptr && window->IsKindOf(RUNTIME_CLASS(CImageView))
               ? static_cast<CImageView*>(window)
               : nullptr;
}

// The views of the grid's first rows and columns, row by row; a failing
// splitter is logged under the caller's name and leaves what was found.
void CollectViews(CImageViewSplitter* splitter, int rows, int columns, Array<CImageView*>& views,
                  const char* caller)
{
    try
    {
        for (int row = 0; splitter != nullptr && row < rows; ++row)
        {
            for (int column = 0; column < columns; ++column)
            {
                if (CImageView* view = AsImageView(splitter->GetPane(row, column)))
                {
                    views.AddTail(view);
                }
            }
        }
    }
    catch (...)
    {
        quillon::_error("Exception catched at CMainWindow::%s", caller);
    }
}

} // namespace

IMPLEMENT_DYNCREATE(CWebWindow, CView)

BEGIN_MESSAGE_MAP(CWebWindow, CView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_MESSAGE(CWebWindow::WmShowSeriesAt, OnShowSeriesAt)
ON_MESSAGE(CWebWindow::WmSetNextSeriesLayoutString, OnSetNextSeriesLayoutString)
ON_MESSAGE(CWebWindow::WmSetViewLayout, OnSetViewLayout)
ON_MESSAGE(CWebWindow::WmOpenCorvane, OnOpenCorvaneMessage)
ON_MESSAGE(CWebWindow::WmSetPromptText, OnSetPromptText)
END_MESSAGE_MAP()

CWebWindow::CWebWindow()
{
    EnsureQuillonStarted();
    for (int line = 0; line < 3; ++line)
    {
        quillon::_debug("");
    }
    LogModuleBanner();
    quillon::_debug(DashLine);
    quillon::_debug("Enter CWebWindow::CWebWindow, this : 0x%0x", LogAddress(this));
    quillon::_debug("*** TID in CWebWindow::CWebWindow : %d", ThreadId());
}

CWebWindow::~CWebWindow()
{
    if (m_pSplitter != nullptr)
    {
        if (m_pSplitter->m_hWnd != nullptr)
        {
            m_pSplitter->DestroyWindow();
        }
        delete m_pSplitter;
    }
    quillon::_debug("Leave CWebWindow::~CWebWindow");
    quillon::_debug(DashLine);
    for (int line = 0; line < 3; ++line)
    {
        quillon::_debug("");
    }
    delete m_pFont;
}

const Lettra& CWebWindow::GetPromptText()
{
    return PromptText();
}

// Creation and life cycle.

int CWebWindow::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
    {
        return -1;
    }
    Prepare();
    return 0;
}

bool CWebWindow::Prepare()
{
    quillon::_debug("Enter CWebWindow::Prepare, this : 0x%0x", LogAddress(this));
    SetWindowText(WindowText);
    SystemInit();
    CreateFontOfHeight(DefaultFontPoints);
    quillon::_debug("Leave CWebWindow::Prepare, this : 0x%0x", LogAddress(this));
    return true;
}

bool CWebWindow::SystemInit()
{
    LoadConfiguration(GetResourceXmlPath(), GetConfigXmlPath(), GetImageTagXmlPath());
    return true;
}

bool CWebWindow::SetConfigXML(short type, const char* xml)
{
    quillon::_debug("Enter CWebWindow::SetConfigXML, type : %d", type);
    return TakePushedConfigXml(GetQuillonFolder(), type, xml);
}

void CWebWindow::CreateFontOfHeight(int points)
{
    LOGFONTA logFont = MakeLogFont(points, "Arial");
    logFont.lfCharSet = ANSI_CHARSET;
    auto* font = new CFont;
    font->CreateFontIndirect(&logFont);
    delete m_pFont;
    m_pFont = font;
}

bool CWebWindow::Close()
{
    quillon::_debug("Leave CWebWindow::Close, this : 0x%0x", LogAddress(this));
    return true;
}

bool CWebWindow::SystemExit()
{
    quillon::_debug("Enter CWebWindow::SystemExit");
    return true;
}

void CWebWindow::OnDestroy()
{
    quillon::_debug("Enter CWebWindow::OnDestroy");
    quillon::_debug(DashLine);
    quillon::_debug("");
    CView::OnDestroy();
    SystemExit();
}

void CWebWindow::OnInitialUpdate()
{
    CView::OnInitialUpdate();
}

// The cells paint themselves.
void CWebWindow::OnDraw(CDC*) {}

BOOL CWebWindow::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CWebWindow::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
}

// The panes take the wheel.
BOOL CWebWindow::OnMouseWheel(UINT, short, CPoint)
{
    return FALSE;
}

void CWebWindow::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && m_hWnd != nullptr)
    {
        RecalcLayout();
    }
}

void CWebWindow::RecalcLayout()
{
    if (m_pSplitter == nullptr || m_pSplitter->m_hWnd == nullptr)
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    m_pSplitter->MoveWindow(&client, TRUE);
}

void CWebWindow::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const bool control =
        GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_LCONTROL) < 0 || GetKeyState(VK_RCONTROL) < 0;
    if (control && nChar == VK_PRIOR)
    {
        ShowPrevSeries();
    }
    else if (control && nChar == VK_NEXT)
    {
        ShowNextSeries();
    }
    CView::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CWebWindow::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case CmdClearScreen:
        OnClearScreen();
        return TRUE;
    case CmdRefreshReferenceLine:
        RefreshReferenceLine();
        return TRUE;
    case CmdDumpDicomFile:
    case CmdDumpDicomFileToo:
        OnDumpDicomFile();
        return TRUE;
    case CmdCineEnded:
        OnCineEnded();
        return TRUE;
    case CmdBlowUp:
        OnCmdBlowUp();
        return TRUE;
    case CmdBlowRestore:
        OnCmdBlowRestore();
        return TRUE;
    default:
        return CView::OnCommand(wParam, lParam);
    }
}

// The cine switched the played pane's annotation layer off; the view's own
// switch holds again, so what is drawn after the cine shows.
void CWebWindow::OnCineEnded()
{
    if (CImageView* view = GetHotView())
    {
        view->ShowOverlays(view->IsOverlaysShown());
    }
}

// The view says which state it went to: a clear screen, a new grid or a
// reopen between two of its swaps leaves the grid as it was, and the next
// swap brings both to the same state instead of toggling them apart.
void CWebWindow::OnCmdBlowUp()
{
    if (m_pSplitter != nullptr && !m_pSplitter->IsBlownUp())
    {
        m_pSplitter->BlowupActiveView();
    }
}

void CWebWindow::OnCmdBlowRestore()
{
    if (m_pSplitter != nullptr && m_pSplitter->IsBlownUp())
    {
        m_pSplitter->Restore();
    }
}

// The grid.

CString CWebWindow::CellName(int row, int column)
{
    CString name;
    name.Format("%d.view.%d.%d", 0, row, column);
    return name;
}

bool CWebWindow::CreateView(int rows, int columns)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (rows < 1 || columns < 1 || columns > ViewSplitter::MaxCols)
    {
        quillon::_error("Enter CWebWindow::CreateView, refused %d X %d", rows, columns);
        return false;
    }
    CRect client;
    GetClientRect(&client);
    if (m_pSplitter != nullptr)
    {
        m_pSplitter->DestroyWindow();
        delete m_pSplitter;
        m_pSplitter = nullptr;
    }
    m_pSplitter = new CImageViewSplitter;
    m_pSplitter->SetGridSize(rows, columns);
    if (!m_pSplitter->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, this, SplitterId))
    {
        quillon::_error("Enter CWebWindow::CreateView, cannot create the splitter");
        delete m_pSplitter;
        m_pSplitter = nullptr;
        return false;
    }
    for (int row = 0; row < rows; ++row)
    {
        for (int column = 0; column < columns; ++column)
        {
            m_pSplitter->CreateView(row, column, RUNTIME_CLASS(WebImageView), client.Width(),
                                    client.Height(), nullptr);
        }
    }
    for (int row = 0; row < rows; ++row)
    {
        for (int column = 0; column < columns; ++column)
        {
            CImageView* view = AsImageView(m_pSplitter->GetPane(row, column));
            if (view == nullptr)
            {
                continue;
            }
            const CString name = CellName(row, column);
            view->SetViewName(name);
            view->SetWindowText(name);
            view->SetOwner(this);
            quillon::_debug("View 0x%0x (%s) created", LogAddress(view),
                            static_cast<const char*>(name));
        }
    }
    SetActiveView(GetViewAt(0, 0));
    m_nRows = rows;
    m_nColumns = columns;
    // The whole grid shows until the host picks the visible part.
    RecalcViewLayout(rows, columns);
    quillon::_debug("<%d> Leave CWebWindow::CreateView, total %d views have been created",
                    ThreadId(), rows * columns);
    m_pSplitter->SetWindowText("Splitter");
    return true;
}

bool CWebWindow::RecalcViewLayout(int rows, int columns)
{
    if (m_pSplitter == nullptr || rows > m_pSplitter->GetRows() ||
        columns > m_pSplitter->GetCols() || rows < 1 || columns < 1)
    {
        return false;
    }
    m_nRows = rows;
    m_nColumns = columns;
    m_pSplitter->SetViewLayout(rows, columns);
    m_pSplitter->RecalcLayout();
    return true;
}

bool CWebWindow::GetViewLayout(int& rows, int& columns) const
{
    rows = m_nRows;
    columns = m_nColumns;
    return true;
}

CView* CWebWindow::GetActiveView() const
{
    return m_pSplitter != nullptr ? static_cast<CView*>(m_pSplitter->GetActiveView()) : nullptr;
}

void CWebWindow::SetActiveView(CView* view)
{
    if (m_pSplitter != nullptr)
    {
        m_pSplitter->ActiveView(view, true);
    }
}

CImageView* CWebWindow::GetHotView()
{
    CImageView* view = AsImageView(GetActiveView());
    quillon::_debug("Leave CWebWindow::GetHotView, theView : 0x%0x", LogAddress(view));
    return view;
}

const CImageView* CWebWindow::GetHotView() const
{
    return AsImageView(GetActiveView());
}

MedImage* CWebWindow::GetHotImage()
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->GetPane(view->GetHotPane()) : nullptr;
}

const MedImage* CWebWindow::GetHotImage() const
{
    const CImageView* view = GetHotView();
    return view != nullptr ? view->GetPane(view->GetHotPane()) : nullptr;
}

CWnd* CWebWindow::GetHotImageWindow()
{
    return GetHotImage();
}

ImageShow* CWebWindow::GetHotImageShow() const
{
    const CImageView* view = GetHotView();
    return view != nullptr ? view->GetHotImage() : nullptr;
}

bool CWebWindow::IsHotImageEmpty() const
{
    return GetHotImageShow() == nullptr;
}

CView* CWebWindow::GetViewAt(int row, int column) const
{
    quillon::_debug("Enter CMainWindow::GetViewAt : <%d,%d>", row, column);
    if (m_pSplitter == nullptr || row < 0 || column < 0 || row >= m_pSplitter->GetRows() ||
        column >= m_pSplitter->GetCols())
    {
        return nullptr;
    }
    return AsImageView(m_pSplitter->GetPane(row, column));
}

CView* CWebWindow::GetViewAt(int index)
{
    quillon::_debug("Enter CMainWindow::GetViewAt : %d", index);
    Array<CImageView*> views;
    GetAllVisibleView(views);
    return index >= 0 && index < views.GetCount() ? views.GetAt(index) : nullptr;
}

bool CWebWindow::ActiveView(int index)
{
    CView* view = GetViewAt(index);
    if (view == nullptr)
    {
        return false;
    }
    SetActiveView(view);
    return true;
}

int CWebWindow::IndexOfHotView() const
{
    const CView* hot = GetActiveView();
    for (int row = 0; hot != nullptr && row < m_nRows; ++row)
    {
        for (int column = 0; column < m_nColumns; ++column)
        {
            if (GetViewAt(row, column) == hot)
            {
                return row * m_nColumns + column;
            }
        }
    }
    return -1;
}

SeriesShow* CWebWindow::GetSeriesOf(const CImageView* view)
{
    return view != nullptr ? const_cast<CImageView*>(view)->GetImageLayout().GetCurrentSeries()
                           : nullptr;
}

bool CWebWindow::IsShowingImage(const CImageView* view)
{
    for (int pane = 0; view != nullptr && pane < view->GetRectCount(); ++pane)
    {
        if (view->GetPaneImage(pane) != nullptr)
        {
            return true;
        }
    }
    return false;
}

int CWebWindow::IndexOfHotImage() const
{
    const CImageView* view = GetHotView();
    const SeriesShow* series = GetSeriesOf(view);
    const ImageShow* hot = view != nullptr ? view->GetHotImage() : nullptr;
    return series != nullptr && hot != nullptr ? series->IndexOf(hot) : -1;
}

void CWebWindow::GetAllView(Array<CImageView*>& views) const
{
    if (m_pSplitter != nullptr)
    {
        CollectViews(m_pSplitter, m_pSplitter->GetRows(), m_pSplitter->GetCols(), views,
                     "GetAllView");
    }
}

void CWebWindow::GetAllVisibleView(Array<CImageView*>& views) const
{
    CollectViews(m_pSplitter, m_nRows, m_nColumns, views, "GetAllVisibleView");
}

void CWebWindow::ForVisibleViews(const std::function<void(CImageView*)>& operation)
{
    Array<CImageView*> views;
    GetAllVisibleView(views);
    for (auto* node = views.GetHead(); node != nullptr; node = node->next)
    {
        operation(node->item);
    }
}

bool CWebWindow::ReleaseUnvisibleView()
{
    Array<CImageView*> all;
    Array<CImageView*> visible;
    GetAllView(all);
    GetAllVisibleView(visible);
    for (auto* node = all.GetHead(); node != nullptr; node = node->next)
    {
        if (visible.IndexOf(node->item) < 0)
        {
            node->item->ShowWindow(SW_HIDE);
            node->item->ReleaseAll();
        }
    }
    return true;
}

// Layouts.

void CWebWindow::AnnounceHotImage()
{
    CImageView* hot = GetHotView();
    if (hot == nullptr)
    {
        return;
    }
    if (hot->GetHotPane() < 0)
    {
        hot->SetHighLight(0);
    }
    if (hot->GetHotPane() >= 0)
    {
        HotImageArgs args(hot->GetHotImage(), nullptr);
        hot->HotImageSelChanged.Invoke(hot, &args);
    }
}

bool CWebWindow::SetViewLayout(int rows, int columns)
{
    quillon::_debug("Enter CWebWindow::SetViewLayout, from %d X %d", columns, rows);
    QueryPerformance(EnterLayoutProbe);
    DetachViewEvent();
    const bool result = DoSetViewLayout(rows, columns, true);
    AttachViewEvent();
    AnnounceHotImage();
    if (MedImage* pane = GetHotImage(); pane != nullptr && pane->m_hWnd != nullptr)
    {
        pane->SetFocus();
    }
    QueryPerformance(LeaveLayoutProbe);
    quillon::_debug("Leave CWebWindow::SetViewLayout, from %d X %d", columns, rows);
    quillon::_debug("The ActiveView is 0x%0x", LogAddress(GetActiveView()));
    quillon::_debug("");
    return result;
}

bool CWebWindow::DoSetViewLayout(int rows, int columns, bool copy)
{
    quillon::_debug("");
    quillon::_debug("");
    quillon::_debug(
        "--------------------- CWebWindow::DoSetViewLayout to <%d,%d> --------------------", rows,
        columns);
    CImageView* hot = GetHotView();
    CImageView* first = AsImageView(GetViewAt(0, 0));
    if (hot == nullptr || first == nullptr)
    {
        return false;
    }
    const int hotSeries = hot->IndexOfHotSeries();
    const SeriesShow* series = GetSeriesOf(hot);
    const int hotImage = series != nullptr ? series->IndexOf(hot->GetPaneImage(0)) : -1;

    ForVisibleViews([](CImageView* view) { view->ResetAllPanes(); });
    if (!RecalcViewLayout(rows, columns))
    {
        return false;
    }
    const CString layout = RelayoutFirstCell(first);
    if (copy)
    {
        CopyFirstCellToOthers(first, layout);
    }
    else
    {
        ForVisibleViews(
            [this, first, &layout](CImageView* view)
            {
                if (view == first)
                {
                    return;
                }
                view->ShowWindow(SW_SHOW);
                view->ReleaseView();
                view->ShowHighLight(false, true);
                view->SetSeriesLayout(layout);
                view->HotImageSelChanged.Add(MakeHandler(this,
                                                         &CWebWindow::OnEventHotImageSelChanged,
                                                         "CWebWindow::OnEventHotImageSelChanged"));
            });
    }
    RestoreHotViewAfterLayout(hot, hotSeries, hotImage);
    quillon::_debug("Leave CWebWindow::DoSetViewLayout");
    quillon::_debug("");
    return true;
}

CString CWebWindow::RelayoutFirstCell(CImageView* first)
{
    if (!first->IsWindowVisible())
    {
        first->ShowWindow(SW_SHOW);
    }
    quillon::_debug("Enter CWebWindow::DoSetViewLayout, view.0.0 is re-layouting ......");
    SetActiveView(first);
    first->SetHighLight(0);
    first->GetImageLayout().ResetAllSeriesView();
    first->RefreshCurrentLayout();
    ReleaseUnvisibleView();
    const SeriesShow* series = GetSeriesOf(first);
    CString layout = series != nullptr ? static_cast<const char*>(series->GetLayout()) : "";
    if (layout.IsEmpty())
    {
        layout = static_cast<const char*>(first->GetNextSeriesLayoutString());
    }
    if (layout.IsEmpty())
    {
        layout = DefaultSeriesLayout;
        first->SetSeriesLayout(layout);
    }
    return layout;
}

void CWebWindow::CopyFirstCellToOthers(CImageView* first, const CString& layout)
{
    quillon::_debug("Enter CWebWindow::DoSetViewLayout, Copying view from view.0.0 ......");
    std::vector<int> remaining;
    for (int index = 0; index < first->GetImageLayout().GetNbOfSeries(); ++index)
    {
        if (index != first->IndexOfHotSeries())
        {
            remaining.push_back(index);
        }
    }
    std::vector<CImageView*> empty;
    std::vector<CImageView*> filled;
    ForVisibleViews(
        [&](CImageView* view)
        {
            if (view == first)
            {
                return;
            }
            view->ShowHighLight(false, true);
            const bool holdsImages = view->GetImageLayout().GetNbOfSeries() > 0 &&
                                     view->GetImageLayout().GetNbOfShown() > 0;
            (holdsImages ? filled : empty).push_back(view);
        });
    for (CImageView* view : filled)
    {
        quillon::_debug("Enter CWebWindow::DoSetViewLayout, showing view [%s] ......",
                        static_cast<const char*>(view->GetViewName()));
        if (view->GetFormat() != layout)
        {
            view->SetSeriesLayout(layout);
        }
        else
        {
            view->GetImageLayout().ResetAllSeriesView();
            view->RefreshCurrentLayout();
        }
    }
    for (CImageView* view : empty)
    {
        quillon::_debug("Enter CWebWindow::DoSetViewLayout, copy to view [%s] ......",
                        static_cast<const char*>(view->GetViewName()));
        first->CopySeriesTo(view);
        if (!remaining.empty())
        {
            view->GotoLayoutAt(remaining.front());
            remaining.erase(remaining.begin());
            view->SetSeriesLayout(layout);
        }
        else
        {
            view->ApplyLayout(layout);
            view->GetImageLayout().ResetCurrentSeriesView();
        }
    }
}

void CWebWindow::RestoreHotViewAfterLayout(CImageView* hot, int series, int image)
{
    Array<CImageView*> visible;
    GetAllVisibleView(visible);
    if (visible.IsEmpty())
    {
        return;
    }
    if (visible.IndexOf(hot) < 0)
    {
        hot = visible.GetTail()->item;
        hot->GotoLayoutAt(series);
        hot->RefreshCurrentLayout();
    }
    if (const SeriesShow* shown = GetSeriesOf(hot); shown != nullptr && image >= 0)
    {
        if (ImageShow* show = shown->GetImageAt(image))
        {
            hot->SelectImage(show);
        }
    }
    SetActiveView(hot);
}

bool CWebWindow::IsScreenEmpty(const char* refusal)
{
    Array<CImageView*> views;
    GetAllVisibleView(views);
    for (auto* node = views.GetHead(); node != nullptr; node = node->next)
    {
        CImageView* view = node->item;
        if (IsShowingImage(view))
        {
            quillon::_debug("%s.1, exit due to OnScreenImage != 0", refusal);
            return false;
        }
        const SeriesShow* series = GetSeriesOf(view);
        if (series != nullptr && series->GetNbOfImage() >= 1)
        {
            quillon::_debug("Leave CWebWindow::OnSetViewLayout.2, exit due to OnScreenImage != 0");
            return false;
        }
    }
    return true;
}

LRESULT CWebWindow::OnSetViewLayout(WPARAM wParam, LPARAM lParam)
{
    quillon::_debug("Enter CWebWindow::OnSetViewLayout, TID : %d, this : 0x%0x", ThreadId(),
                    LogAddress(this));
    if (!IsScreenEmpty("Leave CWebWindow::OnSetViewLayout"))
    {
        return LayoutRefused;
    }
    SetViewLayout(static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
}

LRESULT CWebWindow::OnSetNextSeriesLayoutString(WPARAM, LPARAM lParam)
{
    quillon::_debug("Enter CWebWindow::OnSetNextSeriesLayoutString");
    if (!IsScreenEmpty("Leave CWebWindow::OnSetNextSeriesLayoutString"))
    {
        return LayoutRefused;
    }
    DoSetNextSeriesLayoutString(reinterpret_cast<const char*>(lParam));
    return 0;
}

LRESULT CWebWindow::OnShowSeriesAt(WPARAM wParam, LPARAM)
{
    DoShowSeriesAt(static_cast<int>(wParam));
    return 0;
}

void CWebWindow::MsgShowSeriesAt(int index)
{
    SendMessage(WmShowSeriesAt, static_cast<WPARAM>(index), 0);
}

bool CWebWindow::MsgSetViewLayout(int rows, int columns)
{
    SendMessage(WmSetViewLayout, static_cast<WPARAM>(rows), static_cast<LPARAM>(columns));
    return true;
}

bool CWebWindow::MsgSetNextSeriesLayoutString(const char* format)
{
    SendMessage(WmSetNextSeriesLayoutString, 0, reinterpret_cast<LPARAM>(format));
    return true;
}

LRESULT CWebWindow::OnSetPromptText(WPARAM, LPARAM lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    PromptText() = text != nullptr ? text : "";
    return 1;
}

// Opening.

void CWebWindow::CancelTransaction(int transaction)
{
    quillon::_debug("Enter CWebWindow::CancelTransaction : %d, this : 0x%0x", transaction,
                    LogAddress(this));
    m_nCancelledTransaction = transaction;
    m_bTransactionCancelled = true;
}

LRESULT CWebWindow::OnOpenCorvaneMessage(WPARAM wParam, LPARAM lParam)
{
    return OnOpenCorvane(wParam, lParam);
}

LRESULT CWebWindow::OnOpenCorvane(WPARAM mode, LPARAM holder)
{
    auto* handle = reinterpret_cast<Corvane*>(holder);
    if (handle == nullptr)
    {
        quillon::_error("Enter OnOpenCorvane, no image handle");
        return 0;
    }
    if (m_bTransactionCancelled && handle->GetTransactionID() == m_nCancelledTransaction)
    {
        quillon::_error("Enter OnOpenCorvane, get a canceled TransactionID : %d",
                        handle->GetTransactionID());
        return 1;
    }
    using Open = bool (CImageView::*)(Corvane*);
    Open open = nullptr;
    switch (static_cast<int>(mode))
    {
    case enOpenOrReloadByImage:
        open = &CImageView::OpenOrReloadCorvaneByImage;
        break;
    case enOpenOrReloadBySeries:
        open = &CImageView::OpenOrReloadCorvaneBySeries;
        break;
    case enOpenOrReloadByStudy:
        open = &CImageView::OpenOrReloadCorvaneByStudy;
        break;
    case enOpenByImage:
        open = &CImageView::OpenCorvaneByImage;
        break;
    case enOpenBySeries:
        open = &CImageView::OpenCorvaneBySeries;
        break;
    case enOpenByStudy:
        open = &CImageView::OpenCorvaneByStudy;
        break;
    default:
        return 0;
    }
    ForVisibleViews([open, handle](CImageView* view) { (view->*open)(handle); });
    return 0;
}

// View events.

void CWebWindow::AttachViewEvent()
{
    ForVisibleViews(
        [this](CImageView* view)
        {
            view->Activated.Add(
                MakeHandler(this, &CWebWindow::OnViewActivated, "CWebWindow::OnViewActivated"));
            view->HotImageSelChanged.Add(MakeHandler(this, &CWebWindow::OnEventHotImageSelChanged,
                                                     "CWebWindow::OnEventHotImageSelChanged"));
        });
}

void CWebWindow::DetachViewEvent()
{
    Array<CImageView*> views;
    GetAllView(views);
    for (auto* node = views.GetHead(); node != nullptr; node = node->next)
    {
        node->item->Activated.Remove(MakeHandler(this, &CWebWindow::OnViewActivated, ""));
        node->item->HotImageSelChanged.Remove(
            MakeHandler(this, &CWebWindow::OnEventHotImageSelChanged, ""));
    }
}

void CWebWindow::OnViewActivated(const void*, DelegateArgs*)
{
    RefreshReferenceLine();
}

void CWebWindow::OnEventHotImageSelChanged(const void*, DelegateArgs* args)
{
    const int view = IndexOfHotView();
    const int image = IndexOfHotImage();
    quillon::_debug("Enter CWebWindow::OnHotImageSelChanged, <%d at view %d>", image, view);
    if (view < 0 || image < 0)
    {
        return;
    }
    const auto* hot = static_cast<HotImageArgs*>(args);
    if (hot != nullptr && hot->m_pNew != nullptr && hot->m_pNew == GetHotImageShow())
    {
        if (CWnd* parent = GetParent())
        {
            parent->PostMessage(WmHotImageChanged, static_cast<WPARAM>(view),
                                static_cast<LPARAM>(image));
        }
    }
    ShowReferenceLineOnHotImage();
}

// Clearing and closing.

void CWebWindow::ClearScreen()
{
    quillon::_debug("Enter CWebWindow::ClearScreen, TID : %d, this : 0x%0x", ThreadId(),
                    LogAddress(this));
    DetachViewEvent();
    SendMessage(WM_COMMAND, CmdClearScreen, 0);
    AttachViewEvent();
}

void CWebWindow::OnClearScreen()
{
    quillon::_debug("Enter CWebWindow::OnClearScreen, TID : %d, this : 0x%0x", ThreadId(),
                    LogAddress(this));
    CloseAllView();
    if (m_nRows != 1 || m_nColumns != 1)
    {
        SetViewLayout(1, 1);
    }
    quillon::_debug("Leave CWebWindow::OnClearScreen, TID : %d, this : 0x%0x", ThreadId(),
                    LogAddress(this));
}

void CWebWindow::LogMemoryStatus()
{
    MemoryStatus status;
    status.Query();
    quillon::_debug("availPhysMB : %d, availVirtMB : %d, procPageMB : %d",
                    static_cast<int>(status.GetAvailPhys() >> 20),
                    static_cast<int>(status.GetAvailVirtual() >> 20),
                    static_cast<int>(status.GetProcessPagefile() >> 20));
}

void CWebWindow::CloseAllView()
{
    quillon::_debug("Enter CWebWindow::CloseAllView, TID : %d, this : 0x%0x, HWND : 0x%0x",
                    ThreadId(), LogAddress(this), LogAddress(m_hWnd));
    LogMemoryStatus();
    EventSourcePage::OnAllViewClearing.Invoke(this, nullptr);
    Array<CImageView*> views;
    GetAllView(views);
    for (auto* node = views.GetHead(); node != nullptr; node = node->next)
    {
        node->item->ReleaseAll();
        node->item->RebuildPanes();
        node->item->ShowLabels();
    }
    EventSourcePage::OnAllViewCleared.Invoke(this, nullptr);
    quillon::_debug("Leave CWebWindow::CloseAllView");
    LogMemoryStatus();
    quillon::_debug("");
}

void CWebWindow::ActivateViewShowingImage()
{
    CImageView* hot = AsImageView(GetActiveView());
    if (hot == nullptr || IsShowingImage(hot))
    {
        return;
    }
    Array<CImageView*> views;
    GetAllVisibleView(views);
    for (auto* node = views.GetHead(); node != nullptr; node = node->next)
    {
        if (IsShowingImage(node->item))
        {
            SetActiveView(node->item);
            return;
        }
    }
}

void CWebWindow::CloseHotImage()
{
    quillon::_debug("Enter CMainWindow::CloseHotImage");
    if (CImageView* view = AsImageView(GetActiveView()))
    {
        view->CloseHotImage();
        ActivateViewShowingImage();
    }
}

void CWebWindow::CloseHotSeries()
{
    quillon::_debug("Enter CWebWindow::CloseHotSeries");
    if (CImageView* view = AsImageView(GetActiveView()))
    {
        view->OnCmdScrollCloseSeries();
        ActivateViewShowingImage();
    }
}

void CWebWindow::CloseHotView()
{
    quillon::_debug("Enter CWebWindow::CloseHotView");
    if (CImageView* view = AsImageView(GetActiveView()))
    {
        view->ReleaseAll();
        view->RebuildPanes();
        ActivateViewShowingImage();
    }
}

// Reference lines.

void CWebWindow::RefreshReferenceLine()
{
    ShowReferenceLineOnHotImage();
}

void CWebWindow::ShowReferenceLineOnHotImage()
{
    Array<CImageView*> views;
    GetAllVisibleView(views);
    if (views.GetCount() < 2)
    {
        return;
    }
    quillon::_debug("Enter CMainWindow::ShowReferenceLineOnHotImage, total view : %d",
                    views.GetCount());
    CImageView* hot = GetHotView();
    ImageShow* source = GetHotImageShow();
    if (hot == nullptr || source == nullptr)
    {
        return;
    }
    if (hot->IsKindOf(RUNTIME_CLASS(RefLineImageView)))
    {
        static_cast<RefLineImageView*>(hot)->ShowReferenceLines(false);
    }
    for (auto* node = views.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item != hot)
        {
            RefLine::ShowOnHotImage(node->item, source);
        }
    }
}

void CWebWindow::OnDumpDicomFile()
{
    ImageShow* show = GetHotImageShow();
    if (show == nullptr)
    {
        return;
    }
    DicomDumpDialog dialog(this);
    if (show->GetCurrentDicomImage(dialog.m_DicomFile) && !dialog.m_DicomFile.IsEmpty())
    {
        dialog.DoModal();
    }
}

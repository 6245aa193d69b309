#include "PaneLayout.h"

#include "MedImage.h"
#include "QuillonLog.h"

using quillon::_debug;
using quillon::_error;

namespace
{

// Runs one step of a timer list on every entry it held when the tick
// began and still holds; an entry's failure stays with it.
template <typename Step> void ForEachEntry(TimerList& list, Step step)
{
    TimerEntry* entries[TimerList::MaxEntriesPerTick];
    const int count = list.GetEntries(entries);
    for (int index = 0; index < count; ++index)
    {
        // An entry that an earlier one took off is gone.
        if (!list.Holds(entries[index]))
        {
            continue;
        }
        try
        {
            step(entries[index]);
        }
        catch (...)
        {
            _error("Enter PaneLayout::OnTimer, a timer entry failed");
        }
    }
}

} // namespace

BEGIN_MESSAGE_MAP(PaneLayout, CView)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_TIMER()
END_MESSAGE_MAP()

PaneLayout::PaneLayout()
    : IntervalTimers("PaneLayout::IntervalTimers"), OneShotTimers("PaneLayout::OneShotTimers"),
      DailyTimers("PaneLayout::DailyTimers")
{
    Delegate* const events[] = {&PanesRebuilding, &FormatChanged, &Destroying,
                                &IntervalTimers,  &OneShotTimers, &DailyTimers};
    for (Delegate* event : events)
    {
        event->SetTrace(false);
    }
}

PaneLayout::~PaneLayout()
{
    DestroyPanes();
    delete m_pSurface;
}

UINT PaneLayout::GetDragClipboardFormat()
{
    return 0;
}

void PaneLayout::OnDragDropEnd() {}

CString PaneLayout::GetDragText()
{
    const MedImage* pane = PaneUnderCursor();
    if (pane == nullptr || pane->IsEmpty())
    {
        return CString();
    }
    CString text;
    text.Format("SourceID=PaneLayout | HWNDSource=%d | Message=%d | wParam=%d",
                int(reinterpret_cast<INT_PTR>(m_hWnd)), WM_COMMAND, 1020);
    return text;
}

void PaneLayout::DestroyPanes()
{
    for (auto* node = m_Panes.GetHead(); node != nullptr; node = node->next)
    {
        MedImage* pane = node->item;
        if (pane->m_hWnd != nullptr)
        {
            pane->DestroyWindow();
        }
        delete pane;
    }
    m_Panes.RemoveAll();
}

void PaneLayout::CreatePanes()
{
    PanesRebuilding.Invoke(this, nullptr);
    DestroyPanes();
    for (int index = 0; index < GetRectCount(); ++index)
    {
        CRect rect;
        GetPaneRect(index, &rect);
        rect.DeflateRect(1, 1);
        if (MedImage* pane = CreatePane(rect.left, rect.top, rect.right, rect.bottom, index))
        {
            m_Panes.AddTail(pane);
        }
    }
    for (auto* node = m_Panes.GetHead(); node != nullptr; node = node->next)
    {
        node->item->SetHighlight(true);
        node->item->GetClickedEvent().Add(
            MakeHandler(this, &PaneLayout::OnEventHighLight, "PaneLayout::OnEventHighLight"));
    }
}

MedImage* PaneLayout::CreatePane(int left, int top, int right, int bottom, int index)
{
    return CreatePaneWindow(new MedImage, "ViewPort@%d", CRect(left, top, right, bottom), index);
}

MedImage* PaneLayout::CreatePaneWindow(MedImage* pane, const char* nameFormat, const RECT& rect,
                                       int index)
{
    CString name;
    name.Format(nameFormat, index);
    if (!pane->Create(nullptr, name, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, this,
                      UINT(index)))
    {
        _error("Enter PaneLayout::CreatePane, cannot create pane %d", index);
        delete pane;
        return nullptr;
    }
    pane->MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    return pane;
}

int PaneLayout::IndexOfPane(MedImage* pane)
{
    const int index = m_Panes.IndexOf(pane);
    if (index >= 0 && index != m_nHighLight)
    {
        SetHighLight(index);
    }
    return index;
}

MedImage* PaneLayout::GetPane(int index) const
{
    return index >= 0 && index < m_Panes.GetCount() ? m_Panes.GetAt(index) : nullptr;
}

MedImage* PaneLayout::AttachShowToPane(int index, ImageShow* show)
{
    MedImage* pane = GetPane(index);
    return pane != nullptr && pane->AttachShow(show) ? pane : nullptr;
}

int PaneLayout::ResetPane(int index)
{
    MedImage* pane = GetPane(index);
    if (pane == nullptr)
    {
        return -1;
    }
    pane->ResetView();
    return index;
}

void PaneLayout::ResetAllPanes()
{
    for (auto* node = m_Panes.GetHead(); node != nullptr; node = node->next)
    {
        node->item->ResetView();
    }
}

void PaneLayout::InvalidatePanes()
{
    for (auto* node = m_Panes.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->m_hWnd != nullptr)
        {
            node->item->Invalidate(TRUE);
            node->item->UpdateWindow();
        }
    }
}

void PaneLayout::UpdatePanesNow()
{
    for (auto* node = m_Panes.GetHead(); node != nullptr; node = node->next)
    {
        node->item->UpdateImageNow();
    }
}

bool PaneLayout::IsEmpty() const
{
    for (auto* node = m_Panes.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->m_hWnd != nullptr && !node->item->IsEmpty())
        {
            return false;
        }
    }
    return true;
}

MedImage* PaneLayout::PaneUnderCursor() const
{
    POINT cursor;
    GetCursorPos(&cursor);
    for (auto* node = m_Panes.GetHead(); node != nullptr; node = node->next)
    {
        MedImage* pane = node->item;
        CRect rect;
        if (pane->m_hWnd == nullptr)
        {
            continue;
        }
        pane->GetWindowRect(&rect);
        if (rect.PtInRect(cursor))
        {
            return ::WindowFromPoint(cursor) == pane->m_hWnd ? pane : nullptr;
        }
    }
    return nullptr;
}

void PaneLayout::RepositionPanes()
{
    if (m_Panes.GetCount() == 0)
    {
        return;
    }
    RedrawBorders();
    int index = 0;
    for (auto* node = m_Panes.GetHead(); node != nullptr; node = node->next, ++index)
    {
        if (node->item->m_hWnd == nullptr)
        {
            continue;
        }
        CRect rect;
        GetPaneRect(index, &rect);
        rect.DeflateRect(1, 1);
        node->item->MoveWindow(&rect, FALSE);
    }
}

void PaneLayout::ReleasePanes()
{
    DestroyPanes();
    m_format.Clear();
    m_nHighLight = -1;
}

void PaneLayout::OnEventHighLight(const void* sender, DelegateArgs*)
{
    const int found = m_Panes.IndexOf(static_cast<MedImage*>(const_cast<void*>(sender)));
    const int index = found < 0 ? 0 : found;
    if (index != m_nHighLight)
    {
        m_nHighLight = index;
        _debug("HighLight change to %d", index);
        RedrawBorders();
    }
}

void PaneLayout::GetLayoutRect(RECT* rect)
{
    GetClientRect(rect);
}

void PaneLayout::SetHighLight(int index)
{
    if (index < 0 || index >= m_Panes.GetCount())
    {
        return;
    }
    m_nHighLight = index;
    RedrawBorders();
}

void PaneLayout::ShowHighLight(bool show)
{
    m_bShowHighLight = show;
}

int PaneLayout::SetFormat(const char* format)
{
    m_strFormat = format != nullptr ? format : "";
    const PaneLayoutFormat::enParse result = m_format.Parse(format);
    if (result != PaneLayoutFormat::Accepted)
    {
        if (result == PaneLayoutFormat::TooManyPanes)
        {
            _error("Enter PaneLayout::SetFormat, more than %d panes : %s",
                   PaneLayoutFormat::MaxPanes, static_cast<LPCSTR>(m_strFormat));
        }
        _error("Enter PaneLayout::SetFormat, invalid FormatCode : %s",
               static_cast<LPCSTR>(m_strFormat));
        return 0;
    }
    CreatePanes();
    RedrawBorders();
    StringDelegateArgs args(Lettra(static_cast<LPCSTR>(m_strFormat)));
    FormatChanged.Invoke(this, &args);
    ValidateRect(nullptr);
    return 1;
}

void PaneLayout::RestoreFormat()
{
    m_strFormat = m_strPreviousFormat.IsEmpty() ? CString("STANDARD\\1,1") : m_strPreviousFormat;
}

void PaneLayout::GetPaneRect(int index, RECT* out)
{
    RECT layout{};
    GetLayoutRect(&layout);
    m_format.GetPaneRect(index, layout, out);
}

void PaneLayout::RedrawBorders()
{
    if (m_pSurface != nullptr)
    {
        DrawPaneBorders(m_pSurface);
    }
}

void PaneLayout::ClearClient()
{
    if (m_pSurface == nullptr)
    {
        return;
    }
    const int oldMode = m_pSurface->SetBkMode(OPAQUE);
    CGdiObject* oldBrush = m_pSurface->SelectStockObject(BLACK_BRUSH);
    CRect client;
    GetClientRect(&client);
    m_pSurface->Rectangle(&client);
    m_pSurface->SelectObject(oldBrush);
    m_pSurface->SetBkMode(oldMode);
}

void PaneLayout::DrawPaneBorders(CDC* pDC)
{
    if (pDC == nullptr)
    {
        return;
    }
    const int oldMode = pDC->SetBkMode(OPAQUE);
    CGdiObject* oldBrush = pDC->SelectStockObject(BLACK_BRUSH);
    const int count = GetRectCount();
    for (int index = 0; index < count; ++index)
    {
        CRect r;
        GetPaneRect(index, &r);
        pDC->Rectangle(r.left - 2, r.top - 2, r.left + 2, r.bottom + 2);
        pDC->Rectangle(r.right - 2, r.top - 2, r.right + 2, r.bottom + 2);
        pDC->Rectangle(r.left - 2, r.top - 2, r.right + 2, r.top + 2);
        pDC->Rectangle(r.left - 2, r.bottom - 2, r.right + 2, r.bottom + 2);
    }
    {
        CPen framePen(PS_SOLID, 1, m_bShowHighLight ? OtherColor : PlainColor);
        CPen* oldPen = pDC->SelectObject(&framePen);
        for (int index = 0; index < count; ++index)
        {
            if (!m_bShowHighLight || index != m_nHighLight)
            {
                CRect r;
                GetPaneRect(index, &r);
                DrawFrame(pDC, r);
            }
        }
        pDC->SelectObject(oldPen);
    }
    if (m_bShowHighLight && m_nHighLight >= 0 && m_nHighLight < count)
    {
        CPen highlightPen(PS_DOT, 1, HighlightColor);
        CPen* oldPen = pDC->SelectObject(&highlightPen);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SelectStockObject(NULL_BRUSH);
        CRect r;
        GetPaneRect(m_nHighLight, &r);
        DrawFrame(pDC, r);
        pDC->SelectObject(oldPen);
    }
    pDC->SelectObject(oldBrush);
    pDC->SetBkMode(oldMode);
}

void PaneLayout::DrawFrame(CDC* pDC, const RECT& r)
{
    const POINT corners[] = {{r.left, r.top},
                             {r.left, r.bottom - 1},
                             {r.right - 1, r.bottom - 1},
                             {r.right - 1, r.top},
                             {r.left, r.top}};
    pDC->Polyline(corners, 5);
}

void PaneLayout::OnTimerModified(const void*, DelegateArgs*)
{
    m_nTickLength = TimerTickLength;
    if (IntervalTimers.GetCount() == 0 && OneShotTimers.GetCount() == 0 &&
        DailyTimers.GetCount() == 0)
    {
        KillTimer(TimerId);
    }
    else
    {
        SetTimer(TimerId, TimerTickLength, nullptr);
    }
}

void PaneLayout::OnInitialUpdate()
{
    if (m_pSurface == nullptr)
    {
        m_pSurface = new CClientDC(this);
    }
    for (TimerList* list : {&IntervalTimers, &OneShotTimers, &DailyTimers})
    {
        list->Modified.Add(
            MakeHandler(this, &PaneLayout::OnTimerModified, "PaneLayout::OnTimerModified"));
    }
    CView::OnInitialUpdate();
}

void PaneLayout::OnDraw(CDC* pDC)
{
    DrawPaneBorders(pDC);
}

void PaneLayout::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (cx == 0 || cy == 0)
    {
        return;
    }
    RepositionPanes();
    // The first pane stores the zoom and pan its new size gave it, and the
    // view hears of it.
    MedImage* first = GetPane(0);
    if (first != nullptr && first->m_hWnd != nullptr)
    {
        first->CommitZoom();
    }
}

BOOL PaneLayout::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, BackgroundColor);
    return TRUE;
}

void PaneLayout::OnDestroy()
{
    Destroying.Invoke(this, nullptr);
    delete m_pSurface;
    m_pSurface = nullptr;
    ReleasePanes();
    Invalidate(TRUE);
    UpdateWindow();
    CView::OnDestroy();
}

void PaneLayout::OnTimer(UINT_PTR)
{
    RunIntervalTimers();
    RunOneShotTimers();
    RunDailyTimers();
}

bool PaneLayout::CountTick(TimerEntry* entry) const
{
    entry->m_nElapsed += m_nTickLength;
    if (entry->m_nElapsed < entry->m_nPeriod)
    {
        return false;
    }
    entry->m_nElapsed = 0;
    return true;
}

void PaneLayout::RunIntervalTimers()
{
    ForEachEntry(IntervalTimers,
                 [this](TimerEntry* entry)
                 {
                     if (CountTick(entry))
                     {
                         entry->Invoke(nullptr, nullptr);
                     }
                 });
}

void PaneLayout::RunOneShotTimers()
{
    ForEachEntry(OneShotTimers,
                 [this](TimerEntry* entry)
                 {
                     if (CountTick(entry))
                     {
                         entry->Invoke(nullptr, nullptr);
                         OneShotTimers.Remove(entry->Clone());
                     }
                 });
}

void PaneLayout::RunDailyTimers()
{
    ForEachEntry(DailyTimers,
                 [](TimerEntry* entry)
                 {
                     if (DDateTime::GetTickCount() >= entry->m_due)
                     {
                         entry->m_due += DDateTimeSpan(1, 0, 0, 0);
                         entry->Invoke(nullptr, nullptr);
                     }
                 });
}

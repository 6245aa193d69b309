// CImageView: pane formats, series navigation, paging, the scroll bar,
// closing and deleting, and sorting.
#include "CImageView.h"

#include "ImageShow.h"
#include "ImageShowConfig.h"
#include "QuillonLog.h"
#include "XmlSetting.h"

#include <algorithm>

using quillon::_debug;
using quillon::_info;

namespace
{

// The wait cursor for the length of a scope.
class WaitCursor
{
public:
    explicit WaitCursor(CCmdTarget& target) : m_target(target) { m_target.BeginWaitCursor(); }
    ~WaitCursor() { m_target.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    CCmdTarget& m_target;
};

Lettra Trimmed(const Lettra& text)
{
    return text.Trim();
}

} // namespace

void CImageView::StoreCurrentSeriesState()
{
    const CString format = GetFormat();
    m_Layout.GetSeries().SetCurrentSeriesLayout(format);
    if (SeriesShow* series = m_Layout.GetCurrentSeries())
    {
        series->SetScope(m_nScope);
    }
}

void CImageView::AdoptFormat(const char* message, const CString& left)
{
    SeriesShow* series = m_Layout.GetCurrentSeries();
    if (series != nullptr && Trimmed(series->GetLayout()).IsEmpty())
    {
        _debug(message, static_cast<const char*>(left));
        series->SetLayout(left);
        m_Layout.ResetCurrentSeriesView();
    }
    ShowLabels();
    SeriesSelChanged.Invoke(this, nullptr);
}

void CImageView::NextLayout()
{
    _debug("");
    _debug("Enter CImageView::NextLayout");
    const CString left = GetFormat();
    StoreCurrentSeriesState();
    m_Layout.NextSeries();
    AdoptFormat("Enter CImageView::NextLayout, NextLayout's format is empty, set to %s", left);
}

void CImageView::PrevLayout()
{
    _debug("");
    _debug("Enter CImageView::PrevLayout");
    const CString left = GetFormat();
    StoreCurrentSeriesState();
    m_Layout.PrevSeries();
    AdoptFormat("Enter CImageView::PrevLayout, PrevLayout's format is empty, set to %s", left);
}

bool CImageView::GotoLayoutAt(int index)
{
    _debug("");
    _debug("Enter CImageView::GotoLayoutAt %d", index);
    if (index == m_Layout.IndexOfHotSeries())
    {
        return true;
    }
    const CString left = GetFormat();
    StoreCurrentSeriesState();
    m_Layout.GotoSeriesAt(index);
    AdoptFormat("Enter CImageView::GotoLayoutAt, Layout's format is empty, set to %s", left);
    _debug("Leave CImageView::GotoLayoutAt %d", index);
    _debug("");
    return true;
}

void CImageView::ShowNextSeries()
{
    _debug("Enter CImageView::ShowNextSeries");
    NextLayout();
    RefreshCurrentLayout();
    SetFocus();
    ValueArgs args(2);
    SeriesNavigation.Invoke(this, &args);
}

void CImageView::ShowPrevSeries()
{
    _debug("Enter CImageView::ShowPrevSeries");
    PrevLayout();
    RefreshCurrentLayout();
    SetFocus();
    ValueArgs args(-2);
    SeriesNavigation.Invoke(this, &args);
}

void CImageView::ShowSeriesAt(int index)
{
    _debug("CImageView::ShowSeriesAt %d", index);
    if (GotoLayoutAt(index))
    {
        RefreshCurrentLayout();
    }
    SetFocus();
}

void CImageView::RefreshCurrentLayout()
{
    _debug("");
    _debug("Enter CImageView::RefreshCurrentLayout, IndexOfSeries : %d, NbOfImage : %d, "
           "NbOfSeries : %d",
           m_Layout.IndexOfHotSeries(), m_Layout.GetNbOfImage(), m_Layout.GetNbOfSeries());
    SeriesShow* series = m_Layout.GetCurrentSeries();
    ImageShow* remembered = series != nullptr ? series->GetRememberedImage() : nullptr;
    m_nHotPane = -1;
    Lettra format = series != nullptr ? Trimmed(series->GetLayout()) : Lettra();
    if (format.IsEmpty())
    {
        format = static_cast<const char*>(GetFormat());
    }
    const int scope = series != nullptr ? series->GetScope() : 0;
    _debug("Enter CImageView::RefreshCurrentLayout, scope : %d", scope);
    ApplyLayout(format);
    ResetScrollBar(0, m_Layout.GetNbOfImage(), true);
    SetScope(scope);
    RedrawBorders();
    if (remembered != nullptr && m_Layout.IndexOfImage(remembered) >= 0)
    {
        SelectImage(remembered);
        Refresh();
    }
    else
    {
        m_Layout.FirstPage();
        Refresh();
        SetHotPane(GetPaneImage(0) != nullptr ? 0 : -1);
    }
    FireHotImageSelChanged(GetHotImage(), nullptr);
}

// After a new format: the hot image selected again on a page it fills as
// far as the series allows, or the first page when there was none.
void CImageView::ShowPageOf(ImageShow* hot)
{
    if (hot != nullptr && m_Layout.IndexOfImage(hot) >= 0)
    {
        m_Layout.ScrollBy(0);
        SelectImage(hot);
        if (m_Layout.GetNbOfShown() == m_Layout.GetPageSize())
        {
            Refresh();
        }
        else
        {
            m_Layout.LastPage();
        }
    }
    else
    {
        m_Layout.FirstPage();
        Refresh();
    }
}

bool CImageView::SetLayout(const char* format)
{
    _info("Enter CImageView::SetLayout, %s will set format to <%s>",
          static_cast<const char*>(m_strName), format != nullptr ? format : "");
    ImageShow* hot = GetHotImage();
    WaitCursor wait(*this);
    if (!ApplyLayout(format))
    {
        return false;
    }
    m_Layout.ResetCurrentSeriesView();
    SetScope(m_nScope);
    ResetScrollBar(0, m_Layout.GetNbOfImage(), false);
    ShowPageOf(hot);
    RedrawBorders();
    PageChanged.Invoke(this, nullptr);
    return true;
}

bool CImageView::SetSeriesLayout(const char* format)
{
    _info("%s will Set Series Layout format to <%s>", static_cast<const char*>(m_strName),
          format != nullptr ? format : "");
    ImageShow* hot = GetHotImage();
    WaitCursor wait(*this);
    if (!LayOutEverySeries(format))
    {
        return false;
    }
    ShowPageOf(hot);
    PageChanged.Invoke(this, nullptr);
    return true;
}

// Every series takes the layout, and the view the current series' scope.
bool CImageView::LayOutEverySeries(const char* format)
{
    if (!ApplyLayout(format))
    {
        return false;
    }
    m_Layout.ResetAllSeriesView();
    m_Layout.GetSeries().SetAllSeriesLayout(format);
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    SetScope(series != nullptr ? series->GetScope() : 0);
    ResetScrollBar(0, m_Layout.GetNbOfImage(), false);
    RedrawBorders();
    return true;
}

bool CImageView::ApplySeriesLayout(const char* format)
{
    _info("%s will Set Series Layout format to <%s>", static_cast<const char*>(m_strName),
          format != nullptr ? format : "");
    if (!PaneLayoutFormat::IsAcceptable(format))
    {
        return false;
    }
    ClearClient();
    return LayOutEverySeries(format);
}

void CImageView::SetNextSeriesLayoutString(const char* format)
{
    m_strViewLayout = format != nullptr ? format : "";
    if (m_Layout.GetNbOfImage() > 0)
    {
        return;
    }
    SetSeriesLayout(format);
}

void CImageView::SwapLayout()
{
    CWnd* owner = GetOwner();
    if (owner == nullptr || GetHotImage() == nullptr)
    {
        return;
    }
    const CString format = GetFormat();
    if (format != SingleLayout)
    {
        owner->SendMessage(WM_COMMAND, CmdBlownUp, 0);
        m_strSavedFormat = format;
        m_Layout.SaveShownImages();
        SetLayout(SingleLayout);
    }
    else if (m_strSavedFormat.IsEmpty())
    {
        m_strSavedFormat = format;
        return;
    }
    else
    {
        owner->SendMessage(WM_COMMAND, CmdRestored, 0);
        m_Layout.RestoreShownImages();
        const CString saved = m_strSavedFormat;
        m_strSavedFormat.Empty();
        SetLayout(saved);
    }
    Invalidate(TRUE);
    _debug("Leave CImageView::SwapLayout");
}

void CImageView::FirstPage()
{
    m_Layout.FirstPage();
}

void CImageView::LastPage()
{
    m_Layout.LastPage();
}

void CImageView::PageUp()
{
    m_Layout.PageUp();
}

// True when a pane shows the series' last image (or its first).
static bool IsOnPage(const ImageLayout& layout, const ImageShow* show)
{
    return show != nullptr && layout.GetShownImages().Contains(const_cast<ImageShow*>(show));
}

void CImageView::PageDown()
{
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    if (m_Layout.GetNbOfImage() > 0 && !IsOnPage(m_Layout, series->GetLastImage()))
    {
        m_Layout.PageDown();
    }
}

void CImageView::LineUp()
{
    m_Layout.LineUp();
    Refresh();
}

void CImageView::LineDown()
{
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    if (series != nullptr && !IsOnPage(m_Layout, series->GetLastImage()))
    {
        m_Layout.LineDown();
    }
}

void CImageView::StepPage(int step, bool refresh)
{
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    if (step == 0 || m_Layout.GetNbOfImage() == 0)
    {
        return;
    }
    if ((step < 0 && IsOnPage(m_Layout, series->GetFirstImage())) ||
        (step > 0 && IsOnPage(m_Layout, series->GetLastImage())))
    {
        return;
    }
    WaitCursor wait(*this);
    m_Layout.ScrollBy(step);
    if (refresh)
    {
        Refresh();
    }
}

// The page is rebuilt around the image: it goes to the pane's position,
// with the images before and after it around it. A page that would run
// off either end of the series becomes the first or the last page.
void CImageView::PageToImage(int pane, ImageShow* show)
{
    const int index = m_Layout.IndexOfImage(show);
    if (m_Layout.GetNbOfShown() == 0 || index < 0)
    {
        return;
    }
    const int position = std::clamp(pane, 0, m_Layout.GetPageSize() - 1);
    const int start = index - position;
    if (start < 0)
    {
        m_Layout.FirstPage();
    }
    else if (start + m_Layout.GetPageSize() > m_Layout.GetNbOfImage())
    {
        if (start == 0)
        {
            m_Layout.FirstPage();
        }
        else
        {
            m_Layout.LastPage();
        }
    }
    else
    {
        m_Layout.ScrollTo(start);
        m_Layout.FirePageUpdated();
    }
}

LRESULT CImageView::OnPageToImageMessage(WPARAM wParam, LPARAM lParam)
{
    auto* wanted = reinterpret_cast<ImageShow*>(lParam);
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    if (wanted == nullptr || series == nullptr)
    {
        return 0;
    }
    ImageShow* found = m_Layout.IndexOfImage(wanted) >= 0 ? wanted : nullptr;
    for (int index = 0; found == nullptr && index < series->GetNbOfImage(); ++index)
    {
        if (series->GetImageAt(index)->IsSameImage(*wanted))
        {
            found = series->GetImageAt(index);
        }
    }
    if (found == nullptr)
    {
        return 0;
    }
    ImageShow* old = GetHotImage();
    PageToImage(static_cast<int>(wParam), found);
    FireHotImageSelChanged(found, old);
    return 1;
}

void CImageView::ShowImagesFrom(int position, bool refresh)
{
    if (m_Layout.GetNbOfImage() == 0)
    {
        return;
    }
    m_Layout.ScrollTo(position);
    if (refresh)
    {
        Refresh();
    }
}

int CImageView::GetFirstShownIndex() const
{
    if (GetPaneCount() == 0 || m_Layout.GetCurrentSeries() == nullptr)
    {
        return -1;
    }
    return m_Layout.IndexOfImage(m_Layout.GetShownImages().GetAt(0));
}

// The range in pages. A page size below one (no panes yet) counts as one,
// so that no division by zero can happen and the range stays finite.
void CImageView::SetScrollRange(int count, bool resetPosition, bool relayout)
{
    if (!m_bScrollBar || m_hWnd == nullptr)
    {
        return;
    }
    const int pageSize = std::max(m_Layout.GetPageSize(), 1);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    if (count > pageSize)
    {
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMin = 0;
        info.nMax = (count + pageSize - 1) / pageSize - 1;
        info.nPage = 1;
    }
    else
    {
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = FullRangeMax;
        info.nPage = FullRangePage;
    }
    if (resetPosition)
    {
        info.fMask |= SIF_POS;
        info.nPos = 0;
    }
    PaneLayout::SetScrollInfo(SB_VERT, &info, TRUE);
    if (relayout)
    {
        RelayoutPanes();
    }
}

void CImageView::UpdateScrollRange(int count, bool relayout)
{
    SetScrollRange(count, false, relayout);
}

void CImageView::ResetScrollBar(int first, int count, bool relayout)
{
    // The first position only tells whether the series outgrows the page.
    SetScrollRange(first < count ? count : 0, true, relayout);
}

// The scroll bar takes client width: the panes follow the new client area.
void CImageView::RelayoutPanes()
{
    CRect client;
    GetClientRect(&client);
    if (client.Width() > 0 && client.Height() > 0)
    {
        RedrawBorders();
    }
}

void CImageView::SetScrollPosition(int position)
{
    if (m_bScrollBar && m_hWnd != nullptr)
    {
        PaneLayout::SetScrollPos(SB_VERT, position, TRUE);
    }
}

void CImageView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    PaneLayout::GetScrollInfo(SB_VERT, &info, SIF_ALL);
    int position = info.nPos;
    switch (nSBCode)
    {
    case SB_LINEUP:
    case SB_PAGEUP:
        position = std::max(position - 1, info.nMin);
        break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        position = std::min(position + 1, info.nMax);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        position = static_cast<int>(nPos);
        break;
    case SB_TOP:
        position = info.nMin;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        break;
    }
    ValueArgs args(position, static_cast<int>(nSBCode));
    VertScroll.Invoke(this, &args);
}

void CImageView::OnEventVertScroll(const void*, DelegateArgs* args)
{
    const auto* scroll = static_cast<ValueArgs*>(args);
    if (scroll->m_nExtra == SB_ENDSCROLL)
    {
        return;
    }
    SetScrollPosition(scroll->m_nValue);
    if (m_Layout.GetNbOfImage() > 0)
    {
        m_Layout.ScrollTo(scroll->m_nValue * m_Layout.GetPageSize());
        Refresh();
    }
    FireHotImageSelChanged(GetHotImage(), nullptr);
    PageChanged.Invoke(this, nullptr);
}

void CImageView::OnEventHotImageSelChanged_ScrollBar(const void*, DelegateArgs* args)
{
    ImageShow* hot = args != nullptr ? static_cast<HotImageArgs*>(args)->m_pNew : nullptr;
    const int index = m_Layout.IndexOfImage(hot);
    if (index >= 0)
    {
        SetScrollPosition(index / std::max(m_Layout.GetPageSize(), 1));
    }
}

void CImageView::OnCmdScrollCloseSeries()
{
    _debug("Enter CImageView::OnCmdScrollCloseSeries, IndexOfSeries : %d, NbOfImage : %d, "
           "NbOfSeries : %d",
           m_Layout.IndexOfHotSeries(), m_Layout.GetNbOfImage(), m_Layout.GetNbOfSeries());
    m_nHotPane = -1;
    UnsubscribeLayoutEvents();
    DetachPanes(false);
    ApplyLayout(m_strViewLayout);
    m_Layout.CloseCurrentSeries();
    m_Layout.NextSeries();
    SeriesClosed.Invoke(this, nullptr);
    RefreshCurrentLayout();
    RedrawBorders();
    _debug("Leave CImageView::OnCmdScrollCloseSeries, IndexOfSeries : %d, NbOfImage : %d, "
           "NbOfSeries : %d",
           m_Layout.IndexOfHotSeries(), m_Layout.GetNbOfImage(), m_Layout.GetNbOfSeries());
}

void CImageView::DeleteItem(ImageShow* show)
{
    _debug("Enter ImageView::DeleteItem, NbOfImage : %d, NbOfSeries : %d", m_Layout.GetNbOfImage(),
           m_Layout.GetNbOfSeries());
    ImageShow* old = GetHotImage();
    // No pane may hold the image as it goes.
    for (int pane = PaneOf(show); pane >= 0 && GetPaneImage(pane) == show; pane = PaneOf(show))
    {
        DetachPane(GetPane(pane), false);
    }
    m_Layout.DeleteImage(show);
    SetHighLight(0);
    RedrawBorders();
    Refresh();
    UpdateScrollRange(m_Layout.GetNbOfImage(), true);
    _debug("Leave ImageView::DeleteItem, NbOfImage : %d, NbOfSeries : %d", m_Layout.GetNbOfImage(),
           m_Layout.GetNbOfSeries());
    SeriesClosed.Invoke(this, nullptr);
    ImageShow* hot = GetHotImage();
    FireHotImageReplaced(hot, old == show ? nullptr : old);
    FireHotImageSelChanged(hot, old == show ? nullptr : old);
}

void CImageView::CloseHotImage()
{
    if (ImageShow* hot = GetHotImage())
    {
        DeleteItem(hot);
    }
}

void CImageView::Sort(UINT command)
{
    {
        WaitCursor wait(*this);
        switch (command)
        {
        case CmdSortByImageNo:
            m_Layout.ReorderByImageNo(-1, false);
            break;
        case CmdSortByAcquisitionNo:
            m_Layout.ReorderByAcquisitionNo(-1, false);
            break;
        case CmdSortBySliceLocation:
            m_Layout.ReorderBySliceLocation(-1, false);
            break;
        default:
            m_Layout.ReverseOrder(-1);
            break;
        }
    }
    Refresh();
}

void CImageView::OnEventLoadCompleted(const void*, DelegateArgs* args)
{
    static const bool sortWhenCompleted = []
    {
        XmlSetting setting;
        if (!ImageShowConfig::LoadProcessSetting(setting) ||
            !setting.GotoPath("/AppSetting/Config"))
        {
            return false;
        }
        return Lettra(setting.GetValue("SortWhenLoadCompleted", "0")).Bool();
    }();
    if (sortWhenCompleted)
    {
        _debug("Enter CImageView::OnEventLoadCompleted, Will sort by ImageNumber when load "
               "completed");
        const int transaction = args != nullptr ? static_cast<ValueArgs*>(args)->m_nValue : -1;
        if (m_Layout.ReorderByImageNo(transaction, false))
        {
            Refresh();
        }
    }
    for (int index = 0; index < m_Layout.GetNbOfSeries(); ++index)
    {
        m_Layout.GetSeries().GetSeriesAt(index)->SetLoadCompleted(true);
    }
}

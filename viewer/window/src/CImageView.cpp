#include "CImageView.h"

#include "DataConfig.h"
#include "ImageShow.h"
#include "MedImage.h"
#include "QuillonLog.h"

#include "AfxModuleState.h"

#include <cstdint>

using quillon::_debug;

namespace
{

unsigned Address(const void* object)
{
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(object));
}

} // namespace

IMPLEMENT_DYNCREATE(CImageView, PaneLayout)

BEGIN_MESSAGE_MAP(CImageView, PaneLayout)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_VSCROLL()
ON_WM_KEYDOWN()
ON_WM_MOUSEWHEEL()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_TIMER()
ON_MESSAGE(CImageView::MsgPageToImage, OnPageToImageMessage)
END_MESSAGE_MAP()

CImageView::CImageView()
    : ViewReleasing("CImageView::ViewReleasing"), ViewReleased("CImageView::ViewReleased"),
      SeriesSelChanged("CImageView::SeriesSelChanged"),
      HotImageSelChanged("CImageView::HotImageSelChanged"),
      HotImageReplaced("CImageView::HotImageReplaced"), MouseWheel("CImageView::MouseWheel"),
      CtrlMouseWheel("CImageView::CtrlMouseWheel"), ShiftMouseWheel("CImageView::ShiftMouseWheel"),
      CtrlShiftMouseWheel("CImageView::CtrlShiftMouseWheel"),
      LeftButtonDblClk("CImageView::LeftButtonDblClk"), KeyDown("CImageView::KeyDown"),
      SetLeftButtonEvent("CImageView::SetLeftButton"),
      SetRightButtonEvent("CImageView::SetRightButton"), ImageAdding("CImageView::ImageAdding"),
      ImageAdded("CImageView::ImageAdded"), SeriesClosed("CImageView::SeriesClosed"),
      HotImageScrolling("CImageView::HotImageScrolling"),
      HotImageScrolled("CImageView::HotImageScrolled"), PageChanged("CImageView::PageChanged"),
      VertScroll("CImageView::VertScroll"), LoadCompleted("CImageView::LoadCompleted"),
      PopupMenu("CImageView::PopupMenu"), SeriesNavigation("CImageView::SeriesNavigation"),
      Activated("CImageView::Activated"), InitialUpdateDone("CImageView::InitialUpdateDone"),
      ViewDestroying("CImageView::Destroying"),
      m_bScrollBar(DataConfig::Get().nShowImageViewScrollBar != 0)
{
}

CImageView::~CImageView()
{
    delete m_pClipboard;
}

BOOL CImageView::PreCreateWindow(CREATESTRUCT& cs)
{
    // Styles changed inside WM_CREATE would come too late to take effect.
    cs.style |= WS_CLIPSIBLINGS | WS_VSCROLL;
    return PaneLayout::PreCreateWindow(cs);
}

int CImageView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (PaneLayout::OnCreate(lpCreateStruct) == -1)
    {
        return -1;
    }
    m_Layout.DisableEventTrace();
    if (!m_bScrollBar)
    {
        PaneLayout::ShowScrollBar(SB_VERT, FALSE);
    }
    return 0;
}

void CImageView::OnInitialUpdate()
{
    PaneLayout::OnInitialUpdate();
    SubscribeOwnEvents();
    InitialUpdateDone.Invoke(this, nullptr);
    RebuildPanes();
}

void CImageView::SubscribeOwnEvents()
{
    for (Delegate* wheel : {&MouseWheel, &CtrlMouseWheel, &ShiftMouseWheel, &CtrlShiftMouseWheel})
    {
        wheel->Add(
            MakeHandler(this, &CImageView::OnEventMouseWheel, "CImageView::OnEventMouseWheel"));
    }
    KeyDown.Add(MakeHandler(this, &CImageView::OnEventKeyDown, "CImageView::OnEventKeyDown"));
    HotImageScrolling.Add(MakeHandler(this, &CImageView::OnEventHotImageScrolling,
                                      "CImageView::OnEventHotImageScrolling"));
    HotImageScrolled.Add(MakeHandler(this, &CImageView::OnEventHotImageScrolled,
                                     "CImageView::OnEventHotImageScrolled"));
    SetLeftButtonEvent.Add(
        MakeHandler(this, &CImageView::OnEventSetLeftButton, "CImageView::OnEventSetLeftButton"));
    SetRightButtonEvent.Add(
        MakeHandler(this, &CImageView::OnEventSetRightButton, "CImageView::OnEventSetRightButton"));
    VertScroll.Add(
        MakeHandler(this, &CImageView::OnEventVertScroll, "CImageView::OnEventVertScroll"));
    LoadCompleted.Add(
        MakeHandler(this, &CImageView::OnEventLoadCompleted, "CImageView::OnEventLoadCompleted"));
    PopupMenu.Add(MakeHandler(this, &CImageView::OnEventPopupMenu, "CImageView::OnEventPopupMenu"));
}

void CImageView::UnsubscribeOwnEvents()
{
    for (Delegate* wheel : {&MouseWheel, &CtrlMouseWheel, &ShiftMouseWheel, &CtrlShiftMouseWheel})
    {
        wheel->Remove(MakeHandler(this, &CImageView::OnEventMouseWheel, ""));
    }
    KeyDown.Remove(MakeHandler(this, &CImageView::OnEventKeyDown, ""));
    HotImageScrolling.Remove(MakeHandler(this, &CImageView::OnEventHotImageScrolling, ""));
    HotImageScrolled.Remove(MakeHandler(this, &CImageView::OnEventHotImageScrolled, ""));
    EnableDblClk(false);
    SetLeftButtonEvent.Remove(MakeHandler(this, &CImageView::OnEventSetLeftButton, ""));
    SetRightButtonEvent.Remove(MakeHandler(this, &CImageView::OnEventSetRightButton, ""));
    VertScroll.Remove(MakeHandler(this, &CImageView::OnEventVertScroll, ""));
    LoadCompleted.Remove(MakeHandler(this, &CImageView::OnEventLoadCompleted, ""));
    PopupMenu.Remove(MakeHandler(this, &CImageView::OnEventPopupMenu, ""));
}

// Delegate::Add refuses a handler equal to one it holds, so the layout
// handlers hang once however often the panes are rebuilt.
void CImageView::SubscribeLayoutEvents()
{
    HotImageSelChanged.Add(MakeHandler(this, &CImageView::OnEventHotImageSelChanged_ScrollBar,
                                       "CImageView::OnEventHotImageSelChanged_ScrollBar"));
    SeriesSelChanged.Add(MakeHandler(this, &CImageView::OnEventSeriesSelChanged,
                                     "CImageView::OnEventSeriesSelChanged"));
    m_Layout.OnSelChanged.Add(
        MakeHandler(this, &CImageView::OnEventSelChanged, "CImageView::OnEventSelChanged"));
    m_Layout.OnImageUpdated.Add(
        MakeHandler(this, &CImageView::OnEventImageUpdated, "CImageView::OnEventImageUpdated"));
    m_Layout.OnPageUpdated.Add(
        MakeHandler(this, &CImageView::OnEventPageUpdated, "CImageView::OnEventPageUpdated"));
}

void CImageView::UnsubscribeLayoutEvents()
{
    m_Layout.OnSelChanged.Remove(MakeHandler(this, &CImageView::OnEventSelChanged, ""));
    m_Layout.OnImageUpdated.Remove(MakeHandler(this, &CImageView::OnEventImageUpdated, ""));
    m_Layout.OnPageUpdated.Remove(MakeHandler(this, &CImageView::OnEventPageUpdated, ""));
}

bool CImageView::ApplyLayout(const char* format)
{
    if (!PaneLayoutFormat::IsAcceptable(format))
    {
        quillon::_warning("Leave CImageView::ApplyLayout, refused layout <%s>",
                          format != nullptr ? format : "");
        return false;
    }
    // The images stay decoded: the new panes mostly show them again.
    DetachPanes(true);
    SubscribeLayoutEvents();
    m_strViewLayout = format != nullptr ? format : "";
    if (SetFormat(format) == 0)
    {
        return false;
    }
    m_nHotPane = -1;
    ResetHighLight();
    m_Layout.GetSeries().SetCurrentSeriesLayout(format);
    m_Layout.SetLineSize(GetBandCount());
    m_Layout.SetPageSize(GetRectCount());
    ApplyToolsToPanes();
    ForEachPane(
        [this](MedImage* pane)
        {
            pane->GetClickedEvent().Add(
                MakeHandler(this, &CImageView::OnEventHighlight, "CImageView::OnEventHighlight"));
            ApplySwitchesToPane(pane);
        });
    return true;
}

void CImageView::RebuildPanes()
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    const int position = GetFirstShownIndex();
    const int scope = m_nScope;
    ReleaseView();
    ApplyLayout(m_strViewLayout);
    ShowImagesFrom(position < 0 ? 0 : position, true);
    SetScope(scope);
}

void CImageView::ReleaseView()
{
    ViewReleasing.Invoke(this, nullptr);
    HotImageSelChanged.Remove(
        MakeHandler(this, &CImageView::OnEventHotImageSelChanged_ScrollBar, ""));
    if (m_nTimer != 0 && m_hWnd != nullptr)
    {
        KillTimer(m_nTimer);
    }
    m_nTimer = 0;
    m_nHotPane = -1;
    UnsubscribeLayoutEvents();
    DetachRenderStateEvent();
    DetachPanes(false);
    delete m_pClipboard;
    m_pClipboard = nullptr;
    ViewReleased.Invoke(this, nullptr);
}

void CImageView::ReleaseAll()
{
    _debug("Enter CImageView::ReleaseAll <0x%0x, %s>", Address(m_hWnd),
           static_cast<const char*>(m_strName));
    ReleaseView();
    m_Layout.Reset();
}

void CImageView::DoDestroy()
{
    UnsubscribeOwnEvents();
    UnsubscribeLayoutEvents();
    HotImageSelChanged.Remove(
        MakeHandler(this, &CImageView::OnEventHotImageSelChanged_ScrollBar, ""));
    SeriesSelChanged.Remove(MakeHandler(this, &CImageView::OnEventSeriesSelChanged, ""));
    DetachRenderStateEvent();
    ForEachPane(
        [this](MedImage* pane)
        { pane->GetClickedEvent().Remove(MakeHandler(this, &CImageView::OnEventHighlight, "")); });
    ViewDestroying.Invoke(this, nullptr);
}

BOOL CImageView::DestroyWindow()
{
    _debug("Enter CImageView::DestroyWindow <0x%0x, %s>", Address(m_hWnd),
           static_cast<const char*>(m_strName));
    DoDestroy();
    return PaneLayout::DestroyWindow();
}

void CImageView::OnDestroy()
{
    _debug("");
    _debug("Enter CImageView::OnDestroy <0x%0x, %s>", Address(m_hWnd),
           static_cast<const char*>(m_strName));
    DoDestroy();
    PaneLayout::OnDestroy();
}

ImageShow* CImageView::GetPaneImage(int pane) const
{
    const MedImage* window = GetPane(pane);
    return window != nullptr ? window->GetShow() : nullptr;
}

int CImageView::PaneIndex(const void* pane) const
{
    for (int index = 0; index < GetPaneCount(); ++index)
    {
        if (GetPane(index) == pane)
        {
            return index;
        }
    }
    return -1;
}

int CImageView::PaneOf(const ImageShow* show) const
{
    if (show == nullptr)
    {
        return -1;
    }
    for (int index = 0; index < GetPaneCount(); ++index)
    {
        if (GetPaneImage(index) == show)
        {
            return index;
        }
    }
    const int position = m_Layout.GetShownImages().IndexOf(const_cast<ImageShow*>(show));
    return position < GetPaneCount() ? position : -1;
}

void CImageView::SetHotPane(int pane)
{
    m_nHotPane = pane >= 0 && pane < GetPaneCount() ? pane : -1;
}

void CImageView::DetachPane(MedImage* pane, bool keepData)
{
    ImageShow* show = pane->GetShow();
    if (show == nullptr)
    {
        return;
    }
    // The pane lets go of an image without releasing pixels the image is
    // told to keep.
    const std::uint32_t state = show->GetState();
    if (keepData)
    {
        show->SetState(state | ImageShow::enKeepPixelData);
    }
    pane->DetachShow();
    show->SetState(state);
}

void CImageView::DetachPanes(bool keepData)
{
    ForEachPane([keepData](MedImage* pane) { DetachPane(pane, keepData); });
}

void CImageView::ShowOnPanes(const Array<ImageShow*>& shown)
{
    // First every pane lets go of what it no longer shows, so that an image
    // moving between panes is never taken off the pane it just went to.
    for (int index = 0; index < GetPaneCount(); ++index)
    {
        MedImage* pane = GetPane(index);
        ImageShow* current = pane->GetShow();
        if (current != nullptr && current != shown.GetAt(index))
        {
            DetachPane(pane, shown.Contains(current));
        }
    }
    for (int index = 0; index < GetPaneCount(); ++index)
    {
        ImageShow* wanted = shown.GetAt(index);
        if (wanted != nullptr && GetPane(index)->GetShow() != wanted)
        {
            GetPane(index)->AttachShow(wanted);
        }
    }
    // An image a pane stepped to may stand on another pane as well; each
    // image names the pane of its page position.
    ForEachPane(
        [](MedImage* pane)
        {
            if (pane->GetShow() != nullptr)
            {
                pane->GetShow()->SetView(pane);
            }
        });
}

void CImageView::ApplySwitchesToPane(MedImage* pane) const
{
    if (m_bLabels)
    {
        pane->ShowLabels();
    }
    else
    {
        pane->HideLabels();
    }
    pane->ShowOverlays(m_bOverlays);
}

void CImageView::OnEventHighlight(const void* sender, DelegateArgs*)
{
    const int pane = PaneIndex(sender);
    if (pane < 0)
    {
        return;
    }
    ImageShow* old = GetHotImage();
    SetHighLight(pane);
    ImageShow* hot = GetHotImage();
    FireHotImageReplaced(hot, old);
    if (hot != old)
    {
        FireHotImageSelChanged(hot, old);
    }
}

void CImageView::SetHighLight(int index)
{
    PaneLayout::SetHighLight(index);
    SetHotPane(index);
}

void CImageView::FireHotImageReplaced(ImageShow* hot, ImageShow* old)
{
    HotImageArgs args(hot, old);
    HotImageReplaced.Invoke(this, &args);
}

void CImageView::FireHotImageSelChanged(ImageShow* hot, ImageShow* old)
{
    HotImageArgs args(hot, old);
    HotImageSelChanged.Invoke(this, &args);
}

void CImageView::SelectImage(ImageShow* show)
{
    if (m_Layout.IndexOfImage(show) < 0)
    {
        return;
    }
    if (PaneOf(show) < 0)
    {
        m_Layout.ScrollToImage(show);
        Refresh();
    }
    ImageShow* old = GetHotImage();
    SetHighLight(PaneOf(show));
    FireHotImageReplaced(show, old);
    FireHotImageSelChanged(show, old);
}

void CImageView::OnEventSelChanged(const void*, DelegateArgs* args)
{
    auto* show = static_cast<ImageShow*>(static_cast<PointerDelegateArgs*>(args)->m_pPointer);
    _debug("Highlight will change to 0x%0x", Address(show));
    const int pane = PaneOf(show);
    if (pane < 0)
    {
        return;
    }
    ImageShow* old = GetHotImage();
    if (GetPaneImage(pane) != show)
    {
        GetPane(pane)->AttachShow(show);
    }
    SetHighLight(pane);
    FireHotImageReplaced(show, old);
    FireHotImageSelChanged(show, old);
}

void CImageView::OnEventImageUpdated(const void*, DelegateArgs* args)
{
    auto* show = static_cast<ImageShow*>(static_cast<PointerDelegateArgs*>(args)->m_pPointer);
    UpdateShownImage(show);
    if (show != nullptr && show == GetHotImage())
    {
        FireHotImageReplaced(show, show);
    }
}

void CImageView::OnEventPageUpdated(const void*, DelegateArgs*)
{
    ImageShow* old = GetHotImage();
    Refresh();
    ImageShow* hot = GetHotImage();
    FireHotImageReplaced(hot, old);
    if (hot != old)
    {
        FireHotImageSelChanged(hot, old);
    }
}

void CImageView::OnEventSeriesSelChanged(const void*, DelegateArgs*)
{
    m_Layout.GetSeries().ClearImageFlags();
}

void CImageView::UpdateShownImage(ImageShow* show)
{
    const int pane = PaneOf(show);
    if (m_Layout.GetNbOfShown() == 0 || pane < 0)
    {
        return;
    }
    MedImage* window = GetPane(pane);
    if (window->GetShow() != show)
    {
        window->AttachShow(show);
    }
    else
    {
        window->RedrawImage();
    }
}

void CImageView::Refresh()
{
    ShowOnPanes(m_Layout.GetShownImages());
    if (m_nHotPane >= 0 && GetPaneImage(m_nHotPane) == nullptr)
    {
        m_nHotPane = GetPaneImage(0) == nullptr ? -1 : 0;
    }
    if (m_hWnd != nullptr)
    {
        Invalidate(FALSE);
    }
}

void CImageView::ShowHighLight(bool show, bool notify)
{
    if (show == IsShowHighLight())
    {
        return;
    }
    if (show && notify)
    {
        Activated.Invoke(this, nullptr);
    }
    PaneLayout::ShowHighLight(show);
    RedrawBorders();
    if (show && notify)
    {
        FireHotImageSelChanged(GetHotImage(), nullptr);
    }
}

void CImageView::ShowVertScrollBar(bool show)
{
    m_bScrollBar = show;
    if (m_hWnd != nullptr)
    {
        PaneLayout::ShowScrollBar(SB_VERT, show ? TRUE : FALSE);
    }
}

void CImageView::SetScope(int scope)
{
    switch (scope)
    {
    case Corvane::enScopeImage:
    case Corvane::enScopeView:
    case 2:
    case 3:
    case Corvane::enScopeSelected:
        m_nScope = scope;
        break;
    default:
        m_nScope = Corvane::enScopeImage;
        break;
    }
    if (SeriesShow* series = m_Layout.GetCurrentSeries())
    {
        series->SetScope(m_nScope);
    }
    DetachRenderStateEvent();
    AttachRenderStateEvent();
}

int CImageView::MiddleToolFor(int leftTool)
{
    switch (leftTool)
    {
    case 4:
    case 3:
    case 60:
        return 5;
    case 5:
        return 4;
    case 10:
        return 28;
    default:
        return 10;
    }
}

void CImageView::SetLeftButton(int tool)
{
    m_nLeftTool = tool;
    ApplyToolsToPanes();
}

void CImageView::SetRightButton(int tool)
{
    m_nRightTool = tool;
    ApplyToolsToPanes();
}

void CImageView::ApplyToolsToPanes()
{
    const int middle = MiddleToolFor(m_nLeftTool);
    ForEachPane(
        [this, middle](MedImage* pane)
        {
            pane->SetLeftButtonTool(m_nLeftTool);
            pane->SetRightButtonTool(m_nRightTool);
            pane->SetMiddleButtonTool(middle);
        });
}

void CImageView::OnEventSetLeftButton(const void*, DelegateArgs* args)
{
    SetLeftButton(static_cast<ValueArgs*>(args)->m_nValue);
}

void CImageView::OnEventSetRightButton(const void*, DelegateArgs* args)
{
    SetRightButton(static_cast<ValueArgs*>(args)->m_nValue);
}

bool CImageView::RunCommand(WPARAM wParam, LPARAM lParam)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    const UINT id = LOWORD(wParam);
    if (id >= CmdFirstLeftTool && id <= CmdLastLeftTool)
    {
        SetLeftButton(static_cast<int>(id - CmdFirstLeftTool));
        if (CWnd* owner = GetOwner(); owner != nullptr && owner->m_hWnd != nullptr)
        {
            owner->SendMessage(WM_COMMAND, id - LeftToolEchoOffset, 0);
        }
        return true;
    }
    if (id >= CmdFirstRightTool && id <= CmdLastRightTool)
    {
        SetRightButton(static_cast<int>(id - CmdFirstRightTool));
        return true;
    }
    if (id >= CmdFirstSeries && id <= CmdLastSeries)
    {
        if (GotoLayoutAt(static_cast<int>(id - CmdFirstSeries)))
        {
            RefreshCurrentLayout();
        }
        return true;
    }
    if (id >= CmdFirstPopup && id <= CmdLastPopup)
    {
        ValueArgs args(static_cast<int>(id));
        PopupMenu.Invoke(this, &args);
        return true;
    }
    switch (id)
    {
    case CmdSortByImageNo:
    case CmdSortByAcquisitionNo:
    case CmdSortBySliceLocation:
    case CmdReverseOrder:
        Sort(id);
        return true;
    case CmdSortNothing:
        return true;
    default:
        return PaneLayout::OnCommand(wParam, lParam) != FALSE;
    }
}

BOOL CImageView::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (RunCommand(wParam, lParam))
    {
        return TRUE;
    }
    if (CWnd* owner = GetOwner(); owner != nullptr && owner->m_hWnd != nullptr)
    {
        owner->SendMessage(WM_COMMAND, wParam, lParam);
    }
    return TRUE;
}

void CImageView::AppendSeriesCopy(const SeriesShow& source, const ImageShow* only)
{
    Matrix_ImageShow& series = m_Layout.GetSeries();
    SeriesShow* copy = series.AddSeries();
    for (int index = 0; index < source.GetNbOfImage(); ++index)
    {
        const ImageShow* image = source.GetImageAt(index);
        if (only == nullptr || image == only)
        {
            copy->AddImage(new ImageShow(*image));
        }
    }
    copy->SetLayout(source.GetLayout());
    copy->SetScope(source.GetScope());
    copy->UpdateInfo();
    if (m_Layout.IndexOfHotSeries() < 0)
    {
        m_Layout.GotoSeriesAt(0);
    }
}

void CImageView::FinishCopy(const CImageView& source, int scope)
{
    ResetScrollBar(0, m_Layout.GetNbOfImage(), false);
    SetScope(scope);
    m_bLabels = source.m_bLabels;
    m_bOverlays = source.m_bOverlays;
    SetLeftButton(source.m_nLeftTool);
    SetRightButton(source.m_nRightTool);
}

void CImageView::CopySeriesTo(CImageView* target)
{
    if (target == nullptr || target == this)
    {
        return;
    }
    target->ReleaseView();
    for (int index = 0; index < m_Layout.GetNbOfSeries(); ++index)
    {
        target->AppendSeriesCopy(*m_Layout.GetSeries().GetSeriesAt(index), nullptr);
    }
    target->FinishCopy(*this, Corvane::enScopeImage);
}

void CImageView::CopySeriesAtTo(int index, CImageView* target)
{
    const SeriesShow* series = m_Layout.GetSeries().GetSeriesAt(index);
    if (target == nullptr || target == this || series == nullptr)
    {
        return;
    }
    target->ReleaseView();
    target->AppendSeriesCopy(*series, nullptr);
    target->FinishCopy(*this, m_nScope);
}

void CImageView::CopyHotImageTo(CImageView* target)
{
    ImageShow* hot = GetHotImage();
    if (target == nullptr || target == this || hot == nullptr)
    {
        return;
    }
    target->ReleaseView();
    target->AppendSeriesCopy(*m_Layout.GetCurrentSeries(), hot);
    target->FinishCopy(*this, m_nScope);
}

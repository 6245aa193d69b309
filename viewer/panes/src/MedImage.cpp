#include "MedImage.h"

#include "AgeFromDate.h"
#include "DICOMImage.h"
#include "DicomLookupTable.h"
#include "LUTList.h"
#include "MetaImage.h"
#include "MetaMatrix.h"
#include "MouseTracker.h"
#include "PreviewViews.h"
#include "QuillonLibrary.h"
#include "QuillonLog.h"
#include "VR.h"
#include "VRCode.h"
#include "WinClipboard.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

IMPLEMENT_DYNCREATE(MedImage, MetaView)

BEGIN_MESSAGE_MAP(MedImage, MetaView)
ON_WM_SIZE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_MBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_MBUTTONDBLCLK()
ON_WM_RBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_TIMER()
ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

namespace
{

// Preview views stand over the pane's client area for one drag.
template <class View> bool CreatePreview(View& view, CWnd* pane, const char* name, DWORD style)
{
    CRect client;
    pane->GetClientRect(&client);
    return view.Create(nullptr, name, style, client, pane, 0) != FALSE;
}

template <class View> void DestroyPreview(View& view)
{
    if (view.m_hWnd != nullptr)
    {
        view.DestroyWindow();
    }
}

// A text of the data set, trimmed; empty when absent.
// A number as a reader writes it: "12.5", not "1.250000e+01" or the
// float's "1.6000000238419".
Lettra ReadableNumber(double value)
{
    Lettra text;
    if (std::fabs(value) < 1e6)
    {
        text.Format("%g", value);
    }
    else
    {
        text.Format("%.0f", value);
    }
    return text;
}

// The values of a decimal or integer element, each written as a reader
// expects; any other text as stored.
Lettra ReadableValue(const DICOMImage* image, std::uint16_t group, std::uint16_t element,
                     const Lettra& stored)
{
    const VR* vr = image != nullptr ? image->GetVR(group, element) : nullptr;
    const std::uint16_t code = vr != nullptr ? vr->GetTypeCode() : VRCode::Unknown;
    if (code != VRCode::DS && code != VRCode::IS && code != VRCode::FL && code != VRCode::FD)
    {
        return stored;
    }
    const std::string text = stored.constBuffer();
    std::string readable;
    for (std::size_t from = 0; from <= text.size();)
    {
        const std::size_t end = std::min(text.find('\\', from), text.size());
        const std::string part = text.substr(from, end - from);
        char* parsed = nullptr;
        const double value = std::strtod(part.c_str(), &parsed);
        while (parsed != nullptr && *parsed == ' ')
        {
            ++parsed;
        }
        if (part.empty() || parsed == nullptr || *parsed != 0 || !std::isfinite(value))
        {
            return stored;
        }
        readable += (from == 0 ? "" : "\\") + std::string(ReadableNumber(value).constBuffer());
        from = end + 1;
    }
    return Lettra(readable.c_str());
}

Lettra TextOf(DICOMImage* image, std::uint16_t group, std::uint16_t element)
{
    return image != nullptr
               ? ReadableValue(image, group, element, image->GetLettra(group, element).Trim())
               : Lettra();
}

void AddLabelIfText(MedImage* pane, int position, const char* prefix, const Lettra& text)
{
    if (!text.IsEmpty())
    {
        pane->AddLabel(position, Lettra(prefix) + text);
    }
}

ORoi* RoiAt(const Array<ImageShow::RoiPtr>& rois, int index)
{
    return index >= 0 && index < rois.GetCount() ? rois.GetAt(index).get() : nullptr;
}

// What a press at a hit would do, as a cursor.
HCURSOR CursorOfHit(int code, bool locked)
{
    LPCSTR cursor = IDC_ARROW;
    if (!locked)
    {
        switch (code)
        {
        case enHitBody:
        case enHitLabel:
            cursor = IDC_SIZEALL;
            break;
        case enHitHandle:
            cursor = IDC_CROSS;
            break;
        case enHitEdgeX:
            cursor = IDC_SIZEWE;
            break;
        case enHitEdgeY:
            cursor = IDC_SIZENS;
            break;
        default:
            break;
        }
    }
    return LoadCursorA(nullptr, cursor);
}

// The codes a press on the shutter acts on.
bool IsMaskHit(int code)
{
    return code == enHitBody || code == enHitHandle || code == enHitEdgeX || code == enHitEdgeY;
}

// One line per table, the current one marked "* ".
Lettra DescribeLUTs(const LUTList& tables)
{
    Lettra text;
    for (int at = 0; at < tables.GetCount(); ++at)
    {
        const DicomLookupTable* table = tables.GetAt(at);
        Lettra line = table->GetDescription();
        if (line.IsEmpty())
        {
            line.Format("WW:%d, WL:%d", table->GetWindowWidth(), table->GetWindowCenter());
        }
        text += (table == tables.GetCurrent() ? "* " : "") + line + "\r\n";
    }
    return text;
}

// The text of a label item: prefix, value and postfix; empty without a
// value.
Lettra TagItemText(const ImageShow& show, const ImageTag::TagMetaItem& item)
{
    if (item.strType.CompareNoCase("AGE") == 0)
    {
        const Lettra age = show.GetDicomValue(0x0010, 0x1010);
        return !age.IsEmpty() ? age
                              : AgeFromDate(show.GetDicomValue(0x0008, 0x0020).constBuffer(),
                                            show.GetDicomValue(0x0010, 0x0030).constBuffer());
    }
    const Lettra value = ReadableValue(show.GetDicomImage(), item.nGroup, item.nElement,
                                       show.GetDicomValue(item.nGroup, item.nElement));
    return value.IsEmpty() ? value : item.strPrefix + value + item.strPostfix;
}

} // namespace

MedImage::MedImage()
    : m_pLeftTasks(std::make_unique<MouseTaskSet>(this)),
      m_pMiddleTasks(std::make_unique<MouseTaskSet>(this)),
      m_pRightTasks(std::make_unique<MouseTaskSet>(this)), m_EventClicked("MedImage::Activated"),
      m_EventSize("MedImage::Size")
{
    m_pRightTasks->SetTool(MouseTaskSet::enWindowLevelTool);
    for (Delegate* event : {&m_EventClicked, &m_EventWindowLevel, &m_EventInvert, &m_EventZoom,
                            &m_EventPan, &m_EventFlipHorizontal, &m_EventFlipVertical,
                            &m_EventRotate, &m_EventUndo, &m_EventImageChanged,
                            &m_EventAnnotations[0], &m_EventAnnotations[1], &m_EventAnnotations[2]})
    {
        event->SetTrace(false);
    }
    for (int button = 0; button < 3; ++button)
    {
        m_EventButtonDown[button].SetTrace(false);
        m_EventDoubleClick[button].SetTrace(false);
    }
    m_EventButtonDown[0].Add(
        MakeHandler(this, &MedImage::OnEventLeftButtonDown, "MedImage::OnEventLeftButtonDown"));
    m_EventButtonDown[1].Add(
        MakeHandler(this, &MedImage::OnEventMiddleButtonDown, "MedImage::OnEventMiddleButtonDown"));
    m_EventButtonDown[2].Add(
        MakeHandler(this, &MedImage::OnEventRightButtonDown, "MedImage::OnEventRightButtonDown"));
    m_EventDoubleClick[0].Add(
        MakeHandler(this, &MedImage::OnEventLeftButtonDblClk, "MedImage::OnEventLeftButtonDblClk"));
}

MedImage::~MedImage()
{
    if (m_hWnd != nullptr && m_nTimer != 0)
    {
        KillTimer(m_nTimer);
    }
}

BOOL MedImage::PreCreateWindow(CREATESTRUCT& cs)
{
    return MetaView::PreCreateWindow(cs);
}

int MedImage::ButtonIndex(int button)
{
    return button < 0 ? 0 : (button > 2 ? 2 : button);
}

int MedImage::LeftModifiers(UINT flags)
{
    return MouseTask::ModifiersOf(flags);
}

int MedImage::OtherModifiers(UINT flags)
{
    if ((flags & MK_CONTROL) != 0)
    {
        return MouseTask::ControlBit;
    }
    return (flags & MK_SHIFT) != 0 ? MouseTask::ShiftBit : 0;
}

bool MedImage::IsEmpty() const
{
    return m_pShow == nullptr;
}

void MedImage::FireSimple(Delegate& event)
{
    DelegateArgs args;
    event.Invoke(this, &args);
}

void MedImage::TakeFocus()
{
    if (GetFocus() != this)
    {
        SetFocus();
    }
}

// Messages.

void MedImage::OnSize(UINT nType, int cx, int cy)
{
    MetaView::OnSize(nType, cx, cy);
    FireSimple(m_EventSize);
}

void MedImage::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
    if (!IsEmpty() && m_bAutoFocus)
    {
        TakeFocus();
    }
    if (!m_pLeftTasks->IsPriority() &&
        (HoverPaneAnnotations(nFlags, point.x, point.y) ||
         HoverImageAnnotations(nFlags, point.x, point.y) || HoverMask(nFlags, point.x, point.y)))
    {
        return;
    }
    SetHovered(nullptr);
    m_pLeftTasks->OnMouseMove(nFlags, point.x, point.y);
}

void MedImage::FireButtonDown(int button, UINT flags, CPoint point)
{
    MouseArgs args(flags, point.x, point.y);
    const int index = ButtonIndex(button);
    m_EventBefore[index].Invoke(this, &args);
    m_EventButtonDown[index].Invoke(this, &args);
    m_EventAfter[index].Invoke(this, &args);
}

void MedImage::OnLButtonDown(UINT nFlags, CPoint point)
{
    FireButtonDown(MouseTask::enLeftButton, nFlags, point);
}

void MedImage::OnMButtonDown(UINT nFlags, CPoint point)
{
    FireButtonDown(MouseTask::enMiddleButton, nFlags, point);
}

void MedImage::OnRButtonDown(UINT nFlags, CPoint point)
{
    FireButtonDown(MouseTask::enRightButton, nFlags, point);
}

void MedImage::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
    MouseArgs args(nFlags, point.x, point.y);
    m_EventDoubleClick[0].Invoke(this, &args);
}

void MedImage::OnMButtonDblClk(UINT, CPoint)
{
    PostCurrentMessageToParent();
}

void MedImage::OnRButtonDblClk(UINT, CPoint)
{
    PostCurrentMessageToParent();
}

void MedImage::PostCurrentMessageToParent()
{
    const MSG* msg = GetCurrentMessage();
    if (GetParent() != nullptr && msg != nullptr)
    {
        GetParent()->PostMessage(msg->message, msg->wParam, msg->lParam);
    }
}

void MedImage::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN && OnEnterKey())
    {
        return;
    }
    if (nChar == VK_DELETE && (DeleteSelectedRois() > 0 || OnDeleteKey()))
    {
        return;
    }
    if (!OfferKeyToSelected(nChar, nRepCnt, nFlags))
    {
        PostCurrentMessageToParent();
    }
}

void MedImage::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!OfferKeyToSelected(nChar, nRepCnt, nFlags, true))
    {
        PostCurrentMessageToParent();
    }
}

bool MedImage::OnEnterKey()
{
    return OfferKeyToSelected(VK_RETURN, 1, 0);
}

bool MedImage::OfferKeyToSelected(UINT key, UINT repeat, UINT flags, bool up)
{
    // Held, so that an annotation a key removes stays alive until the
    // others had it.
    std::vector<ImageShow::RoiPtr> selected;
    for (const Array<ImageShow::RoiPtr>* rois : {ImageRois(), PaneRois()})
    {
        for (auto* node = rois != nullptr ? rois->GetHead() : nullptr; node != nullptr;
             node = node->next)
        {
            if (node->item->IsSelected())
            {
                selected.push_back(node->item);
            }
        }
    }
    bool taken = false;
    for (const ImageShow::RoiPtr& roi : selected)
    {
        taken =
            (up ? roi->OnKeyUp(key, repeat, flags) : roi->OnKeyDown(key, repeat, flags)) || taken;
        if (taken && up)
        {
            break;
        }
    }
    if (taken)
    {
        Invalidate(FALSE);
        FireAnnotationEvent(enAnnotationChanged);
    }
    return taken;
}

void MedImage::FireAnnotationEvent(int which)
{
    if (which >= enAnnotationAdded && which <= enAnnotationsRemoved)
    {
        FireSimple(m_EventAnnotations[which]);
    }
}

void MedImage::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TimedRectTimer)
    {
        ClearTimedRect();
        return;
    }
    Default();
}

BOOL MedImage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT command = LOWORD(wParam);
    if (command >= enCmdToTail && command <= enCmdLabelToggle && HasRoiCommandTarget())
    {
        RunRoiCommand(int(command));
        return TRUE;
    }
    switch (command)
    {
    case enCmdShowOverlays:
    case enCmdHideOverlays:
        ShowOverlays(command == enCmdShowOverlays);
        return TRUE;
    case enCmdRepaint:
        Invalidate(TRUE);
        return TRUE;
    case enCmdCopy:
        CopyToClipboard();
        return TRUE;
    case enCmdZoomPixelByPixel:
        ZoomPixelByPixel();
        return TRUE;
    case enCmdZoomFit:
        ZoomFitInWindow();
        return TRUE;
    default:
        break;
    }
    if (MetaView::OnCommand(wParam, lParam))
    {
        return TRUE;
    }
    // What the pane does not handle is its view's to handle.
    if (GetParent() != nullptr)
    {
        GetParent()->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

// The popup menu the view builds for the pane: its commands come back to
// the pane, so they show what they would do here.
void MedImage::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pPopupMenu == nullptr)
    {
        return;
    }
    const bool target = HasRoiCommandTarget();
    for (UINT at = 0; at < pPopupMenu->GetMenuItemCount(); ++at)
    {
        const UINT id = pPopupMenu->GetMenuItemID(int(at));
        if (id == enCmdShowOverlays || id == enCmdHideOverlays)
        {
            const bool on = (id == enCmdShowOverlays) == m_bOverlaysShown;
            pPopupMenu->CheckMenuItem(at, MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED));
        }
        else if (id >= enCmdToTail && id <= enCmdLabelToggle)
        {
            pPopupMenu->EnableMenuItem(at, MF_BYPOSITION | (target ? MF_ENABLED : MF_GRAYED));
        }
    }
}

bool MedImage::HasRoiCommandTarget() const
{
    if (m_bPopupOnMask ? GetShutter() != nullptr : !m_PopupRoi.expired())
    {
        return true;
    }
    for (const Array<ImageShow::RoiPtr>* rois : {ImageRois(), PaneRois()})
    {
        for (auto* node = rois != nullptr ? rois->GetHead() : nullptr; node != nullptr;
             node = node->next)
        {
            if (node->item->IsSelected())
            {
                return true;
            }
        }
    }
    return false;
}

// The annotation the popup was opened on, else the shutter it was opened
// on, else every selected annotation.
bool MedImage::RunRoiCommand(int command)
{
    ORoi* mask = m_bPopupOnMask ? GetShutter() : nullptr;
    if (mask != nullptr)
    {
        return FinishRoiCommand(mask->OnCommand(command));
    }
    if (const ImageShow::RoiPtr popup = m_PopupRoi.lock())
    {
        return FinishRoiCommand(popup->OnCommand(command));
    }
    std::vector<ImageShow::RoiPtr> selected;
    for (const Array<ImageShow::RoiPtr>* rois : {ImageRois(), PaneRois()})
    {
        for (auto* node = rois != nullptr ? rois->GetHead() : nullptr; node != nullptr;
             node = node->next)
        {
            if (node->item->IsSelected())
            {
                selected.push_back(node->item);
            }
        }
    }
    bool taken = false;
    // A command may reorder the list: the targets were taken first.
    for (const ImageShow::RoiPtr& roi : selected)
    {
        taken = roi->OnCommand(command) || taken;
    }
    return FinishRoiCommand(taken);
}

bool MedImage::FinishRoiCommand(bool taken)
{
    if (taken)
    {
        Invalidate(TRUE);
        FireAnnotationEvent(enAnnotationsRemoved);
    }
    return taken;
}

UINT MedImage::PopupMenuAt(POINT point)
{
    m_PopupRoi.reset();
    m_bPopupOnMask = false;
    int index = -1;
    if (m_bOverlaysShown && HitTestPaneAnnotations(point.x, point.y, &index, true, true) != 0)
    {
        m_PopupRoi = m_PaneRois.GetAt(index);
        return enPaneAnnotationMenu;
    }
    if (m_bOverlaysShown && HitTestImageAnnotations(point.x, point.y, &index, true, true) != 0)
    {
        m_PopupRoi = ImageRois()->GetAt(index);
        return enAnnotationMenu;
    }
    ORoi* mask = GetShutter();
    if (mask != nullptr && mask->HitTestDefault(point.x, point.y, 0) != 0)
    {
        m_bPopupOnMask = true;
        return enShutterMenu;
    }
    return enImageMenu;
}

// Hover.

void MedImage::SetHovered(const ImageShow::RoiPtr& roi)
{
    const ImageShow::RoiPtr before = m_Hovered.lock();
    if (before == roi)
    {
        return;
    }
    if (before != nullptr)
    {
        before->SetHighlighted(false, false);
    }
    if (roi != nullptr)
    {
        roi->SetHighlighted(true, false);
    }
    m_Hovered = roi;
    Invalidate(FALSE);
}

bool MedImage::HoverList(const Array<ImageShow::RoiPtr>* rois, int x, int y)
{
    int index = -1;
    const int code =
        rois != nullptr && m_bOverlaysShown ? HitTestList(*rois, x, y, &index, false, false) : 0;
    if (code == 0)
    {
        return false;
    }
    const ImageShow::RoiPtr roi = rois->GetAt(index);
    SetHovered(roi);
    ::SetCursor(CursorOfHit(code, roi->IsLocked()));
    return true;
}

bool MedImage::HoverPaneAnnotations(UINT, int x, int y)
{
    return HoverList(PaneRois(), x, y);
}

bool MedImage::HoverImageAnnotations(UINT, int x, int y)
{
    return HoverList(ImageRois(), x, y);
}

bool MedImage::HoverMask(UINT, int x, int y)
{
    ORoi* mask = GetShutter();
    const int code = mask != nullptr ? mask->HitTestDefault(x, y, 0) : 0;
    if (!IsMaskHit(code))
    {
        return false;
    }
    SetHovered(nullptr);
    ::SetCursor(CursorOfHit(code, mask->IsLocked()));
    return true;
}

// Button handling.

void MedImage::Track(MouseTask* task, int button, POINT point)
{
    m_nDragButton = button;
    m_ptDragStart = point;
    const MSG* msg = GetCurrentMessage();
    m_nDragFlags = msg != nullptr ? UINT(msg->wParam) : 0;
    m_pDragTask = task;
    DragTracker tracker(this);
    tracker.Track(task, point, button);
    m_pDragTask = nullptr;
}

void MedImage::OnEventLeftButtonDown(const void*, DelegateArgs* args)
{
    const auto* mouse = dynamic_cast<MouseArgs*>(args);
    if (mouse == nullptr)
    {
        return;
    }
    const POINT point = {mouse->m_nX, mouse->m_nY};
    TakeFocus();
    const int modifiers = LeftModifiers(mouse->m_nFlags);
    FireSimple(m_EventClicked);
    m_PopupRoi.reset();
    m_bPopupOnMask = false;
    if (IsEmpty())
    {
        Track(m_pLeftTasks->GetFirstTask(), MouseTask::enLeftButton, point);
        return;
    }
    MouseTask* current = m_pLeftTasks->GetCurrentTask();
    if (current != nullptr && m_pLeftTasks->IsPriority())
    {
        if (ClearSelection())
        {
            Invalidate(TRUE);
        }
        m_pLeftTasks->SetModifiers(modifiers);
        Track(current, MouseTask::enLeftButton, point);
        return;
    }
    if (m_bOverlaysShown)
    {
        int index = -1;
        if (HitTestPaneAnnotations(point.x, point.y, &index, false, false) != 0)
        {
            const int code = HitTestPaneAnnotations(point.x, point.y, &index, true, true);
            DispatchPaneRoiHit(modifiers, point.x, point.y, code, index);
            return;
        }
        if (HitTestImageAnnotations(point.x, point.y, &index, false, false) != 0)
        {
            // Shift or Ctrl adds to the selection.
            const int code =
                HitTestImageAnnotations(point.x, point.y, &index, true, modifiers == 0);
            DispatchRoiHit(modifiers, point.x, point.y, code, index);
            return;
        }
        if (ClearSelection())
        {
            Invalidate(TRUE);
        }
    }
    ORoi* mask = GetShutter();
    const int maskCode = mask != nullptr ? mask->HitTestDefault(point.x, point.y, 0) : 0;
    if (IsMaskHit(maskCode) && mask->OnHit(maskCode, mouse->m_nFlags, point.x, point.y))
    {
        FireAnnotationEvent(enAnnotationsRemoved);
        return;
    }
    if ((modifiers & MouseTask::ControlBit) != 0)
    {
        FireSimple(m_EventClicked);
        return;
    }
    if ((modifiers & MouseTask::ShiftBit) != 0)
    {
        MouseTask* first = m_pLeftTasks->GetFirstTask();
        first->SetModifiers(first->GetModifiers() | MouseTask::ShiftBit);
        Track(first, MouseTask::enLeftButton, point);
        return;
    }
    m_pLeftTasks->SetModifiers(modifiers);
    if (current != nullptr)
    {
        Track(current, MouseTask::enLeftButton, point);
    }
}

void MedImage::OnEventMiddleButtonDown(const void*, DelegateArgs* args)
{
    const auto* mouse = dynamic_cast<MouseArgs*>(args);
    FireSimple(m_EventClicked);
    TakeFocus();
    if (mouse == nullptr || IsEmpty() || m_pMiddleTasks->GetCurrentTask() == nullptr)
    {
        return;
    }
    m_pMiddleTasks->SetModifiers(OtherModifiers(mouse->m_nFlags));
    Track(m_pMiddleTasks->GetCurrentTask(), MouseTask::enMiddleButton,
          POINT{mouse->m_nX, mouse->m_nY});
}

void MedImage::OnEventRightButtonDown(const void*, DelegateArgs* args)
{
    const auto* mouse = dynamic_cast<MouseArgs*>(args);
    FireSimple(m_EventClicked);
    TakeFocus();
    if (IsEmpty())
    {
        if (GetParent() != nullptr)
        {
            GetParent()->SendMessage(WM_COMMAND, enEmptyPaneMenu, 0);
        }
        return;
    }
    if (mouse == nullptr || m_pRightTasks->GetCurrentTask() == nullptr)
    {
        return;
    }
    const POINT point = {mouse->m_nX, mouse->m_nY};
    m_pRightTasks->SetModifiers(OtherModifiers(mouse->m_nFlags));
    Track(m_pRightTasks->GetCurrentTask(), MouseTask::enRightButton, point);
    POINT now;
    GetCursorPos(&now);
    ScreenToClient(&now);
    // A click without a drag asks the view for the menu of what it hit.
    if (now.x == point.x && now.y == point.y && GetParent() != nullptr)
    {
        GetParent()->SendMessage(WM_COMMAND, PopupMenuAt(point), 0);
    }
}

void MedImage::OnEventLeftButtonDblClk(const void*, DelegateArgs* args)
{
    const auto* mouse = dynamic_cast<MouseArgs*>(args);
    int index = -1;
    if (mouse != nullptr && m_bOverlaysShown &&
        HitTestImageAnnotations(mouse->m_nX, mouse->m_nY, &index, false, false) != 0)
    {
        OnEnterKey();
        return;
    }
    PostCurrentMessageToParent();
}

// Drags through the preview views.

// The move that started the drag follows the press, so the view's task
// starts from where the pointer is.
void MedImage::ResendPress(CWnd* view)
{
    const MSG* move = m_pDragTask != nullptr ? &m_pDragTask->GetCurrentMessage() : nullptr;
    if (move != nullptr && move->message == WM_MOUSEMOVE)
    {
        view->PostMessage(WM_MOUSEMOVE, move->wParam, move->lParam);
    }
    // A view that does not cover the pane from its corner takes the press
    // in its own points.
    POINT press = m_ptDragStart;
    ClientToScreen(&press);
    view->ScreenToClient(&press);
    view->SendMessage(MouseTask::ButtonDownMessage(m_nDragButton), m_nDragFlags,
                      MAKELPARAM(short(press.x), short(press.y)));
}

void MedImage::ApplyDragResult(double zoom, POINT pan)
{
    m_dZoom = ClampZoom(zoom);
    m_ptPan = pan;
    ApplyViewToShow();
    UpdateImage();
    UpdateZoomText();
}

void MedImage::BeginZoomDrag()
{
    ClearTimedRect();
    ZoomView view;
    if (!CreatePreview(view, this, "ZoomView", WS_CHILD | WS_VISIBLE) || !view.InitFromPane(this))
    {
        DestroyPreview(view);
        return;
    }
    ResendPress(&view);
    DestroyPreview(view);
    if (view.GetPaneZoom() != m_dZoom || CPoint(view.GetPan()) != m_ptPan)
    {
        ApplyDragResult(view.GetPaneZoom(), view.GetPan());
    }
}

void MedImage::BeginPanDrag()
{
    ClearTimedRect();
    if (m_dZoom > 0.0 && m_dZoom <= 1.0)
    {
        MoveImageWindow();
        return;
    }
    DIBPanView view;
    if (!CreatePreview(view, this, "PanView", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN) ||
        !view.InitFromPane(this))
    {
        DestroyPreview(view);
        return;
    }
    ResendPress(&view);
    DestroyPreview(view);
    ApplyDragResult(m_dZoom, view.GetPan());
}

// The whole picture fits a window of its own: the drag moves that window
// over a black backdrop, and the pan follows its corner.
void MedImage::MoveImageWindow()
{
    CRect client;
    GetClientRect(&client);
    BlackView black;
    if (!black.Create(nullptr, "BlackView", WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPCHILDREN,
                      client, this, 0))
    {
        return;
    }
    CRect image;
    GetImageScreenRect(&image);
    MoveWindowPanView view;
    if (!view.Create(nullptr, "PanView", WS_CHILD | WS_CLIPCHILDREN, image, &black, 0) ||
        !view.InitFromPane(this))
    {
        DestroyPreview(view);
        DestroyPreview(black);
        return;
    }
    view.ShowWindow(SW_SHOW);
    black.UpdateWindow();
    ResendPress(&view);
    const CSize moved = view.GetPan() - view.GetPaneImageRect().TopLeft();
    DestroyPreview(view);
    DestroyPreview(black);
    ApplyDragResult(m_dZoom, m_ptPan + moved);
}

void MedImage::OnWindowLevelStart(int* width, int* center)
{
    ClearTimedRect();
    MetaView::OnWindowLevelStart(width, center);
    WindowLevelView view;
    if (!CreatePreview(view, this, "WindowLevelView", WS_CHILD | WS_VISIBLE) ||
        !view.InitFromPane(this))
    {
        DestroyPreview(view);
        return;
    }
    ResendPress(&view);
    DestroyPreview(view);
    if (view.GetWindowWidth() > 0)
    {
        if (width != nullptr && center != nullptr)
        {
            *width = view.GetWindowWidth();
            *center = view.GetWindowCenter();
        }
        SetWindowLevel(view.GetWindowWidth(), view.GetWindowCenter());
    }
}

void MedImage::OnWindowLevelEnd()
{
    const MetaImage* image = m_pShow != nullptr ? m_pShow->GetMetaImage() : nullptr;
    if (image == nullptr || image->GetCurrentLUT() == nullptr)
    {
        return;
    }
    PairArgs args(image->GetWindowWidth(), image->GetWindowCenter());
    m_EventWindowLevel.Invoke(this, &args);
}

void MedImage::OnWindowLeveled(int, int)
{
    Invalidate(FALSE);
}

// View changes and their events.

void MedImage::CommitZoom()
{
    MetaView::CommitZoom();
    PairArgs args(m_ptPan.x, m_ptPan.y);
    m_EventPan.Invoke(this, &args);
    m_EventZoom.Invoke(this, &args);
}

void MedImage::CommitPan()
{
    MetaView::CommitPan();
    PairArgs args(m_ptPan.x, m_ptPan.y);
    m_EventPan.Invoke(this, &args);
}

void MedImage::FlipHorizontal()
{
    MetaView::FlipHorizontal();
    UpdateOrientationLabels(m_pShow);
    Invalidate(TRUE);
    FireSimple(m_EventFlipHorizontal);
}

void MedImage::FlipVertical()
{
    MetaView::FlipVertical();
    UpdateOrientationLabels(m_pShow);
    Invalidate(TRUE);
    FireSimple(m_EventFlipVertical);
}

void MedImage::Rotate(int quarterTurns)
{
    MetaView::Rotate(quarterTurns);
    UpdateOrientationLabels(m_pShow);
    Invalidate(TRUE);
    PairArgs args(quarterTurns, 0);
    m_EventRotate.Invoke(this, &args);
}

void MedImage::Invert()
{
    MetaView::Invert();
    Invalidate(TRUE);
    FireSimple(m_EventInvert);
}

void MedImage::ResetView()
{
    ClearTimedRect();
    ClearAllLabels();
    MetaView::ResetView();
}

bool MedImage::AttachShow(ImageShow* show)
{
    ClearTimedRect();
    if (m_pShow != nullptr && m_pShow != show)
    {
        DetachShow();
    }
    const bool attached = MetaView::AttachShow(show);
    if (attached)
    {
        BuildImageLabels(show);
        BuildOverlayText();
        UpdateOrientationLabels(show);
    }
    PointerDelegateArgs args(show);
    m_EventImageChanged.Invoke(this, &args);
    return attached;
}

bool MedImage::AttachAgain()
{
    ImageShow* show = m_pShow;
    DetachShow();
    return AttachShow(show);
}

void MedImage::ReleaseImageData()
{
    ClearTimedRect();
    // A selection would outlive the picture it was made on.
    DeselectAll(ImageRois());
    MetaView::ReleaseImageData();
}

// Annotations.

void MedImage::ClearAnnotations()
{
    if (m_pShow != nullptr)
    {
        m_pShow->ClearAnnotations();
        Invalidate(TRUE);
    }
}

void MedImage::AddAnnotationShared(const ImageShow::RoiPtr& roi, bool redraw)
{
    if (m_pShow == nullptr || roi == nullptr)
    {
        return;
    }
    m_pShow->AddAnnotation(roi);
    if (redraw)
    {
        Invalidate(FALSE);
    }
    FireAnnotationEvent(enAnnotationAdded);
}

void MedImage::AddAnnotation(ORoi* roi, bool redraw)
{
    if (m_pShow == nullptr)
    {
        // Nothing would own it.
        delete roi;
        return;
    }
    AddAnnotationShared(ImageShow::RoiPtr(roi), redraw);
}

bool MedImage::RemoveAnnotation(ORoi* roi)
{
    if (m_pShow == nullptr || roi == nullptr || !m_pShow->DeleteAnnotation(roi))
    {
        return false;
    }
    Invalidate(TRUE);
    FireAnnotationEvent(enAnnotationsRemoved);
    return true;
}

bool MedImage::RemoveAnnotationForced(ORoi* roi)
{
    if (m_pShow == nullptr || roi == nullptr || !m_pShow->RemoveAnnotation(roi))
    {
        return false;
    }
    Invalidate(TRUE);
    FireAnnotationEvent(enAnnotationsRemoved);
    return true;
}

void MedImage::AddPaneAnnotation(ORoi* roi)
{
    if (roi != nullptr)
    {
        m_PaneRois.AddTail(ImageShow::RoiPtr(roi));
        Invalidate(FALSE);
        FireAnnotationEvent(enAnnotationAdded);
    }
}

bool MedImage::RemovePaneAnnotation(ORoi* roi)
{
    for (auto* node = m_PaneRois.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item.get() == roi)
        {
            const ImageShow::RoiPtr held = node->item;
            m_PaneRois.Remove(held);
            Invalidate(TRUE);
            return true;
        }
    }
    return false;
}

void MedImage::ClearPaneAnnotations()
{
    m_PaneRois.RemoveAll();
    if (m_hWnd != nullptr)
    {
        Invalidate(TRUE);
    }
}

bool MedImage::OnDeleteKey()
{
    return false;
}

const Array<ImageShow::RoiPtr>* MedImage::ImageRois() const
{
    return m_pShow != nullptr ? &m_pShow->GetAnnotations() : nullptr;
}

int MedImage::HitTestList(const Array<ImageShow::RoiPtr>& rois, int x, int y, int* index,
                          bool select, bool deselectOthers)
{
    int hit = -1;
    int code = 0;
    for (int at = rois.GetCount() - 1; at >= 0 && code == 0; --at)
    {
        ORoi* roi = rois.GetAt(at).get();
        // The mask is the shutter layer's, not an annotation to pick.
        if (roi->GetOwner() != nullptr && roi->GetOwner()->GetMask() == roi)
        {
            continue;
        }
        code = roi->HitTestDefault(x, y, 0);
        hit = code != 0 ? at : -1;
    }
    if (index != nullptr)
    {
        *index = hit;
    }
    if (code == 0 || !select)
    {
        return code;
    }
    for (int at = 0; at < rois.GetCount(); ++at)
    {
        ORoi* roi = rois.GetAt(at).get();
        if (at == hit)
        {
            roi->Select(false);
        }
        else if (deselectOthers && roi->IsSelected())
        {
            roi->Deselect(false);
        }
    }
    return code;
}

int MedImage::HitTestImageAnnotations(int x, int y, int* index, bool select, bool deselectOthers)
{
    const Array<ImageShow::RoiPtr>* rois = ImageRois();
    if (rois == nullptr)
    {
        return 0;
    }
    const int code = HitTestList(*rois, x, y, index, select, deselectOthers);
    if (code != 0 && select)
    {
        Invalidate(FALSE);
    }
    return code;
}

int MedImage::HitTestPaneAnnotations(int x, int y, int* index, bool select, bool deselectOthers)
{
    const int code = HitTestList(m_PaneRois, x, y, index, select, deselectOthers);
    if (code != 0 && select)
    {
        Invalidate(FALSE);
    }
    return code;
}

bool MedImage::DispatchHit(const Array<ImageShow::RoiPtr>& rois, int modifiers, int x, int y,
                           int code, int index)
{
    ORoi* roi = RoiAt(rois, index);
    if (roi == nullptr || code == 0)
    {
        return false;
    }
    const UINT flags = ((modifiers & MouseTask::ShiftBit) != 0 ? MK_SHIFT : 0) |
                       ((modifiers & MouseTask::ControlBit) != 0 ? MK_CONTROL : 0) | MK_LBUTTON;
    if (!roi->OnHit(code, int(flags), x, y))
    {
        return false;
    }
    FireAnnotationEvent(enAnnotationsRemoved);
    return true;
}

bool MedImage::DispatchRoiHit(int modifiers, int x, int y, int code, int index)
{
    const Array<ImageShow::RoiPtr>* rois = ImageRois();
    return rois != nullptr && DispatchHit(*rois, modifiers, x, y, code, index);
}

bool MedImage::DispatchPaneRoiHit(int modifiers, int x, int y, int code, int index)
{
    return DispatchHit(m_PaneRois, modifiers, x, y, code, index);
}

bool MedImage::ClearSelection()
{
    const bool image = DeselectAll(ImageRois());
    return DeselectAll(PaneRois()) || image;
}

bool MedImage::DeselectAll(const Array<ImageShow::RoiPtr>* rois)
{
    bool any = false;
    for (auto* node = rois != nullptr ? rois->GetHead() : nullptr; node != nullptr;
         node = node->next)
    {
        if (node->item->IsSelected())
        {
            node->item->Deselect(false);
            any = true;
        }
    }
    return any;
}

int MedImage::DeleteSelectedRois()
{
    if (m_pShow == nullptr)
    {
        return 0;
    }
    std::vector<ORoi*> selected;
    for (auto* node = m_pShow->GetAnnotations().GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->IsSelected())
        {
            selected.push_back(node->item.get());
        }
    }
    int removed = 0;
    for (ORoi* roi : selected)
    {
        removed += m_pShow->DeleteAnnotation(roi) ? 1 : 0;
    }
    if (removed > 0)
    {
        Invalidate(TRUE);
        ::SetCursor(GetQuillonCursor(32512));
        FireAnnotationEvent(enAnnotationsRemoved);
    }
    return removed;
}

void MedImage::DrawOverlayLayerAbove(CDC* pDC)
{
    MetaView::DrawOverlayLayerAbove(pDC);
    const Array<ImageShow::RoiPtr>* image = ImageRois();
    for (const Array<ImageShow::RoiPtr>* rois : {image, PaneRois()})
    {
        for (auto* node = rois != nullptr && m_bOverlaysShown ? rois->GetHead() : nullptr;
             node != nullptr; node = node->next)
        {
            // The mask is drawn by the shutter layer.
            if (m_pShow == nullptr || node->item.get() != m_pShow->GetMask())
            {
                node->item->Draw(pDC);
            }
        }
    }
    if (!m_rcTimed.IsRectEmpty())
    {
        DrawFrame(pDC, &m_rcTimed, m_crTimed);
    }
}

// Tools.

void MedImage::SetLeftButtonTool(int code)
{
    try
    {
        m_pLeftTasks->SetTool(code);
    }
    catch (...)
    {
    }
}

void MedImage::SetRightButtonTool(int code)
{
    try
    {
        m_pRightTasks->SetTool(code);
    }
    catch (...)
    {
    }
}

void MedImage::SetMiddleButtonTool(int code)
{
    try
    {
        m_pMiddleTasks->SetTool(code);
    }
    catch (...)
    {
    }
}

// Labels.

void MedImage::ClearImageLabels()
{
    for (int position : {ViewLabel::enTopLeft, ViewLabel::enTopRight, ViewLabel::enBottomRight})
    {
        ClearLabels(position);
    }
    Array<ViewLabel*>& bottomLeft = GetLabels(ViewLabel::enBottomLeft);
    std::vector<ViewLabel*> own;
    for (auto* node = bottomLeft.GetHead(); node != nullptr; node = node->next)
    {
        own.push_back(node->item);
    }
    for (ViewLabel* label : own)
    {
        bool special = false;
        for (int slot = 0; slot < enSpecialLabelCount; ++slot)
        {
            special = special || GetSpecialLabel(slot) == label;
        }
        if (!special)
        {
            bottomLeft.Remove(label);
            delete label;
        }
    }
}

void MedImage::BuildImageLabels(ImageShow* show)
{
    ClearImageLabels();
    if (show == nullptr || show->IsEmpty())
    {
        return;
    }
    const ImageTag::ModalityItems* items =
        m_pImageTag != nullptr
            ? m_pImageTag->GetModalityItems(show->GetDicomValue(0x0008, 0x0060).constBuffer())
            : nullptr;
    if (items == nullptr)
    {
        BuildDefaultLabels(show);
        return;
    }
    const int positions[ImageTag::CornerCount] = {ViewLabel::enTopLeft, ViewLabel::enTopRight,
                                                  ViewLabel::enBottomLeft,
                                                  ViewLabel::enBottomRight};
    for (int corner = 0; corner < ImageTag::CornerCount; ++corner)
    {
        AddTagLabels(show, items->items[corner], positions[corner]);
    }
    // The read-outs stay the bottom lines of their corner.
    Array<ViewLabel*>& bottomLeft = GetLabels(ViewLabel::enBottomLeft);
    for (int slot : {enSizeLabel, enWindowLevelLabel, enRatioLabel})
    {
        if (ViewLabel* label = GetSpecialLabel(slot))
        {
            bottomLeft.Remove(label);
            bottomLeft.AddTail(label);
        }
    }
}

// Items of one line share it, joined by ", "; a line without any text
// stays, empty, so that the lines below keep their rows.
void MedImage::AddTagLabels(ImageShow* show, const Array<ImageTag::TagMetaItem>& items,
                            int position)
{
    std::vector<Lettra> lines;
    for (auto* node = items.GetHead(); node != nullptr; node = node->next)
    {
        const Lettra text = TagItemText(*show, node->item);
        if (text.IsEmpty())
        {
            continue;
        }
        const std::size_t line = std::size_t(std::max(1, node->item.nLine) - 1);
        if (lines.size() <= line)
        {
            lines.resize(line + 1);
        }
        lines[line] = lines[line].IsEmpty() ? text : lines[line] + ", " + text;
    }
    for (const Lettra& line : lines)
    {
        AddLabel(position, line);
    }
}

void MedImage::BuildDefaultLabels(ImageShow* show)
{
    DICOMImage* image = show != nullptr ? show->GetDicomImage() : nullptr;
    if (image == nullptr)
    {
        return;
    }
    AddLabelIfText(this, ViewLabel::enTopLeft, "", TextOf(image, 0x0010, 0x0010));
    AddLabelIfText(this, ViewLabel::enTopLeft, "", TextOf(image, 0x0010, 0x0020));
    AddLabelIfText(this, ViewLabel::enTopRight, "Ex:", TextOf(image, 0x0020, 0x0010));
    AddLabelIfText(this, ViewLabel::enTopRight, "Se:", TextOf(image, 0x0020, 0x0011));
    AddLabelIfText(this, ViewLabel::enTopRight, "Im:", TextOf(image, 0x0020, 0x0013));
    if (show->GetNbOfFrames() > 1)
    {
        Lettra frame;
        frame.Format("%d/%d", show->GetFrameIndex() + 1, show->GetNbOfFrames());
        AddLabelIfText(this, ViewLabel::enTopRight, "Fm:", frame);
    }
    AddLabelIfText(this, ViewLabel::enBottomRight, "SP:", TextOf(image, 0x0020, 0x1041));
    AddLabelIfText(this, ViewLabel::enBottomRight, "SL:", TextOf(image, 0x0018, 0x0050));
    const Lettra modality = TextOf(image, 0x0008, 0x0060);
    if (modality == "CT" || modality == "MR" || modality == "PT")
    {
        AddLabelIfText(this, ViewLabel::enBottomRight, "ET:", TextOf(image, 0x0018, 0x1150));
        AddLabelIfText(this, ViewLabel::enBottomRight, "TE:", TextOf(image, 0x0018, 0x0081));
        AddLabelIfText(this, ViewLabel::enBottomRight, "TR:", TextOf(image, 0x0018, 0x0080));
    }
}

void MedImage::HideLabels()
{
    SetLabelsVisible(false);
    m_bOverlaysShown = false;
    ShowRuler(false);
    ShowTargetMark(false);
    Invalidate(TRUE);
}

void MedImage::ShowLabels()
{
    SetLabelsVisible(true);
    m_bOverlaysShown = true;
    ShowRuler(true);
    Invalidate(TRUE);
}

void MedImage::ShowOverlays(bool show)
{
    m_bOverlaysShown = show;
    Invalidate(!show);
}

void MedImage::Undo()
{
    quillon::_debug("Enter MedImage::Undo, Level : %d", m_nUndoLevel);
    FireSimple(m_EventUndo);
    quillon::_debug("Leave MedImage::Undo, Level : %d", m_nUndoLevel);
}

// Timed rectangle.

void MedImage::ClearTimedRect()
{
    if (m_nTimer != 0 && m_hWnd != nullptr)
    {
        KillTimer(m_nTimer);
    }
    m_nTimer = 0;
    if (!m_rcTimed.IsRectEmpty() && m_hWnd != nullptr)
    {
        Invalidate(TRUE);
    }
    m_rcTimed.SetRectEmpty();
}

void MedImage::SetTimedRect(const RECT* rect)
{
    ClearTimedRect();
    if (rect != nullptr)
    {
        m_rcTimed = *rect;
        m_crTimed = 0xFFFFFF;
        Invalidate(FALSE);
    }
}

void MedImage::ShowTimedRect(const RECT* rect)
{
    SetTimedRect(rect);
    if (rect != nullptr && m_hWnd != nullptr)
    {
        m_nTimer = SetTimer(TimedRectTimer, TimedRectPeriod, nullptr);
    }
}

// Zoom commands.

void MedImage::ZoomFitInWindow()
{
    if (IsEmpty())
    {
        return;
    }
    UpdateFitFactor();
    m_dZoom = ClampZoom(m_dFitFactor);
    m_ptPan = CPoint(0, 0);
    CenterImage();
    ApplyViewToShow();
    CommitZoom();
    UpdateImage();
}

void MedImage::ZoomPixelByPixel()
{
    if (IsEmpty())
    {
        return;
    }
    m_dZoom = 1.0;
    m_ptPan = CPoint(0, 0);
    CenterImage();
    ApplyViewToShow();
    CommitZoom();
    UpdateImage();
}

void MedImage::ZoomIn()
{
    if (!IsEmpty())
    {
        ZoomAt(ClampZoom(m_dZoom * ZoomStep), m_rcDisplay.CenterPoint());
        CommitZoom();
    }
}

void MedImage::ZoomOut()
{
    if (!IsEmpty())
    {
        ZoomAt(ClampZoom(m_dZoom / ZoomStep), m_rcDisplay.CenterPoint());
        CommitZoom();
    }
}

void MedImage::ZoomToScreenRect(const RECT& rect)
{
    if (IsEmpty())
    {
        return;
    }
    RECT image;
    ScreenToImageRect(&image, rect);
    ZoomToImageRect(image);
    CommitZoom();
}

bool MedImage::AutoWindowLevelRect(const RECT& rect)
{
    MetaImage* image = m_pShow != nullptr ? m_pShow->GetMetaImage() : nullptr;
    const MetaMatrix* matrix = image != nullptr ? image->GetMatrix() : nullptr;
    DicomLookupTable* current = image != nullptr ? image->GetCurrentLUT() : nullptr;
    if (matrix == nullptr || current == nullptr)
    {
        return false;
    }
    RECT mapped;
    ScreenToImageRect(&mapped, rect);
    CRect part(mapped);
    part.NormalizeRect();
    part &= CRect(0, 0, matrix->GetWidth(), matrix->GetHeight());
    const std::unique_ptr<MetaMatrix> piece(part.IsRectEmpty() ? nullptr
                                                               : matrix->GetImagePart(&part));
    int rawWidth = 0;
    int rawCenter = 0;
    if (piece == nullptr || !piece->AutoWindowLevel(&rawWidth, &rawCenter) || rawWidth < 1)
    {
        quillon::_warning("Leave MedImage::AutoWindowLevelRect, no window for <%d,%d,%d,%d>",
                          part.left, part.top, part.right, part.bottom);
        return false;
    }
    const double low = current->RawToValue(rawCenter - rawWidth / 2.0);
    const double high = current->RawToValue(rawCenter + rawWidth / 2.0);
    const int width = std::max(1, int(std::fabs(high - low)));
    const int center = int(current->RawToValue(rawCenter));
    DicomLookupTable* table = current->Clone();
    table->SetWindowLevel(width, center);
    Lettra description;
    description.Format("Auto, W:%d, L:%d", width, center);
    table->SetDescription(description);
    // An equal table is there already: it is the one to show.
    if (!m_pShow->AddLUT(table))
    {
        table = nullptr;
        for (int at = 0; at < image->GetLUTs().GetCount() && table == nullptr; ++at)
        {
            DicomLookupTable* held = image->GetLUTs().GetAt(at);
            table = held->GetDescription() == description ? held : nullptr;
        }
    }
    if (table == nullptr)
    {
        return false;
    }
    ApplyLookupTable(table);
    RedrawImage();
    OnWindowLevelEnd();
    return true;
}

void MedImage::Restore()
{
    if (IsEmpty())
    {
        return;
    }
    m_pShow->SetMask(nullptr);
    m_pShow->ClearAnnotations();
    m_pShow->ResetOrientation();
    m_pShow->Reset();
    m_pShow->SetDisplayMode(16);
    AttachAgain();
}

// Lookup tables.

bool MedImage::SelectLUT(int index)
{
    MetaImage* image = m_pShow != nullptr ? m_pShow->GetMetaImage() : nullptr;
    if (image == nullptr || index < 0 || index >= image->GetLUTs().GetCount())
    {
        return false;
    }
    DicomLookupTable* table = image->GetLUTs().GetAt(index);
    if (!ApplyLookupTable(table) && image->GetLUTs().GetCurrent() != table)
    {
        return false;
    }
    RedrawImage();
    return true;
}

Lettra MedImage::GetAllLUTDescription() const
{
    const MetaImage* image = m_pShow != nullptr ? m_pShow->GetMetaImage() : nullptr;
    return image != nullptr ? DescribeLUTs(image->GetLUTs()) : Lettra();
}

Lettra MedImage::GetOriginalLUTDescription() const
{
    if (IsEmpty())
    {
        return Lettra();
    }
    // The image decoded afresh holds the tables it was loaded with.
    ImageShow loaded;
    loaded.AttachCorvane(m_pShow->GetHolder(), m_pShow->GetFrameIndex());
    loaded.EnsureLoaded();
    const MetaImage* image = loaded.GetMetaImage();
    return image != nullptr ? DescribeLUTs(image->GetLUTs()) : Lettra();
}

// Output.

bool MedImage::CopyToClipboard()
{
    if (IsEmpty())
    {
        return false;
    }
    const bool hadDIB = !m_pShow->GetDIB().IsEmpty();
    m_pShow->BuildFullViewDIB();
    const HDIB dib = m_pShow->GetDIB().GetDIB();
    const HANDLE copy = dib != nullptr ? CopyHandle(dib) : nullptr;
    if (!hadDIB)
    {
        m_pShow->ReleaseImageData();
    }
    // The pane's own picture is built again on its next paint.
    m_pShow->BuildChain();
    if (copy == nullptr || !OpenClipboard(m_hWnd))
    {
        if (copy != nullptr)
        {
            GlobalFree(copy);
        }
        quillon::_warning("Leave MedImage::CopyToClipboard, no image or no clipboard");
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_DIB, copy) != nullptr;
    CloseClipboard();
    if (!placed)
    {
        GlobalFree(copy);
    }
    return placed;
}

bool MedImage::SaveAsDicomFile(const char* path)
{
    return !IsEmpty() && m_pShow->SaveAsDicomFile(path);
}

bool MedImage::SaveAsBitmap(const char* path)
{
    return !IsEmpty() && m_pShow->SaveAsBitmap(path);
}

bool MedImage::SaveAsJPEG(const char* path)
{
    return !IsEmpty() && m_pShow->SaveAsJPEG(path);
}

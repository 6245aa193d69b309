// The toolbar "ToolbarWindow32": rows of buttons from the left edge (a
// button or separator with TBSTATE_WRAP ends its row), each showing an image
// of the toolbar's image list. A button pressed and
// released over itself sends its command to the parent; check buttons
// toggle first, and a checked button of a group unchecks the others of its
// group. Flat toolbars raise the button under the pointer only; the parent
// hears which button that is (TBN_HOTITEMCHANGE). With TBSTYLE_TOOLTIPS a
// tip control of the toolbar's own has a tool for each button and hears
// the pointer; the parent is asked the tip of a button (TTN_NEEDTEXTA with
// the button's command in idFrom).
// Custom-draw answers of the parent replace the default drawing. A
// disabled button shows its image embossed: every pixel but the white and
// button-face ones in the shadow colour over a highlight copy one pixel
// down and right.
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "ControlTips.h"
#include "IconImage.h"

#include "WinBars.h"
#include "WinCursor.h"
#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinInput.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr UINT_PTR kLeaveTimer = 1;
constexpr UINT kLeavePoll = 100;
constexpr int kSeparatorWidth = 8;

class ToolbarControl
{
public:
    explicit ToolbarControl(HWND hWnd) : m_hWnd(hWnd) {}
    ~ToolbarControl();

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    bool IsFlat() const { return (Style() & TBSTYLE_FLAT) != 0; }
    int IndexOf(int idCommand) const;
    RECT ItemRect(int nIndex) const;
    int HitTest(POINT pt) const;
    bool IsSeparator(int nIndex) const { return (m_buttons[nIndex].fsStyle & TBSTYLE_SEP) != 0; }
    bool IsEnabled(int nIndex) const { return (m_buttons[nIndex].fsState & TBSTATE_ENABLED) != 0; }
    // The state bit of a command's button set or cleared; FALSE without one.
    LRESULT SetStateBit(int idCommand, BYTE nBit, bool bOn);
    void SetState(int nIndex, BYTE nState);
    LRESULT Notify(NMHDR& hdr, UINT nCode, UINT_PTR idFrom) const;
    void SetHot(int nIndex, DWORD dwFlags);
    void OnMouseMove(POINT pt);
    void OnButtonDown(POINT pt);
    void OnButtonUp();
    void OnTimer(UINT_PTR nTimer);
    // The tip control's tools made to match the buttons shown.
    void SyncTipTools();
    void RelayToTip(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Click(int nIndex);
    void AutoSize();
    LRESULT ButtonInfo(int nId, TBBUTTONINFOA* pInfo, bool bSet);
    // The index of the first image added; -1 on failure.
    LRESULT AddBitmap(int nImages, const TBADDBITMAP* pAdd);

    // The parent's answer; pcrHotTrack receives the hot-track colour it left.
    UINT DrawStage(HDC hdc, DWORD dwStage, const RECT& rc, int nIndex,
                   COLORREF* pcrHotTrack = nullptr);
    // nAnswer: the parent's item-prepaint answer (TBCDRF_*).
    void DrawButton(HDC hdc, int nIndex, UINT nAnswer, COLORREF crHotTrack);
    void DrawSeparator(HDC hdc, const RECT& rc) const;
    void DrawDisabledImage(HDC hdc, int nImage, int x, int y) const;

    HWND m_hWnd;
    std::vector<TBBUTTON> m_buttons;
    SIZE m_sizeButton{23, 22};
    SIZE m_sizeBitmap{16, 15};
    HIMAGELIST m_hImages = nullptr;
    HIMAGELIST m_hOwnImages = nullptr; // made for TB_ADDBITMAP
    int m_nHot = -1;
    int m_nPressed = -1;
    bool m_bPressedInside = false;
    HWND m_hTip = nullptr;
};

ToolbarControl::~ToolbarControl()
{
    if (m_hOwnImages != nullptr)
        ImageList_Destroy(m_hOwnImages);
}

int ToolbarControl::IndexOf(int idCommand) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
    {
        if (m_buttons[i].idCommand == idCommand)
            return static_cast<int>(i);
    }
    return -1;
}

RECT ToolbarControl::ItemRect(int nIndex) const
{
    // Rows end after a wrapped button; a wrapped separator lies across the
    // toolbar as a band as high as it is wide, on a row of its own.
    int x = 0;
    int y = 0;
    for (int i = 0; i <= nIndex; ++i)
    {
        const TBBUTTON& button = m_buttons[i];
        if (button.fsState & TBSTATE_HIDDEN)
        {
            if (i == nIndex)
                return RECT{x, y, x, y + m_sizeButton.cy};
            continue;
        }
        const int cx = IsSeparator(i) ? (button.iBitmap > 0 ? button.iBitmap : kSeparatorWidth)
                                      : m_sizeButton.cx;
        const bool bWrap = (button.fsState & TBSTATE_WRAP) != 0;
        if (IsSeparator(i) && bWrap)
        {
            y += x > 0 ? m_sizeButton.cy : 0;
            x = 0;
            if (i == nIndex)
            {
                RECT rcClient{};
                GetClientRect(m_hWnd, &rcClient);
                return RECT{0, y, rcClient.right, y + cx};
            }
            y += cx;
            continue;
        }
        if (i == nIndex)
            return RECT{x, y, x + cx, y + m_sizeButton.cy};
        x += cx;
        if (bWrap)
        {
            x = 0;
            y += m_sizeButton.cy;
        }
    }
    return RECT{};
}

int ToolbarControl::HitTest(POINT pt) const
{
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i)
    {
        const RECT rc = ItemRect(i);
        if (!IsSeparator(i) && PtInRect(&rc, pt))
            return i;
    }
    return -1;
}

void ToolbarControl::SetState(int nIndex, BYTE nState)
{
    TBBUTTON& button = m_buttons[nIndex];
    if (button.fsState == nState)
        return;
    const bool bLayout = ((button.fsState ^ nState) & (TBSTATE_HIDDEN | TBSTATE_WRAP)) != 0;
    button.fsState = nState;
    if (!(nState & TBSTATE_ENABLED) && m_nHot == nIndex)
        SetHot(-1, 0);
    RECT rc = ItemRect(nIndex);
    InvalidateRect(m_hWnd, bLayout ? nullptr : &rc, TRUE);
}

LRESULT ToolbarControl::SetStateBit(int idCommand, BYTE nBit, bool bOn)
{
    const int nIndex = IndexOf(idCommand);
    if (nIndex < 0)
        return FALSE;
    const BYTE nState = m_buttons[nIndex].fsState;
    SetState(nIndex, static_cast<BYTE>(bOn ? (nState | nBit) : (nState & ~nBit)));
    return TRUE;
}

LRESULT ToolbarControl::Notify(NMHDR& hdr, UINT nCode, UINT_PTR idFrom) const
{
    hdr.hwndFrom = m_hWnd;
    hdr.idFrom = idFrom;
    hdr.code = nCode;
    return SendMessageA(GetParent(m_hWnd), WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID(m_hWnd)),
                        reinterpret_cast<LPARAM>(&hdr));
}

void ToolbarControl::SetHot(int nIndex, DWORD dwFlags)
{
    if (nIndex == m_nHot)
        return;
    NMTBHOTITEM hot{};
    hot.idOld = m_nHot >= 0 ? m_buttons[m_nHot].idCommand : 0;
    hot.idNew = nIndex >= 0 ? m_buttons[nIndex].idCommand : 0;
    hot.dwFlags = dwFlags;
    const int nOld = m_nHot;
    m_nHot = nIndex;
    for (const int i : {nOld, nIndex})
    {
        if (i < 0)
            continue;
        RECT rc = ItemRect(i);
        InvalidateRect(m_hWnd, &rc, TRUE);
    }
    if (nIndex >= 0)
    {
        // Nothing tells a window that the pointer left it: look now and then.
        SetTimer(m_hWnd, kLeaveTimer, kLeavePoll, nullptr);
    }
    else
    {
        KillTimer(m_hWnd, kLeaveTimer);
    }
    Notify(hot.hdr, TBN_HOTITEMCHANGE, 0);
}

void ToolbarControl::OnMouseMove(POINT pt)
{
    const int nHit = HitTest(pt);
    if (m_nPressed >= 0)
    {
        const bool bInside = nHit == m_nPressed;
        if (bInside != m_bPressedInside)
        {
            m_bPressedInside = bInside;
            RECT rc = ItemRect(m_nPressed);
            InvalidateRect(m_hWnd, &rc, TRUE);
        }
        return;
    }
    SetHot(nHit >= 0 && IsEnabled(nHit) ? nHit : -1, HICF_MOUSE);
}

void ToolbarControl::OnButtonDown(POINT pt)
{
    const int nHit = HitTest(pt);
    if (nHit < 0 || !IsEnabled(nHit))
        return;
    m_nPressed = nHit;
    m_bPressedInside = true;
    SetCapture(m_hWnd);
    RECT rc = ItemRect(nHit);
    InvalidateRect(m_hWnd, &rc, TRUE);
}

void ToolbarControl::OnButtonUp()
{
    const int nPressed = m_nPressed;
    const bool bInside = m_bPressedInside;
    m_nPressed = -1;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    if (nPressed < 0)
        return;
    RECT rc = ItemRect(nPressed);
    InvalidateRect(m_hWnd, &rc, TRUE);
    if (bInside)
        Click(nPressed);
}

void ToolbarControl::Click(int nIndex)
{
    const TBBUTTON button = m_buttons[nIndex];
    if (button.fsStyle & TBSTYLE_CHECK)
    {
        const bool bGroup = (button.fsStyle & TBSTYLE_GROUP) != 0;
        if (!bGroup)
        {
            SetState(nIndex, button.fsState ^ TBSTATE_CHECKED);
        }
        else if (!(button.fsState & TBSTATE_CHECKED))
        {
            // The group runs over the neighbouring check-group buttons.
            auto inGroup = [this](int i)
            { return (m_buttons[i].fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP; };
            for (int i = nIndex - 1; i >= 0 && inGroup(i); --i)
                SetState(i, m_buttons[i].fsState & ~TBSTATE_CHECKED);
            for (int i = nIndex + 1; i < static_cast<int>(m_buttons.size()) && inGroup(i); ++i)
                SetState(i, m_buttons[i].fsState & ~TBSTATE_CHECKED);
            SetState(nIndex, button.fsState | TBSTATE_CHECKED);
        }
    }
    SendMessageA(GetParent(m_hWnd), WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(button.idCommand), BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_hWnd));
}

void ToolbarControl::OnTimer(UINT_PTR nTimer)
{
    if (nTimer != kLeaveTimer || m_nPressed >= 0)
        return;
    POINT pt{};
    GetCursorPos(&pt);
    if (WindowFromPoint(pt) != m_hWnd)
        SetHot(-1, HICF_LEAVING);
}

void ToolbarControl::SyncTipTools()
{
    std::vector<ControlTipTool> tools;
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i)
        if (!IsSeparator(i) && !(m_buttons[i].fsState & TBSTATE_HIDDEN))
            tools.push_back({static_cast<UINT_PTR>(m_buttons[i].idCommand), ItemRect(i)});
    SyncControlTipTools(m_hTip, m_hWnd, tools);
}

void ToolbarControl::RelayToTip(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_hTip != nullptr && nMsg == WM_MOUSEMOVE)
        SyncTipTools();
    RelayToControlTip(m_hTip, m_hWnd, nMsg, wParam, lParam);
}

void ToolbarControl::AutoSize()
{
    const DWORD dwStyle = Style();
    const HWND hParent = GetParent(m_hWnd);
    if ((dwStyle & CCS_NORESIZE) || hParent == nullptr)
        return;
    RECT rcParent{};
    GetClientRect(hParent, &rcParent);
    const int cy = m_sizeButton.cy + ((dwStyle & CCS_NODIVIDER) ? 0 : 2);
    const bool bBottom = (dwStyle & CCS_BOTTOM) == CCS_BOTTOM;
    const int y = bBottom ? rcParent.bottom - cy : 0;
    SetWindowPos(m_hWnd, nullptr, 0, y, rcParent.right, cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | ((dwStyle & CCS_NOPARENTALIGN) ? SWP_NOMOVE : 0));
}

LRESULT ToolbarControl::ButtonInfo(int nId, TBBUTTONINFOA* pInfo, bool bSet)
{
    if (pInfo == nullptr)
        return -1;
    const int nIndex = (pInfo->dwMask & TBIF_BYINDEX) ? nId : IndexOf(nId);
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return -1;
    TBBUTTON& button = m_buttons[nIndex];
    if (!bSet)
    {
        pInfo->idCommand = button.idCommand;
        pInfo->iImage = button.iBitmap;
        pInfo->fsState = button.fsState;
        pInfo->fsStyle = button.fsStyle;
        pInfo->lParam = button.dwData;
        return nIndex;
    }
    if (pInfo->dwMask & TBIF_COMMAND)
        button.idCommand = pInfo->idCommand;
    if (pInfo->dwMask & TBIF_IMAGE)
        button.iBitmap = pInfo->iImage;
    if (pInfo->dwMask & TBIF_STYLE)
        button.fsStyle = pInfo->fsStyle;
    if (pInfo->dwMask & TBIF_LPARAM)
        button.dwData = pInfo->lParam;
    if (pInfo->dwMask & TBIF_STATE)
        button.fsState = pInfo->fsState;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT ToolbarControl::AddBitmap(int nImages, const TBADDBITMAP* pAdd)
{
    if (pAdd == nullptr || nImages <= 0)
        return -1;
    const HBITMAP hBitmap = pAdd->hInst == nullptr
                                ? reinterpret_cast<HBITMAP>(pAdd->nID)
                                : LoadBitmapA(pAdd->hInst, MAKEINTRESOURCE(pAdd->nID));
    if (hBitmap == nullptr)
        return -1;
    if (m_hImages == nullptr)
    {
        m_hOwnImages =
            ImageList_Create(m_sizeBitmap.cx, m_sizeBitmap.cy, ILC_COLOR24 | ILC_MASK, nImages, 4);
        m_hImages = m_hOwnImages;
    }
    const int nFirst = ImageList_GetImageCount(m_hImages);
    const int nAdded = ImageList_AddMasked(m_hImages, hBitmap, RGB(192, 192, 192));
    if (pAdd->hInst != nullptr)
        DeleteObject(hBitmap);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return nAdded < 0 ? -1 : nFirst;
}

UINT ToolbarControl::DrawStage(HDC hdc, DWORD dwStage, const RECT& rc, int nIndex,
                               COLORREF* pcrHotTrack)
{
    NMTBCUSTOMDRAW draw{};
    draw.nmcd.dwDrawStage = dwStage;
    draw.nmcd.hdc = hdc;
    draw.nmcd.rc = rc;
    if (nIndex >= 0)
    {
        const TBBUTTON& button = m_buttons[nIndex];
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(button.idCommand);
        draw.nmcd.lItemlParam = static_cast<LPARAM>(button.dwData);
        draw.nmcd.uItemState = (IsEnabled(nIndex) ? 0 : CDIS_DISABLED) |
                               ((button.fsState & TBSTATE_CHECKED) ? CDIS_CHECKED : 0) |
                               (nIndex == m_nPressed && m_bPressedInside ? CDIS_SELECTED : 0) |
                               (nIndex == m_nHot ? CDIS_HOT : 0) |
                               ((button.fsState & TBSTATE_INDETERMINATE) ? CDIS_INDETERMINATE : 0);
    }
    draw.clrBtnFace = GetSysColor(COLOR_BTNFACE);
    draw.clrText = GetSysColor(COLOR_BTNTEXT);
    draw.clrHighlightHotTrack = GetSysColor(COLOR_HIGHLIGHT);
    const auto nAnswer =
        static_cast<UINT>(Notify(draw.nmcd.hdr, NM_CUSTOMDRAW, GetDlgCtrlID(m_hWnd)));
    if (pcrHotTrack != nullptr)
        *pcrHotTrack = draw.clrHighlightHotTrack;
    return nAnswer;
}

void ToolbarControl::DrawSeparator(HDC hdc, const RECT& rc) const
{
    if (!IsFlat())
        return;
    // An etched line down the middle, or across a band that ends a row.
    if (rc.right - rc.left > rc.bottom - rc.top)
    {
        const int y = (rc.top + rc.bottom) / 2 - 1;
        RECT rcLine{rc.left + 1, y, rc.right - 1, y + 2};
        DrawEdge(hdc, &rcLine, EDGE_ETCHED, BF_TOP);
        return;
    }
    const int x = (rc.left + rc.right) / 2 - 1;
    RECT rcLine{x, rc.top + 1, x + 2, rc.bottom - 1};
    DrawEdge(hdc, &rcLine, EDGE_ETCHED, BF_LEFT);
}

void ToolbarControl::DrawButton(HDC hdc, int nIndex, UINT nAnswer, COLORREF crHotTrack)
{
    const TBBUTTON& button = m_buttons[nIndex];
    RECT rc = ItemRect(nIndex);
    const bool bEnabled = IsEnabled(nIndex);
    const bool bChecked = (button.fsState & TBSTATE_CHECKED) != 0;
    const bool bDown = (nIndex == m_nPressed && m_bPressedInside) ||
                       (button.fsState & TBSTATE_PRESSED) || bChecked;
    if ((nAnswer & TBCDRF_HILITEHOTTRACK) && nIndex == m_nHot && bEnabled)
    {
        HBRUSH hBrush = CreateSolidBrush(crHotTrack);
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
    }
    else if (bChecked && !(nIndex == m_nPressed && m_bPressedInside) &&
             !(nAnswer & TBCDRF_NOBACKGROUND))
    {
        // A checked button shows a lighter face than its neighbours.
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
        HBRUSH hBrush = CreateSolidBrush(RGB((GetRValue(face) + GetRValue(light)) / 2,
                                             (GetGValue(face) + GetGValue(light)) / 2,
                                             (GetBValue(face) + GetBValue(light)) / 2));
        RECT rcFace = rc;
        InflateRect(&rcFace, -1, -1);
        FillRect(hdc, &rcFace, hBrush);
        DeleteObject(hBrush);
    }
    const bool bEdges = !(nAnswer & TBCDRF_NOEDGES);
    if (bEdges && bDown)
        DrawEdge(hdc, &rc, IsFlat() ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    else if (bEdges && !IsFlat())
        DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT);
    else if (bEdges && nIndex == m_nHot && bEnabled)
        DrawEdge(hdc, &rc, BDR_RAISEDINNER, BF_RECT);
    if (m_hImages == nullptr)
        return;
    const int nOffset = bDown && !(nAnswer & TBCDRF_NOOFFSET) ? 1 : 0;
    const int x = rc.left + (rc.right - rc.left - m_sizeBitmap.cx) / 2 + nOffset;
    const int y = rc.top + (rc.bottom - rc.top - m_sizeBitmap.cy) / 2 + nOffset;
    if (bEnabled)
    {
        ImageList_Draw(m_hImages, button.iBitmap, hdc, x, y, ILD_TRANSPARENT);
        return;
    }
    DrawDisabledImage(hdc, button.iBitmap, x, y);
}

void ToolbarControl::DrawDisabledImage(HDC hdc, int nImage, int x, int y) const
{
    PixelCanvas shape(m_sizeBitmap.cx, m_sizeBitmap.cy);
    if (!shape.IsValid())
        return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    shape.Fill(face);
    if (!ImageList_Draw(m_hImages, nImage, shape.GetDC(), 0, 0, ILD_TRANSPARENT))
        return;
    const std::uint32_t nFace = (static_cast<std::uint32_t>(GetRValue(face)) << 16) |
                                (static_cast<std::uint32_t>(GetGValue(face)) << 8) |
                                GetBValue(face);
    for (int i = 0; i < m_sizeBitmap.cx * m_sizeBitmap.cy; ++i)
    {
        const std::uint32_t nPixel = shape.Pixels()[i] & 0x00FFFFFF;
        shape.Pixels()[i] = nPixel == nFace || nPixel == 0x00FFFFFF ? 0x00FFFFFF : 0;
    }
    PaintShape(hdc, shape, x + 1, y + 1, m_sizeBitmap, GetSysColorBrush(COLOR_3DHILIGHT));
    PaintShape(hdc, shape, x, y, m_sizeBitmap, GetSysColorBrush(COLOR_3DSHADOW));
}

void ToolbarControl::Paint(HDC hdc)
{
    RECT rcClient{};
    GetClientRect(m_hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    const UINT nAnswer = DrawStage(hdc, CDDS_PREPAINT, rcClient, -1);
    if (nAnswer & CDRF_SKIPDEFAULT)
        return;
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i)
    {
        if (m_buttons[i].fsState & TBSTATE_HIDDEN)
            continue;
        const RECT rc = ItemRect(i);
        if (IsSeparator(i))
        {
            DrawSeparator(hdc, rc);
            continue;
        }
        UINT nItem = CDRF_DODEFAULT;
        COLORREF crHotTrack = GetSysColor(COLOR_HIGHLIGHT);
        if (nAnswer & CDRF_NOTIFYITEMDRAW)
            nItem = DrawStage(hdc, CDDS_ITEMPREPAINT, rc, i, &crHotTrack);
        if (!(nItem & CDRF_SKIPDEFAULT))
            DrawButton(hdc, i, nItem, crHotTrack);
        if (nItem & CDRF_NOTIFYPOSTPAINT)
            DrawStage(hdc, CDDS_ITEMPOSTPAINT, rc, i);
    }
    if (nAnswer & CDRF_NOTIFYPOSTPAINT)
        DrawStage(hdc, CDDS_POSTPAINT, rcClient, -1);
}

LRESULT ToolbarControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const int nId = static_cast<int>(wParam);
    const bool bOn = LOWORD(lParam) != 0;
    if ((nMsg >= WM_MOUSEFIRST && nMsg <= WM_MBUTTONDBLCLK))
        RelayToTip(nMsg, wParam, lParam);
    switch (nMsg)
    {
    case WM_CREATE:
        if (Style() & TBSTYLE_TOOLTIPS)
            m_hTip = CreateControlTip(m_hWnd);
        return 0;
    case WM_NOTIFY:
    {
        auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
        if (pHeader != nullptr && pHeader->hwndFrom == m_hTip && m_hTip != nullptr &&
            pHeader->code == TTN_GETDISPINFOA)
            return ForwardTipTextRequest(m_hWnd, *reinterpret_cast<NMTTDISPINFOA*>(lParam));
        return 0;
    }
    case TB_GETTOOLTIPS:
        return reinterpret_cast<LRESULT>(m_hTip);
    case TB_BUTTONSTRUCTSIZE:
        return 0;
    case TB_ADDBUTTONSA:
    case TB_INSERTBUTTONA:
    {
        const auto* pButtons = reinterpret_cast<LPCTBBUTTON>(lParam);
        if (pButtons == nullptr)
            return FALSE;
        const size_t nAt = nMsg == TB_ADDBUTTONSA
                               ? m_buttons.size()
                               : std::min<size_t>(static_cast<size_t>(wParam), m_buttons.size());
        const size_t nCount = nMsg == TB_ADDBUTTONSA ? static_cast<size_t>(wParam) : 1;
        m_buttons.insert(m_buttons.begin() + static_cast<std::ptrdiff_t>(nAt), pButtons,
                         pButtons + nCount);
        m_nHot = -1;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    }
    case TB_DELETEBUTTON:
        if (wParam >= m_buttons.size())
            return FALSE;
        m_buttons.erase(m_buttons.begin() + static_cast<std::ptrdiff_t>(wParam));
        m_nHot = -1;
        m_nPressed = -1;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    case TB_BUTTONCOUNT:
        return static_cast<LRESULT>(m_buttons.size());
    case TB_GETBUTTON:
        if (wParam >= m_buttons.size() || lParam == 0)
            return FALSE;
        *reinterpret_cast<TBBUTTON*>(lParam) = m_buttons[wParam];
        return TRUE;
    case TB_GETITEMRECT:
        if (wParam >= m_buttons.size() || lParam == 0)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(static_cast<int>(wParam));
        return TRUE;
    case TB_COMMANDTOINDEX:
        return IndexOf(nId);
    case TB_HITTEST:
        return lParam != 0 ? HitTest(*reinterpret_cast<const POINT*>(lParam)) : -1;
    case TB_GETHOTITEM:
        return m_nHot;
    case TB_GETSTATE:
        return IndexOf(nId) >= 0 ? m_buttons[IndexOf(nId)].fsState : -1;
    case TB_SETSTATE:
        if (IndexOf(nId) < 0)
            return FALSE;
        SetState(IndexOf(nId), static_cast<BYTE>(LOWORD(lParam)));
        return TRUE;
    case TB_ENABLEBUTTON:
        return SetStateBit(nId, TBSTATE_ENABLED, bOn);
    case TB_CHECKBUTTON:
        return SetStateBit(nId, TBSTATE_CHECKED, bOn);
    case TB_PRESSBUTTON:
        return SetStateBit(nId, TBSTATE_PRESSED, bOn);
    case TB_HIDEBUTTON:
        return SetStateBit(nId, TBSTATE_HIDDEN, bOn);
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_ISBUTTONPRESSED:
    {
        const int nIndex = IndexOf(nId);
        const BYTE nBit = nMsg == TB_ISBUTTONENABLED   ? TBSTATE_ENABLED
                          : nMsg == TB_ISBUTTONCHECKED ? TBSTATE_CHECKED
                                                       : TBSTATE_PRESSED;
        return nIndex >= 0 && (m_buttons[nIndex].fsState & nBit) ? TRUE : FALSE;
    }
    case TB_SETBUTTONSIZE:
        m_sizeButton = SIZE{std::max<int>(1, LOWORD(lParam)), std::max<int>(1, HIWORD(lParam))};
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    case TB_GETBUTTONSIZE:
        return MAKELONG(m_sizeButton.cx, m_sizeButton.cy);
    case TB_SETBITMAPSIZE:
        m_sizeBitmap = SIZE{LOWORD(lParam), HIWORD(lParam)};
        // Buttons keep room for the image and its pressed offset.
        m_sizeButton.cx = std::max<LONG>(m_sizeButton.cx, m_sizeBitmap.cx + 7);
        m_sizeButton.cy = std::max<LONG>(m_sizeButton.cy, m_sizeBitmap.cy + 7);
        return TRUE;
    case TB_SETIMAGELIST:
    {
        const HIMAGELIST hOld = m_hImages;
        m_hImages = reinterpret_cast<HIMAGELIST>(lParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(hOld);
    }
    case TB_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(m_hImages);
    case TB_ADDBITMAP:
        return AddBitmap(static_cast<int>(wParam), reinterpret_cast<const TBADDBITMAP*>(lParam));
    case TB_SETBUTTONINFOA:
    case TB_GETBUTTONINFOA:
        return ButtonInfo(nId, reinterpret_cast<TBBUTTONINFOA*>(lParam), nMsg == TB_SETBUTTONINFOA);
    case TB_AUTOSIZE:
        AutoSize();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        if (m_nPressed >= 0 && reinterpret_cast<HWND>(lParam) != m_hWnd)
        {
            RECT rc = ItemRect(m_nPressed);
            m_nPressed = -1;
            InvalidateRect(m_hWnd, &rc, TRUE);
        }
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_DESTROY:
        if (m_hTip != nullptr && IsWindow(m_hTip))
            DestroyWindow(m_hTip);
        m_hTip = nullptr;
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT ToolbarWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<ToolbarControl>(hWnd, nMsg, wParam, lParam);
}

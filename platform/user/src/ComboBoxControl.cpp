// The "ComboBox" control: simple (an edit field over a list), drop-down (an
// edit field and a list dropping below) and drop-down list (a selection
// field and a dropping list). Its items live in its list, a "ComboLBox".
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "FrameDrawing.h"

#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinInput.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr int kFieldPadding = 6;
constexpr int kBorder = 2;

class ComboBoxControl
{
public:
    explicit ComboBoxControl(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);
    void OnListSelection(int nIndex, bool bEnd);
    void OnListDismissed() { CloseUp(false); }

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    DWORD Kind() const { return Style() & 0x3; }
    bool HasEdit() const { return Kind() != CBS_DROPDOWNLIST; }
    bool Drops() const { return Kind() != CBS_SIMPLE; }
    LRESULT ToList(UINT nMsg, WPARAM wParam, LPARAM lParam) const
    {
        return SendMessageA(m_hList, nMsg, wParam, lParam);
    }
    int Selection() const { return static_cast<int>(ToList(LB_GETCURSEL, 0, 0)); }
    std::string ItemText(int nIndex) const;

    bool OnCreate(const CREATESTRUCTA& cs);
    RECT ButtonRect() const;
    RECT FieldRect() const;
    void Layout();
    void SetSelection(int nIndex, bool bNotify);
    void ShowSelectionInEdit();
    void DropDown();
    void CloseUp(bool bAccept);
    void OnKeyDown(WPARAM nKey);
    void OnChar(WPARAM ch);
    void OnEditNotify(WORD nCode);
    void OnFocusChange(bool bGained, HWND hOther);
    void Notify(WORD nCode) { NotifyParent(m_hWnd, nCode); }

    HWND m_hWnd;
    HWND m_hEdit = nullptr;
    HWND m_hList = nullptr;
    HFONT m_hFont = nullptr;
    int m_nFieldHeight = 0;
    int m_nDroppedHeight = 0;
    int m_nDroppedWidth = 0;
    int m_nHorizontalExtent = 0;
    int m_nSelectionAtDrop = -1;
    bool m_bDropped = false;
    bool m_bFocus = false;
    bool m_bShowingSelection = false; // the field's text changes, not the user
};

std::string ComboBoxControl::ItemText(int nIndex) const
{
    const LRESULT nLength = ToList(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength < 0)
        return {};
    std::string text(static_cast<std::size_t>(nLength) + sizeof(ULONG_PTR) + 1, '\0');
    ToList(LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(nLength));
    return text;
}

bool ComboBoxControl::OnCreate(const CREATESTRUCTA& cs)
{
    m_nFieldHeight = GetFontLineHeight(m_hFont) + kFieldPadding;
    m_nDroppedHeight = cs.cy;
    const DWORD dwStyle = static_cast<DWORD>(cs.style);
    DWORD dwListStyle = WS_BORDER | WS_VSCROLL | LBS_NOTIFY;
    if (dwStyle & CBS_SORT)
        dwListStyle |= LBS_SORT;
    if (dwStyle & CBS_OWNERDRAWFIXED)
        dwListStyle |= LBS_OWNERDRAWFIXED;
    if (dwStyle & CBS_HASSTRINGS)
        dwListStyle |= LBS_HASSTRINGS;
    if (dwStyle & CBS_DISABLENOSCROLL)
        dwListStyle |= LBS_DISABLENOSCROLL;
    // A dropping list is a window of its own above everything, owned by
    // the combo box's top-level window.
    const bool bDrops = (dwStyle & 0x3) != CBS_SIMPLE;
    dwListStyle |= bDrops ? WS_POPUP : (WS_CHILD | WS_VISIBLE);
    m_hList =
        CreateWindowExA(bDrops ? WS_EX_TOOLWINDOW | WS_EX_TOPMOST : 0, "ComboLBox", "", dwListStyle,
                        0, 0, std::max(cs.cx, 1), 1, m_hWnd, nullptr, cs.hInstance, m_hWnd);
    if (m_hList == nullptr)
        return false;
    if ((dwStyle & 0x3) != CBS_DROPDOWNLIST)
    {
        DWORD dwEditStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
        if (dwStyle & CBS_AUTOHSCROLL)
            dwEditStyle |= ES_AUTOHSCROLL;
        if (dwStyle & CBS_UPPERCASE)
            dwEditStyle |= ES_UPPERCASE;
        if (dwStyle & CBS_LOWERCASE)
            dwEditStyle |= ES_LOWERCASE;
        m_hEdit = CreateWindowExA(0, "Edit", "", dwEditStyle, 0, 0, 1, 1, m_hWnd,
                                  reinterpret_cast<HMENU>(IDC_COMBO_EDIT), cs.hInstance, nullptr);
        if (m_hEdit == nullptr)
            return false;
    }
    return true;
}

RECT ComboBoxControl::ButtonRect() const
{
    if (!Drops())
        return RECT{0, 0, 0, 0};
    RECT field = FieldRect();
    return RECT{field.right - kBorder - GetSystemMetrics(SM_CXVSCROLL), field.top + kBorder,
                field.right - kBorder, field.bottom - kBorder};
}

RECT ComboBoxControl::FieldRect() const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    return RECT{0, 0, client.right, std::min<LONG>(client.bottom, m_nFieldHeight)};
}

void ComboBoxControl::Layout()
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // A dropping combo box is as tall as its field; its list drops below.
    if (Drops() && client.bottom != m_nFieldHeight)
    {
        RECT rcWindow{};
        GetWindowRect(m_hWnd, &rcWindow);
        const int nFrame = (rcWindow.bottom - rcWindow.top) - client.bottom;
        SetWindowPos(m_hWnd, nullptr, 0, 0, rcWindow.right - rcWindow.left, m_nFieldHeight + nFrame,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const RECT field = FieldRect();
    const RECT button = ButtonRect();
    if (m_hEdit != nullptr)
    {
        const int nRight = Drops() ? button.left : field.right - kBorder;
        MoveWindow(m_hEdit, kBorder + 1, kBorder, std::max(0, nRight - kBorder - 1),
                   field.bottom - 2 * kBorder, TRUE);
    }
    if (!Drops())
        MoveWindow(m_hList, 0, field.bottom, client.right,
                   std::max<int>(0, client.bottom - field.bottom), TRUE);
}

void ComboBoxControl::ShowSelectionInEdit()
{
    const int nIndex = Selection();
    if (m_hEdit != nullptr)
    {
        const std::string text = nIndex >= 0 ? ItemText(nIndex) : std::string();
        m_bShowingSelection = true;
        SetWindowTextA(m_hEdit, text.c_str());
        m_bShowingSelection = false;
        SendMessageA(m_hEdit, EM_SETSEL, 0, -1);
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void ComboBoxControl::SetSelection(int nIndex, bool bNotify)
{
    if (nIndex == Selection())
        return;
    ToList(LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    ShowSelectionInEdit();
    if (bNotify)
        Notify(CBN_SELCHANGE);
}

void ComboBoxControl::DropDown()
{
    if (!Drops() || m_bDropped)
        return;
    Notify(CBN_DROPDOWN);
    RECT rcWindow{};
    GetWindowRect(m_hWnd, &rcWindow);
    const int nCount = static_cast<int>(ToList(LB_GETCOUNT, 0, 0));
    const int nItem = static_cast<int>(ToList(LB_GETITEMHEIGHT, 0, 0));
    const int nRoom = std::max(m_nDroppedHeight - m_nFieldHeight, nItem + 2);
    const int nHeight = std::min(nRoom, std::max(nCount, 1) * nItem + 2);
    const int nWidth = std::max<int>(rcWindow.right - rcWindow.left, m_nDroppedWidth);
    int y = rcWindow.bottom;
    if (y + nHeight > GetSystemMetrics(SM_CYSCREEN))
        y = rcWindow.top - nHeight;
    m_nSelectionAtDrop = Selection();
    m_bDropped = true;
    SetWindowPos(m_hList, HWND_TOPMOST, rcWindow.left, y, nWidth, nHeight,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ToList(LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, m_nSelectionAtDrop)), 0);
    SetCapture(m_hList);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void ComboBoxControl::CloseUp(bool bAccept)
{
    if (!m_bDropped)
        return;
    m_bDropped = false;
    if (!bAccept && Selection() != m_nSelectionAtDrop)
    {
        ToList(LB_SETCURSEL, static_cast<WPARAM>(m_nSelectionAtDrop), 0);
        ShowSelectionInEdit();
    }
    if (GetCapture() == m_hList)
        ReleaseCapture();
    ShowWindow(m_hList, SW_HIDE);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    Notify(bAccept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    Notify(CBN_CLOSEUP);
}

void ComboBoxControl::OnListSelection(int nIndex, bool bEnd)
{
    if (nIndex >= 0)
    {
        ShowSelectionInEdit();
        if (!m_bDropped || bEnd)
        {
            if (nIndex != m_nSelectionAtDrop || !m_bDropped)
                Notify(CBN_SELCHANGE);
            m_nSelectionAtDrop = nIndex;
        }
    }
    if (bEnd)
        CloseUp(true);
}

void ComboBoxControl::OnKeyDown(WPARAM nKey)
{
    const bool bAlt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    if (nKey == VK_F4 || (bAlt && (nKey == VK_DOWN || nKey == VK_UP)))
    {
        if (m_bDropped)
            CloseUp(true);
        else
            DropDown();
        return;
    }
    if (m_bDropped && (nKey == VK_RETURN || nKey == VK_ESCAPE))
    {
        CloseUp(nKey == VK_RETURN);
        return;
    }
    const int nCount = static_cast<int>(ToList(LB_GETCOUNT, 0, 0));
    int nTarget = Selection();
    switch (nKey)
    {
    case VK_UP:
        nTarget = std::max(0, nTarget - 1);
        break;
    case VK_DOWN:
        nTarget = std::min(nCount - 1, nTarget + 1);
        break;
    case VK_HOME:
        if (HasEdit())
            return;
        nTarget = 0;
        break;
    case VK_END:
        if (HasEdit())
            return;
        nTarget = nCount - 1;
        break;
    default:
        return;
    }
    if (nCount > 0)
        SetSelection(nTarget, true);
}

void ComboBoxControl::OnChar(WPARAM ch)
{
    if (HasEdit() || ch < ' ')
        return;
    const char text[2] = {static_cast<char>(ch), '\0'};
    const int nFound = static_cast<int>(
        ToList(LB_FINDSTRING, static_cast<WPARAM>(Selection()), reinterpret_cast<LPARAM>(text)));
    if (nFound >= 0)
        SetSelection(nFound, true);
}

void ComboBoxControl::OnEditNotify(WORD nCode)
{
    switch (nCode)
    {
    case EN_CHANGE:
        if (!m_bShowingSelection)
            Notify(CBN_EDITCHANGE);
        return;
    case EN_UPDATE:
        if (!m_bShowingSelection)
            Notify(CBN_EDITUPDATE);
        return;
    case EN_SETFOCUS:
        OnFocusChange(true, nullptr);
        return;
    case EN_KILLFOCUS:
        OnFocusChange(false, GetFocus());
        return;
    default:
        return;
    }
}

void ComboBoxControl::OnFocusChange(bool bGained, HWND hOther)
{
    // Focus moving between the combo box and its field changes nothing.
    if (!bGained && (hOther == m_hWnd || (hOther != nullptr && hOther == m_hEdit)))
        return;
    if (bGained == m_bFocus)
        return;
    m_bFocus = bGained;
    if (!bGained)
        CloseUp(false);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    Notify(bGained ? CBN_SETFOCUS : CBN_KILLFOCUS);
}

void ComboBoxControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    FillRect(hdc, &client, GetControlBrush(m_hWnd, hdc, WM_CTLCOLORSTATIC));
    RECT field = FieldRect();
    const HBRUSH hFieldBrush = GetControlBrush(
        m_hWnd, hdc, HasEdit() || !IsWindowEnabled(m_hWnd) ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX);
    DrawEdge(hdc, &field, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(hdc, &field, hFieldBrush);
    if (Drops())
    {
        RECT button = ButtonRect();
        FillSolid(hdc, button, GetSysColor(COLOR_3DFACE));
        if (m_bDropped)
            FrameRect(hdc, &button, GetSysColorBrush(COLOR_3DSHADOW));
        else
            DrawEdge(hdc, &button, EDGE_RAISED, BF_RECT);
        GdiDrawFrameGlyph(hdc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX,
                          GetSysColor(IsWindowEnabled(m_hWnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        field.right = button.left;
    }
    if (HasEdit())
        return;
    // The selection field of a drop-down list.
    RECT rcItem = field;
    InflateRect(&rcItem, -1, -1);
    const int nIndex = Selection();
    const bool bHighlight = m_bFocus && !m_bDropped;
    if (Style() & CBS_OWNERDRAWFIXED)
    {
        UINT nState = 0x1000; // the selection field, not an item of the list
        if (bHighlight)
            nState |= ODS_SELECTED | ODS_FOCUS;
        if (!IsWindowEnabled(m_hWnd))
            nState |= ODS_DISABLED;
        DRAWITEMSTRUCT dis{ODT_COMBOBOX,
                           static_cast<UINT>(GetDlgCtrlID(m_hWnd)),
                           static_cast<UINT>(nIndex),
                           ODA_DRAWENTIRE,
                           nState,
                           m_hWnd,
                           hdc,
                           rcItem,
                           nIndex >= 0 ? static_cast<ULONG_PTR>(
                                             ToList(LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0))
                                       : 0};
        if (const HWND hParent = GetParent(m_hWnd))
            SendMessageA(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    if (bHighlight)
        FillRect(hdc, &rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(!IsWindowEnabled(m_hWnd) ? COLOR_GRAYTEXT
                                  : bHighlight             ? COLOR_HIGHLIGHTTEXT
                                                           : COLOR_WINDOWTEXT));
    const std::string text = nIndex >= 0 ? ItemText(nIndex) : std::string();
    RECT rcText = rcItem;
    rcText.left += 2;
    DrawTextA(hdc, text.c_str(), -1, &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(hdc, hOldFont);
    if (bHighlight)
        DrawFocusRect(hdc, &rcItem);
}

LRESULT ComboBoxControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_NCCREATE:
        // The scroll bars asked for are the list's: the combo box itself
        // shows none.
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, Style() & ~DWORD(WS_VSCROLL | WS_HSCROLL));
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    case WM_CREATE:
        if (lParam == 0 || !OnCreate(*reinterpret_cast<const CREATESTRUCTA*>(lParam)))
            return -1;
        Layout();
        return 0;
    case WM_DESTROY:
        if (IsWindow(m_hList))
            DestroyWindow(m_hList);
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_bDropped ? DLGC_WANTMESSAGE : 0);
    case WM_SETFOCUS:
        if (m_hEdit != nullptr)
        {
            SetFocus(m_hEdit);
            return 0;
        }
        OnFocusChange(true, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnFocusChange(false, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_ENABLE:
        if (m_hEdit != nullptr)
            EnableWindow(m_hEdit, static_cast<BOOL>(wParam));
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        SetFocus(m_hEdit != nullptr ? m_hEdit : m_hWnd);
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT button = ButtonRect();
        if (Drops() && (!HasEdit() || PtInRect(&button, pt)))
            DropDown();
        return 0;
    }
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_CHAR:
        // A character sent to the combo box is typed into its edit field.
        if (m_hEdit != nullptr)
            return SendMessageA(m_hEdit, WM_CHAR, wParam, lParam);
        OnChar(wParam);
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == m_hEdit && m_hEdit != nullptr)
            OnEditNotify(HIWORD(wParam));
        return 0;
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        m_nFieldHeight = GetFontLineHeight(m_hFont) + kFieldPadding;
        if (m_hEdit != nullptr)
            SendMessageA(m_hEdit, WM_SETFONT, wParam, lParam);
        SendMessageA(m_hList, WM_SETFONT, wParam, lParam);
        Layout();
        if (LOWORD(lParam))
            InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case WM_SETTEXT:
        if (m_hEdit != nullptr)
            return SetWindowTextA(m_hEdit, reinterpret_cast<LPCSTR>(lParam));
        {
            const LRESULT nFound = ToList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
            if (nFound < 0)
                return CB_ERR;
            SetSelection(static_cast<int>(nFound), false);
            return TRUE;
        }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    {
        if (m_hEdit != nullptr)
            return SendMessageA(m_hEdit, nMsg, wParam, lParam);
        const std::string text = Selection() >= 0 ? ItemText(Selection()) : std::string();
        if (nMsg == WM_GETTEXTLENGTH)
            return static_cast<LRESULT>(text.size());
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || wParam == 0)
            return 0;
        const std::size_t nCount = std::min<std::size_t>(text.size(), wParam - 1);
        text.copy(buffer, nCount);
        buffer[nCount] = '\0';
        return static_cast<LRESULT>(nCount);
    }
    case CB_ADDSTRING:
        return ToList(LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING:
        return ToList(LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
    {
        const LRESULT nLeft = ToList(LB_DELETESTRING, wParam, 0);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return nLeft;
    }
    case CB_RESETCONTENT:
        ToList(LB_RESETCONTENT, 0, 0);
        if (m_hEdit != nullptr)
            SetWindowTextA(m_hEdit, "");
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return CB_OKAY;
    case CB_GETCOUNT:
        return ToList(LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL:
        return Selection();
    case CB_SETCURSEL:
    {
        const LRESULT nCount = ToList(LB_GETCOUNT, 0, 0);
        if (static_cast<INT_PTR>(wParam) >= nCount)
            return CB_ERR;
        SetSelection(static_cast<INT_PTR>(wParam) < 0 ? -1 : static_cast<int>(wParam), false);
        return Selection() < 0 ? CB_ERR : Selection();
    }
    case CB_SELECTSTRING:
    {
        const LRESULT nFound = ToList(LB_FINDSTRING, wParam, lParam);
        if (nFound >= 0)
            SetSelection(static_cast<int>(nFound), false);
        return nFound;
    }
    case CB_FINDSTRING:
        return ToList(LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return ToList(LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_GETLBTEXT:
        return ToList(LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return ToList(LB_GETTEXTLEN, wParam, 0);
    case CB_GETITEMDATA:
        return ToList(LB_GETITEMDATA, wParam, 0);
    case CB_SETITEMDATA:
        return ToList(LB_SETITEMDATA, wParam, lParam);
    case CB_SETITEMHEIGHT:
        if (static_cast<INT_PTR>(wParam) == -1)
        {
            m_nFieldHeight = std::max(1, static_cast<int>(LOWORD(lParam))) + kFieldPadding / 2;
            Layout();
            InvalidateRect(m_hWnd, nullptr, TRUE);
            return 0;
        }
        return ToList(LB_SETITEMHEIGHT, wParam, lParam);
    case CB_GETITEMHEIGHT:
        return static_cast<INT_PTR>(wParam) == -1 ? m_nFieldHeight - kFieldPadding / 2
                                                  : ToList(LB_GETITEMHEIGHT, wParam, 0);
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown();
        else
            CloseUp(false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return m_bDropped;
    case CB_GETDROPPEDCONTROLRECT:
        if (auto* rect = reinterpret_cast<RECT*>(lParam))
        {
            GetWindowRect(m_hWnd, rect);
            rect->bottom = rect->top + std::max(m_nDroppedHeight, m_nFieldHeight);
            rect->right = std::max<LONG>(rect->right, rect->left + m_nDroppedWidth);
        }
        return TRUE;
    case CB_SETDROPPEDWIDTH:
        m_nDroppedWidth = static_cast<int>(wParam);
        return m_nDroppedWidth;
    case CB_GETDROPPEDWIDTH:
    {
        RECT rcWindow{};
        GetWindowRect(m_hWnd, &rcWindow);
        return std::max<LONG>(rcWindow.right - rcWindow.left, m_nDroppedWidth);
    }
    case CB_SETHORIZONTALEXTENT:
        m_nHorizontalExtent = static_cast<int>(wParam);
        return 0;
    case CB_GETHORIZONTALEXTENT:
        return m_nHorizontalExtent;
    case CB_LIMITTEXT:
        return m_hEdit != nullptr ? SendMessageA(m_hEdit, EM_LIMITTEXT, wParam, 0) : CB_ERR;
    case CB_GETEDITSEL:
        return m_hEdit != nullptr ? SendMessageA(m_hEdit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
        return m_hEdit != nullptr
                   ? (SendMessageA(m_hEdit, EM_SETSEL,
                                   static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lParam))),
                                   static_cast<SHORT>(HIWORD(lParam))),
                      TRUE)
                   : CB_ERR;
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

void OnComboListSelection(HWND hCombo, int nIndex, bool bEnd)
{
    if (auto* combo = GetControlData<ComboBoxControl>(hCombo))
        combo->OnListSelection(nIndex, bEnd);
}

void OnComboListDismissed(HWND hCombo)
{
    if (auto* combo = GetControlData<ComboBoxControl>(hCombo))
        combo->OnListDismissed();
}

LRESULT ComboBoxWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<ComboBoxControl>(hWnd, nMsg, wParam, lParam);
}

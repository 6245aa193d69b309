// The "Button" control: push buttons (the default one framed), check boxes,
// radio buttons, group boxes and owner-drawn buttons.
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "DialogManager.h"
#include "FrameDrawing.h"

#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinInput.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"

#include <string>

namespace
{
enum class enKind
{
    Push,
    Check,
    Radio,
    Group,
    OwnerDraw,
};

enKind KindOf(DWORD dwStyle)
{
    switch (dwStyle & BS_TYPEMASK)
    {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return enKind::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return enKind::Radio;
    case BS_GROUPBOX:
        return enKind::Group;
    case BS_OWNERDRAW:
        return enKind::OwnerDraw;
    default:
        return enKind::Push;
    }
}

class ButtonControl
{
public:
    explicit ButtonControl(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc) { Paint(hdc, ODA_DRAWENTIRE); }

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    enKind Kind() const { return KindOf(Style()); }

    void SetPushed(bool bPushed);
    void Click();
    void CheckRadioGroup();
    void Redraw(UINT nOwnerDrawAction);
    void Paint(HDC hdc, UINT nAction);
    void PaintPush(HDC hdc, const RECT& client);
    void PaintCheckOrRadio(HDC hdc, const RECT& client);
    void PaintGroup(HDC hdc, const RECT& client);
    void DrawOwner(HDC hdc, UINT nAction);
    void DrawCaption(HDC hdc, RECT rect, UINT nFormat);
    std::string Caption() const;
    LRESULT OnGetDlgCode() const;

    HWND m_hWnd;
    HFONT m_hFont = nullptr;
    int m_nCheck = BST_UNCHECKED;
    bool m_bPushed = false;
    bool m_bFocus = false;
    bool m_bTracking = false;
    bool m_bSpaceDown = false;
    HANDLE m_hImage = nullptr;
};

std::string ButtonControl::Caption() const
{
    const int nLength = GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<std::size_t>(nLength) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(m_hWnd, text.data(), nLength + 1)));
    return text;
}

void ButtonControl::SetPushed(bool bPushed)
{
    if (m_bPushed == bPushed)
        return;
    m_bPushed = bPushed;
    Redraw(ODA_SELECT);
}

void ButtonControl::CheckRadioGroup()
{
    const HWND hParent = GetParent(m_hWnd);
    for (HWND hSibling : GetDialogGroup(hParent, m_hWnd))
    {
        if (hSibling != m_hWnd && IsWindowOfClass(hSibling, "Button") &&
            (GetWindowLongPtrA(hSibling, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
            SendMessageA(hSibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(m_hWnd, BM_SETCHECK, BST_CHECKED, 0);
}

void ButtonControl::Click()
{
    switch (Style() & BS_TYPEMASK)
    {
    case BS_AUTOCHECKBOX:
        SendMessageA(m_hWnd, BM_SETCHECK, m_nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case BS_AUTO3STATE:
        SendMessageA(m_hWnd, BM_SETCHECK, (m_nCheck + 1) % 3, 0);
        break;
    case BS_AUTORADIOBUTTON:
        CheckRadioGroup();
        break;
    default:
        break;
    }
    NotifyParent(m_hWnd, BN_CLICKED);
}

void ButtonControl::Redraw(UINT nOwnerDrawAction)
{
    if (Kind() != enKind::OwnerDraw)
    {
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    }
    // Owner-drawn buttons are told at once what changed.
    HDC hdc = GetDC(m_hWnd);
    DrawOwner(hdc, nOwnerDrawAction);
    ReleaseDC(m_hWnd, hdc);
}

void ButtonControl::DrawCaption(HDC hdc, RECT rect, UINT nFormat)
{
    const std::string text = Caption();
    SetBkMode(hdc, TRANSPARENT);
    if (!IsWindowEnabled(m_hWnd))
    {
        RECT rcLight = rect;
        OffsetRect(&rcLight, 1, 1);
        SetTextColor(hdc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(hdc, text.c_str(), -1, &rcLight, nFormat);
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawTextA(hdc, text.c_str(), -1, &rect, nFormat);
}

void ButtonControl::PaintPush(HDC hdc, const RECT& client)
{
    RECT rect = client;
    const bool bDefault = (Style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    if (bDefault)
    {
        FrameRect(hdc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rect, -1, -1);
    }
    FillRect(hdc, &rect, GetSysColorBrush(COLOR_3DFACE));
    if (m_bPushed || m_nCheck == BST_CHECKED)
        FrameRect(hdc, &rect, GetSysColorBrush(COLOR_3DSHADOW));
    else
    {
        RECT frame = rect;
        DrawEdge(hdc, &frame, EDGE_RAISED, BF_RECT);
    }
    RECT rcText = rect;
    if (m_bPushed)
        OffsetRect(&rcText, 1, 1);
    const DWORD dwStyle = Style();
    if ((dwStyle & (BS_ICON | BS_BITMAP)) && m_hImage != nullptr)
    {
        const UINT nType = (dwStyle & BS_ICON) ? DST_ICON : DST_BITMAP;
        SIZE size{0, 0};
        if (nType == DST_BITMAP)
        {
            BITMAP bm{};
            GetObjectA(m_hImage, sizeof(bm), &bm);
            size = SIZE{bm.bmWidth, bm.bmHeight};
        }
        else
        {
            size = SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
        }
        DrawStateA(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_hImage), 0,
                   (rcText.left + rcText.right - size.cx) / 2,
                   (rcText.top + rcText.bottom - size.cy) / 2, size.cx, size.cy,
                   nType | (IsWindowEnabled(m_hWnd) ? DSS_NORMAL : DSS_DISABLED));
    }
    else
    {
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        const UINT nWrap = (dwStyle & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
        DrawCaption(hdc, rcText, DT_CENTER | nWrap);
    }
    if (m_bFocus)
    {
        RECT rcFocus = rect;
        InflateRect(&rcFocus, -3, -3);
        DrawFocusRect(hdc, &rcFocus);
    }
}

void ButtonControl::PaintCheckOrRadio(HDC hdc, const RECT& client)
{
    const int nBox = GetSystemMetrics(SM_CXMENUCHECK);
    const bool bLeftText = (Style() & BS_LEFTTEXT) != 0;
    const int nTop = (client.top + client.bottom - nBox) / 2;
    const int nLeft = bLeftText ? client.right - nBox : client.left;
    const RECT rcBox{nLeft, nTop, nLeft + nBox, nTop + nBox};
    const COLORREF face =
        GetSysColor(m_bPushed || !IsWindowEnabled(m_hWnd) ? COLOR_3DFACE : COLOR_WINDOW);
    const COLORREF mark =
        GetSysColor(m_nCheck == BST_INDETERMINATE || !IsWindowEnabled(m_hWnd) ? COLOR_GRAYTEXT
                                                                              : COLOR_WINDOWTEXT);
    if (Kind() == enKind::Radio)
    {
        HBRUSH hFace = CreateSolidBrush(face);
        HPEN hEdge = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
        HGDIOBJ hOldBrush = SelectObject(hdc, hFace);
        HGDIOBJ hOldPen = SelectObject(hdc, hEdge);
        Ellipse(hdc, rcBox.left, rcBox.top, rcBox.right, rcBox.bottom);
        SelectObject(hdc, hOldPen);
        SelectObject(hdc, hOldBrush);
        DeleteObject(hEdge);
        DeleteObject(hFace);
        if (m_nCheck == BST_CHECKED)
            GdiDrawFrameGlyph(hdc, &rcBox, DFC_MENU, DFCS_MENUBULLET, mark);
    }
    else
    {
        RECT rcFace = rcBox;
        DrawEdge(hdc, &rcFace, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillSolid(hdc, rcFace, face);
        if (m_nCheck != BST_UNCHECKED)
            GdiDrawFrameGlyph(hdc, &rcFace, DFC_MENU, DFCS_MENUCHECK, mark);
    }
    RECT rcText = client;
    if (bLeftText)
        rcText.right = rcBox.left - 4;
    else
        rcText.left = rcBox.right + 4;
    SetTextColor(hdc, GetTextColor(hdc));
    const UINT nWrap = (Style() & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    DrawCaption(hdc, rcText, nWrap | ((Style() & BS_RIGHT) == BS_RIGHT ? DT_RIGHT : DT_LEFT));
    if (m_bFocus)
    {
        RECT rcFocus{rcText.left, rcText.top, rcText.left, rcText.top};
        const std::string text = Caption();
        DrawTextA(hdc, text.c_str(), -1, &rcFocus, DT_SINGLELINE | DT_CALCRECT);
        const int nHeight = rcFocus.bottom - rcFocus.top;
        rcFocus.top = (rcText.top + rcText.bottom - nHeight) / 2 - 1;
        rcFocus.bottom = rcFocus.top + nHeight + 2;
        InflateRect(&rcFocus, 1, 0);
        DrawFocusRect(hdc, &rcFocus);
    }
}

void ButtonControl::PaintGroup(HDC hdc, const RECT& client)
{
    const std::string text = Caption();
    RECT rcText{client.left + 8, client.top, client.left + 8, client.top};
    DrawTextA(hdc, text.c_str(), -1, &rcText, DT_SINGLELINE | DT_CALCRECT);
    const int nLine = (rcText.top + rcText.bottom) / 2;
    // An etched frame: a shadow line with a highlight line inside.
    RECT rcShadow{client.left, nLine, client.right - 1, client.bottom - 1};
    RECT rcLight{client.left + 1, nLine + 1, client.right, client.bottom};
    FrameRect(hdc, &rcLight, GetSysColorBrush(COLOR_3DHILIGHT));
    FrameRect(hdc, &rcShadow, GetSysColorBrush(COLOR_3DSHADOW));
    if (text.empty())
        return;
    InflateRect(&rcText, 2, 0);
    FillRect(hdc, &rcText, reinterpret_cast<HBRUSH>(GetCurrentObject(hdc, OBJ_BRUSH)));
    InflateRect(&rcText, -2, 0);
    DrawCaption(hdc, rcText, DT_SINGLELINE | DT_LEFT);
}

void ButtonControl::DrawOwner(HDC hdc, UINT nAction)
{
    UINT nState = 0;
    if (m_bPushed)
        nState |= ODS_SELECTED;
    if (m_bFocus)
        nState |= ODS_FOCUS;
    if (!IsWindowEnabled(m_hWnd))
        nState |= ODS_DISABLED;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(m_hWnd)),
                       0,          nAction,
                       nState,     m_hWnd,
                       hdc,        client,
                       0};
    if (const HWND hParent = GetParent(m_hWnd))
        SendMessageA(hParent, WM_DRAWITEM, static_cast<WPARAM>(dis.CtlID),
                     reinterpret_cast<LPARAM>(&dis));
}

void ButtonControl::Paint(HDC hdc, UINT nAction)
{
    if (Kind() == enKind::OwnerDraw)
    {
        DrawOwner(hdc, nAction);
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const UINT nCtlColor = Kind() == enKind::Push ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
    const HBRUSH hBrush = GetControlBrush(m_hWnd, hdc, nCtlColor);
    FillRect(hdc, &client, hBrush);
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    HGDIOBJ hOldBrush = SelectObject(hdc, hBrush);
    switch (Kind())
    {
    case enKind::Push:
        PaintPush(hdc, client);
        break;
    case enKind::Group:
        PaintGroup(hdc, client);
        break;
    default:
        PaintCheckOrRadio(hdc, client);
        break;
    }
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldFont);
}

LRESULT ButtonControl::OnGetDlgCode() const
{
    switch (Kind())
    {
    case enKind::Push:
        return DLGC_BUTTON | ((Style() & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON
                                                                          : DLGC_UNDEFPUSHBUTTON);
    case enKind::Radio:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case enKind::Group:
        return DLGC_STATIC;
    default:
        return DLGC_BUTTON;
    }
}

LRESULT ButtonControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_NCHITTEST:
        if (Kind() == enKind::Group)
            return HTTRANSPARENT;
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    case WM_GETDLGCODE:
        return OnGetDlgCode();
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(m_hWnd);
        SetCapture(m_hWnd);
        m_bTracking = true;
        SetPushed(true);
        return 0;
    case WM_MOUSEMOVE:
        if (m_bTracking)
        {
            RECT client{};
            GetClientRect(m_hWnd, &client);
            const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            SetPushed(PtInRect(&client, pt) != FALSE);
        }
        return 0;
    case WM_LBUTTONUP:
    {
        if (!m_bTracking)
            return 0;
        m_bTracking = false;
        const bool bInside = m_bPushed;
        ReleaseCapture();
        SetPushed(false);
        if (bInside)
            Click();
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (m_bTracking && reinterpret_cast<HWND>(lParam) != m_hWnd)
        {
            m_bTracking = false;
            SetPushed(false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !m_bTracking)
        {
            m_bSpaceDown = true;
            SetPushed(true);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && m_bSpaceDown)
        {
            m_bSpaceDown = false;
            SetPushed(false);
            Click();
        }
        return 0;
    case WM_SETFOCUS:
        m_bFocus = true;
        Redraw(ODA_FOCUS);
        if (Kind() == enKind::Push)
            OnDialogButtonFocus(GetParent(m_hWnd), m_hWnd, true);
        if (Style() & BS_NOTIFY)
            NotifyParent(m_hWnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        m_bFocus = false;
        m_bSpaceDown = false;
        if (m_bPushed && !m_bTracking)
            SetPushed(false);
        Redraw(ODA_FOCUS);
        if (Kind() == enKind::Push)
            OnDialogButtonFocus(GetParent(m_hWnd), m_hWnd, false);
        if (Style() & BS_NOTIFY)
            NotifyParent(m_hWnd, BN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        Redraw(ODA_DRAWENTIRE);
        return 0;
    case WM_SETTEXT:
    {
        const LRESULT lResult = DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
        Redraw(ODA_DRAWENTIRE);
        return lResult;
    }
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            Redraw(ODA_DRAWENTIRE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case BM_GETCHECK:
        return m_nCheck;
    case BM_SETCHECK:
        if (Kind() == enKind::Check || Kind() == enKind::Radio)
        {
            const int nMax =
                (Style() & BS_TYPEMASK) == BS_3STATE || (Style() & BS_TYPEMASK) == BS_AUTO3STATE
                    ? BST_INDETERMINATE
                    : BST_CHECKED;
            const int nCheck = std::min(static_cast<int>(wParam), nMax);
            if (nCheck != m_nCheck)
            {
                m_nCheck = nCheck;
                Redraw(ODA_DRAWENTIRE);
            }
        }
        return 0;
    case BM_GETSTATE:
        return m_nCheck | (m_bPushed ? BST_PUSHED : 0) | (m_bFocus ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(wParam != 0);
        return 0;
    case BM_SETSTYLE:
    {
        const DWORD dwStyle = (Style() & 0xFFFF0000) | (static_cast<DWORD>(wParam) & 0xFFFF);
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwStyle));
        if (LOWORD(lParam))
            Redraw(ODA_DRAWENTIRE);
        return 0;
    }
    case BM_CLICK:
        if (IsWindowEnabled(m_hWnd))
            Click();
        return 0;
    case BM_GETIMAGE:
        return reinterpret_cast<LRESULT>(m_hImage);
    case BM_SETIMAGE:
    {
        const HANDLE hOld = m_hImage;
        m_hImage = reinterpret_cast<HANDLE>(lParam);
        Redraw(ODA_DRAWENTIRE);
        return reinterpret_cast<LRESULT>(hOld);
    }
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT ButtonWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<ButtonControl>(hWnd, nMsg, wParam, lParam);
}

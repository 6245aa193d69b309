// The "Edit" control: single-line (scrolling sideways with ES_AUTOHSCROLL)
// and multi-line (wrapping words unless ES_AUTOHSCROLL), with a caret, a
// selection, the clipboard keys, a length limit and read-only mode.
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "EditText.h"

#include "WinBeep.h"
#include "WinCursor.h"
#include "WinDrawing.h"
#include "WinInput.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{
constexpr std::size_t kDefaultLimit = 30000;
constexpr int kDefaultMargin = 1;

struct EditLine
{
    int nStart;
    int nEnd; // the line's text ends here; its break follows
};

class EditControl
{
public:
    explicit EditControl(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    bool IsMultiLine() const { return (Style() & ES_MULTILINE) != 0; }
    bool IsReadOnly() const { return (Style() & ES_READONLY) != 0; }
    bool IsInCombo() const { return IsWindowOfClass(GetParent(m_hWnd), "ComboBox"); }

    RECT FormatRect() const;
    int TextWidth(HDC hdc, int nStart, int nEnd) const;
    std::string Shown(int nStart, int nEnd) const;
    std::vector<EditLine> Lines() const;
    int LineOf(const std::vector<EditLine>& lines, int nPos) const;
    POINT PosFromChar(int nPos) const;
    int CharFromPos(POINT pt) const;
    void ScrollToCaret();
    void UpdateCaret();
    void Redraw() { InvalidateRect(m_hWnd, nullptr, TRUE); }

    void AfterChange();
    bool Insert(const std::string& text);
    void InsertTyped(std::string text);
    void OnChar(WPARAM ch);
    void OnKeyDown(WPARAM nKey);
    void MoveTo(int nPos, bool bExtend);
    void MoveVertically(int nLines, bool bExtend);
    void Copy() const;
    void Cut();
    void Paste();
    void Clear();
    LRESULT OnGetDlgCode(const MSG* pMsg) const;
    LRESULT OnGetSel(WPARAM wParam, LPARAM lParam) const;
    LRESULT OnGetLine(WPARAM nLine, LPARAM lParam) const;
    LRESULT OnSetText(LPCSTR lpszText);

    HWND m_hWnd;
    EditText m_text;
    HFONT m_hFont = nullptr;
    std::size_t m_nLimit = kDefaultLimit;
    int m_nLeftMargin = kDefaultMargin;
    int m_nRightMargin = kDefaultMargin;
    int m_nScrollX = 0;
    int m_nFirstLine = 0;
    bool m_bFocus = false;
    bool m_bModified = false;
    bool m_bSelecting = false;
    char m_chPassword = 0;
    std::string m_pending; // the first bytes of a character still coming
};

RECT EditControl::FormatRect() const
{
    RECT rect{};
    GetClientRect(m_hWnd, &rect);
    rect.left += m_nLeftMargin;
    rect.right = std::max(rect.left, rect.right - m_nRightMargin);
    if (!IsMultiLine())
    {
        const int nLine = GetFontLineHeight(m_hFont);
        const int nTop = std::max<int>(0, (rect.bottom - rect.top - nLine) / 2);
        rect.top += nTop;
        rect.bottom = rect.top + nLine;
    }
    return rect;
}

std::string EditControl::Shown(int nStart, int nEnd) const
{
    if (m_chPassword != 0)
    {
        int nChars = 0;
        for (int nAt = nStart; nAt < nEnd; nAt = m_text.NextChar(nAt))
            ++nChars;
        return std::string(static_cast<std::size_t>(nChars), m_chPassword);
    }
    return m_text.GetText().substr(static_cast<std::size_t>(nStart),
                                   static_cast<std::size_t>(nEnd - nStart));
}

int EditControl::TextWidth(HDC hdc, int nStart, int nEnd) const
{
    const std::string text = Shown(nStart, nEnd);
    SIZE size{0, 0};
    GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

std::vector<EditLine> EditControl::Lines() const
{
    const std::string& text = m_text.GetText();
    std::vector<EditLine> lines;
    if (!IsMultiLine())
    {
        lines.push_back(EditLine{0, m_text.GetLength()});
        return lines;
    }
    const bool bWrap = (Style() & ES_AUTOHSCROLL) == 0;
    const RECT format = FormatRect();
    const int nWidth = format.right - format.left;
    const ControlDC dc(m_hWnd, m_hFont);
    int nStart = 0;
    for (;;)
    {
        std::size_t nBreak = text.find('\n', static_cast<std::size_t>(nStart));
        int nEnd = nBreak == std::string::npos ? m_text.GetLength() : static_cast<int>(nBreak);
        if (nEnd > nStart && text[nEnd - 1] == '\r')
            --nEnd;
        int nNext = nBreak == std::string::npos ? -1 : static_cast<int>(nBreak) + 1;
        if (bWrap && nWidth > 0 && TextWidth(dc, nStart, nEnd) > nWidth)
        {
            // The longest run of whole words that fits, one character at least.
            int nFit = m_text.NextChar(nStart);
            for (int nAt = nFit; nAt < nEnd; nAt = m_text.NextChar(nAt))
            {
                if (TextWidth(dc, nStart, m_text.NextChar(nAt)) > nWidth)
                    break;
                nFit = m_text.NextChar(nAt);
            }
            int nWordEnd = nFit;
            while (nWordEnd > nStart && text[nWordEnd - 1] != ' ' && nWordEnd < nEnd)
                --nWordEnd;
            nEnd = nWordEnd > nStart ? nWordEnd : nFit;
            nNext = nEnd;
        }
        lines.push_back(EditLine{nStart, nEnd});
        if (nNext < 0)
            break;
        nStart = nNext;
    }
    return lines;
}

int EditControl::LineOf(const std::vector<EditLine>& lines, int nPos) const
{
    for (std::size_t i = 1; i < lines.size(); ++i)
    {
        if (nPos < lines[i].nStart)
            return static_cast<int>(i - 1);
    }
    return static_cast<int>(lines.size()) - 1;
}

POINT EditControl::PosFromChar(int nPos) const
{
    const std::vector<EditLine> lines = Lines();
    const int nLine = LineOf(lines, nPos);
    const RECT format = FormatRect();
    const ControlDC dc(m_hWnd, m_hFont);
    const EditLine& line = lines[static_cast<std::size_t>(nLine)];
    int x = format.left + TextWidth(dc, line.nStart, std::min(nPos, line.nEnd)) - m_nScrollX;
    if (!IsMultiLine() && (Style() & (ES_CENTER | ES_RIGHT)))
    {
        const int nSpare =
            std::max(0, static_cast<int>(format.right - format.left) - TextWidth(dc, 0, line.nEnd));
        x += (Style() & ES_RIGHT) ? nSpare : nSpare / 2;
    }
    const int y = format.top + (nLine - m_nFirstLine) * GetFontLineHeight(m_hFont);
    return POINT{x, y};
}

int EditControl::CharFromPos(POINT pt) const
{
    const std::vector<EditLine> lines = Lines();
    const RECT format = FormatRect();
    const int nLineHeight = std::max(GetFontLineHeight(m_hFont), 1);
    const int nLine = std::clamp(m_nFirstLine + static_cast<int>((pt.y - format.top) / nLineHeight),
                                 0, static_cast<int>(lines.size()) - 1);
    const EditLine& line = lines[static_cast<std::size_t>(nLine)];
    // The boundary nearest to the point.
    int nBest = line.nStart;
    int nBestDistance = std::abs(PosFromChar(line.nStart).x - pt.x);
    for (int nAt = line.nStart; nAt < line.nEnd;)
    {
        nAt = m_text.NextChar(nAt);
        const int nDistance = std::abs(PosFromChar(nAt).x - pt.x);
        if (nDistance < nBestDistance)
        {
            nBest = nAt;
            nBestDistance = nDistance;
        }
    }
    return nBest;
}

void EditControl::ScrollToCaret()
{
    const RECT format = FormatRect();
    const POINT pt = PosFromChar(m_text.GetCaret());
    const int nWidth = format.right - format.left;
    if (pt.x < format.left)
        m_nScrollX -= format.left - pt.x + nWidth / 4;
    else if (pt.x >= format.right)
        m_nScrollX += pt.x - format.right + 1 + nWidth / 4;
    m_nScrollX = std::max(m_nScrollX, 0);
    if (!IsMultiLine())
        return;
    const int nLine = LineOf(Lines(), m_text.GetCaret());
    const int nVisible = std::max(1, static_cast<int>((format.bottom - format.top) /
                                                      std::max(GetFontLineHeight(m_hFont), 1)));
    if (nLine < m_nFirstLine)
        m_nFirstLine = nLine;
    else if (nLine >= m_nFirstLine + nVisible)
        m_nFirstLine = nLine - nVisible + 1;
}

void EditControl::UpdateCaret()
{
    if (!m_bFocus)
        return;
    const POINT pt = PosFromChar(m_text.GetCaret());
    SetCaretPos(pt.x, pt.y);
}

void EditControl::AfterChange()
{
    m_bModified = true;
    ScrollToCaret();
    Redraw();
    UpdateCaret();
    NotifyParent(m_hWnd, EN_UPDATE);
    NotifyParent(m_hWnd, EN_CHANGE);
}

bool EditControl::Insert(const std::string& text)
{
    bool bCut = false;
    const EditText before = m_text;
    if (!m_text.ReplaceSelection(text, m_nLimit, bCut))
    {
        if (bCut)
            NotifyParent(m_hWnd, EN_MAXTEXT);
        return false;
    }
    // Without sideways scrolling a single line holds what it can show.
    if (!IsMultiLine() && (Style() & ES_AUTOHSCROLL) == 0)
    {
        const RECT format = FormatRect();
        const ControlDC dc(m_hWnd, m_hFont);
        if (TextWidth(dc, 0, m_text.GetLength()) > format.right - format.left)
        {
            m_text = before;
            NotifyParent(m_hWnd, EN_MAXTEXT);
            return false;
        }
    }
    AfterChange();
    if (bCut)
        NotifyParent(m_hWnd, EN_MAXTEXT);
    return true;
}

void EditControl::InsertTyped(std::string text)
{
    const DWORD dwStyle = Style();
    for (char& ch : text)
    {
        if (dwStyle & ES_UPPERCASE)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        else if (dwStyle & ES_LOWERCASE)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    if (!Insert(text))
        MessageBeep(0xFFFFFFFF);
}

void EditControl::OnChar(WPARAM wParam)
{
    const auto ch = static_cast<unsigned char>(wParam);
    switch (ch)
    {
    case 0x01: // Ctrl+A
        m_text.SetSel(0, -1);
        Redraw();
        UpdateCaret();
        return;
    case 0x03: // Ctrl+C
        Copy();
        return;
    case 0x16: // Ctrl+V
        Paste();
        return;
    case 0x18: // Ctrl+X
        Cut();
        return;
    case 0x1A: // Ctrl+Z
        SendMessageA(m_hWnd, EM_UNDO, 0, 0);
        return;
    default:
        break;
    }
    if (IsReadOnly())
    {
        if (ch >= ' ' || ch == '\b')
            MessageBeep(0xFFFFFFFF);
        return;
    }
    if (ch == '\b')
    {
        if (m_text.DeleteBackward())
            AfterChange();
        return;
    }
    if (ch == '\r' || ch == '\t')
    {
        if (IsMultiLine())
            InsertTyped(ch == '\r' ? "\r\n" : "\t");
        return;
    }
    if (ch < ' ')
        return;
    if ((Style() & ES_NUMBER) && (ch < '0' || ch > '9'))
    {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    std::string typed;
    if (GatherTypedChar(m_pending, ch, typed))
        InsertTyped(typed);
}

void EditControl::MoveTo(int nPos, bool bExtend)
{
    m_text.MoveCaret(nPos, bExtend);
    ScrollToCaret();
    Redraw();
    UpdateCaret();
}

void EditControl::MoveVertically(int nLines, bool bExtend)
{
    const std::vector<EditLine> lines = Lines();
    const int nLine = LineOf(lines, m_text.GetCaret());
    const int nTarget = std::clamp(nLine + nLines, 0, static_cast<int>(lines.size()) - 1);
    if (nTarget == nLine)
        return;
    const POINT pt = PosFromChar(m_text.GetCaret());
    const int nLineHeight = GetFontLineHeight(m_hFont);
    MoveTo(CharFromPos(POINT{pt.x, pt.y + (nTarget - nLine) * nLineHeight}), bExtend);
}

void EditControl::OnKeyDown(WPARAM nKey)
{
    const bool bShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool bCtrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const int nCaret = m_text.GetCaret();
    const std::vector<EditLine> lines = Lines();
    const EditLine& line = lines[static_cast<std::size_t>(LineOf(lines, nCaret))];
    switch (nKey)
    {
    case VK_LEFT:
        if (m_text.HasSelection() && !bShift)
            MoveTo(m_text.GetSelStart(), false);
        else
            MoveTo(bCtrl ? m_text.PrevWord(nCaret) : m_text.PrevChar(nCaret), bShift);
        return;
    case VK_RIGHT:
        if (m_text.HasSelection() && !bShift)
            MoveTo(m_text.GetSelEnd(), false);
        else
            MoveTo(bCtrl ? m_text.NextWord(nCaret) : m_text.NextChar(nCaret), bShift);
        return;
    case VK_HOME:
        MoveTo(bCtrl ? 0 : line.nStart, bShift);
        return;
    case VK_END:
        MoveTo(bCtrl ? m_text.GetLength() : line.nEnd, bShift);
        return;
    case VK_UP:
    case VK_DOWN:
        if (IsInCombo())
            SendMessageA(GetParent(m_hWnd), WM_KEYDOWN, nKey, 0);
        else if (IsMultiLine())
            MoveVertically(nKey == VK_UP ? -1 : 1, bShift);
        return;
    case VK_F4:
    case VK_RETURN:
    case VK_ESCAPE:
        if (IsInCombo())
            SendMessageA(GetParent(m_hWnd), WM_KEYDOWN, nKey, 0);
        return;
    case VK_DELETE:
        if (bShift)
            Cut();
        else if (IsReadOnly())
            MessageBeep(0xFFFFFFFF);
        else if (m_text.DeleteForward())
            AfterChange();
        return;
    case VK_INSERT:
        if (bCtrl)
            Copy();
        else if (bShift)
            Paste();
        return;
    default:
        return;
    }
}

void EditControl::Copy() const
{
    if (m_text.HasSelection() && m_chPassword == 0)
        PutTextOnClipboard(m_hWnd, m_text.GetSelectedText());
}

void EditControl::Cut()
{
    if (IsReadOnly() || m_chPassword != 0)
    {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    Copy();
    Clear();
}

void EditControl::Clear()
{
    if (!m_text.HasSelection())
        return;
    if (IsReadOnly())
    {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    if (m_text.DeleteForward())
        AfterChange();
}

void EditControl::Paste()
{
    if (IsReadOnly())
    {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    std::string text = TakeTextFromClipboard(m_hWnd);
    // A single line takes the first line of what was copied.
    if (!IsMultiLine())
        text = text.substr(0, text.find_first_of("\r\n"));
    if (!text.empty() && !Insert(text))
        MessageBeep(0xFFFFFFFF);
}

void EditControl::Paint(HDC hdc)
{
    const bool bEnabled = IsWindowEnabled(m_hWnd) != FALSE;
    const UINT nCtlColor = bEnabled && !IsReadOnly() ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    const HBRUSH hBrush = GetControlBrush(m_hWnd, hdc, nCtlColor);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    FillRect(hdc, &client, hBrush);
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    const COLORREF text = bEnabled ? GetTextColor(hdc) : GetSysColor(COLOR_GRAYTEXT);
    const bool bShowSelection = m_bFocus || (Style() & ES_NOHIDESEL);
    const int nSelStart = m_text.GetSelStart();
    const int nSelEnd = m_text.GetSelEnd();
    const RECT format = FormatRect();
    IntersectClipRect(hdc, format.left, format.top, format.right, format.bottom);
    SetBkMode(hdc, TRANSPARENT);
    for (const EditLine& line : Lines())
    {
        const POINT pt = PosFromChar(line.nStart);
        if (pt.y >= format.bottom)
            break;
        // The line in up to three runs: before, inside and after the selection.
        const int nCuts[] = {line.nStart, std::clamp(nSelStart, line.nStart, line.nEnd),
                             std::clamp(nSelEnd, line.nStart, line.nEnd), line.nEnd};
        for (int nRun = 0; nRun < 3; ++nRun)
        {
            if (nCuts[nRun] >= nCuts[nRun + 1])
                continue;
            const POINT ptRun = PosFromChar(nCuts[nRun]);
            const std::string shown = Shown(nCuts[nRun], nCuts[nRun + 1]);
            const bool bSelected = nRun == 1 && bShowSelection;
            if (bSelected)
            {
                SIZE size{0, 0};
                GetTextExtentPoint32A(hdc, shown.c_str(), static_cast<int>(shown.size()), &size);
                const RECT rcRun{ptRun.x, ptRun.y, ptRun.x + size.cx,
                                 ptRun.y + GetFontLineHeight(m_hFont)};
                FillRect(hdc, &rcRun, GetSysColorBrush(COLOR_HIGHLIGHT));
            }
            SetTextColor(hdc, bSelected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
            TextOutA(hdc, ptRun.x, ptRun.y, shown.c_str(), static_cast<int>(shown.size()));
        }
    }
    SelectObject(hdc, hOldFont);
}

LRESULT EditControl::OnGetDlgCode(const MSG* pMsg) const
{
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    // The field of a dropped combo box wants Enter and Esc for the list.
    if (IsInCombo())
        code |= SendMessageA(GetParent(m_hWnd), WM_GETDLGCODE, 0, 0) & DLGC_WANTMESSAGE;
    if (IsMultiLine() && pMsg != nullptr && pMsg->message == WM_KEYDOWN &&
        pMsg->wParam == VK_RETURN && (Style() & ES_WANTRETURN))
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT EditControl::OnGetSel(WPARAM wParam, LPARAM lParam) const
{
    const auto nStart = static_cast<DWORD>(m_text.GetSelStart());
    const auto nEnd = static_cast<DWORD>(m_text.GetSelEnd());
    if (auto* pStart = reinterpret_cast<DWORD*>(wParam))
        *pStart = nStart;
    if (auto* pEnd = reinterpret_cast<DWORD*>(lParam))
        *pEnd = nEnd;
    return nStart > 0xFFFF || nEnd > 0xFFFF ? -1 : MAKELRESULT(nStart, nEnd);
}

LRESULT EditControl::OnGetLine(WPARAM nLine, LPARAM lParam) const
{
    const std::vector<EditLine> lines = Lines();
    auto* buffer = reinterpret_cast<char*>(lParam);
    if (buffer == nullptr || nLine >= lines.size())
        return 0;
    WORD nSize = 0;
    std::memcpy(&nSize, buffer, sizeof(nSize));
    const EditLine& line = lines[nLine];
    const std::size_t nCount = std::min<std::size_t>(nSize, std::size_t(line.nEnd - line.nStart));
    std::memcpy(buffer, m_text.GetText().data() + line.nStart, nCount);
    return static_cast<LRESULT>(nCount);
}

LRESULT EditControl::OnSetText(LPCSTR lpszText)
{
    std::string text = lpszText != nullptr ? lpszText : "";
    if (text.size() > m_nLimit)
        text.resize(m_nLimit);
    m_text.SetText(text);
    m_bModified = false;
    m_nScrollX = 0;
    m_nFirstLine = 0;
    Redraw();
    UpdateCaret();
    if (!IsMultiLine())
    {
        NotifyParent(m_hWnd, EN_UPDATE);
        NotifyParent(m_hWnd, EN_CHANGE);
    }
    return TRUE;
}

LRESULT EditControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_CREATE:
    {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
            m_text.SetText(cs->lpszName);
        if (cs != nullptr && (cs->style & ES_PASSWORD))
            m_chPassword = '*';
        return 0;
    }
    case WM_SIZE:
        ScrollToCaret();
        UpdateCaret();
        return 0;
    case WM_SETFOCUS:
        m_bFocus = true;
        CreateCaret(m_hWnd, nullptr, 1, GetFontLineHeight(m_hFont));
        UpdateCaret();
        ShowCaret(m_hWnd);
        Redraw();
        NotifyParent(m_hWnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        m_bFocus = false;
        m_bSelecting = false;
        DestroyCaret();
        Redraw();
        NotifyParent(m_hWnd, EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        Redraw();
        return 0;
    case WM_CHAR:
        OnChar(wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        SetFocus(m_hWnd);
        const int nPos = CharFromPos(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (nMsg == WM_LBUTTONDBLCLK)
        {
            m_text.SetSel(m_text.PrevWord(m_text.NextChar(nPos)), m_text.NextWord(nPos));
            Redraw();
            UpdateCaret();
            return 0;
        }
        MoveTo(nPos, (wParam & MK_SHIFT) != 0);
        m_bSelecting = true;
        SetCapture(m_hWnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (m_bSelecting && GetCapture() == m_hWnd)
            MoveTo(CharFromPos(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), true);
        return 0;
    case WM_LBUTTONUP:
        if (m_bSelecting && GetCapture() == m_hWnd)
            ReleaseCapture();
        m_bSelecting = false;
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_SETTEXT:
        return OnSetText(reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT:
    {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || wParam == 0)
            return 0;
        const std::size_t nCount = std::min<std::size_t>(m_text.GetText().size(), wParam - 1);
        std::memcpy(buffer, m_text.GetText().data(), nCount);
        buffer[nCount] = '\0';
        return static_cast<LRESULT>(nCount);
    }
    case WM_GETTEXTLENGTH:
        return m_text.GetLength();
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (m_bFocus)
        {
            CreateCaret(m_hWnd, nullptr, 1, GetFontLineHeight(m_hFont));
            ShowCaret(m_hWnd);
        }
        ScrollToCaret();
        UpdateCaret();
        if (LOWORD(lParam))
            Redraw();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case WM_CUT:
        Cut();
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CLEAR:
        Clear();
        return 0;
    case EM_UNDO:
    case WM_UNDO:
        if (IsReadOnly() || !m_text.Undo())
            return FALSE;
        AfterChange();
        return TRUE;
    case EM_CANUNDO:
        return m_text.CanUndo();
    case EM_EMPTYUNDOBUFFER:
        m_text.ForgetUndo();
        return 0;
    case EM_GETSEL:
        return OnGetSel(wParam, lParam);
    case EM_SETSEL:
        m_text.SetSel(static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<int>(lParam));
        ScrollToCaret();
        Redraw();
        UpdateCaret();
        return 0;
    case EM_REPLACESEL:
        Insert(lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "");
        return 0;
    case EM_SCROLLCARET:
        ScrollToCaret();
        Redraw();
        UpdateCaret();
        return TRUE;
    case EM_LIMITTEXT:
        m_nLimit = wParam != 0 ? wParam : 0x7FFFFFFE;
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(m_nLimit);
    case EM_SETREADONLY:
        SetWindowLongPtrA(
            m_hWnd, GWL_STYLE,
            static_cast<LONG_PTR>(wParam ? (Style() | ES_READONLY) : (Style() & ~ES_READONLY)));
        Redraw();
        return TRUE;
    case EM_GETMODIFY:
        return m_bModified;
    case EM_SETMODIFY:
        m_bModified = wParam != 0;
        return 0;
    case EM_SETMARGINS:
        if (wParam & EC_LEFTMARGIN)
            m_nLeftMargin = LOWORD(lParam) == EC_USEFONTINFO ? 2 : LOWORD(lParam);
        if (wParam & EC_RIGHTMARGIN)
            m_nRightMargin = HIWORD(lParam) == EC_USEFONTINFO ? 2 : HIWORD(lParam);
        Redraw();
        return 0;
    case EM_GETMARGINS:
        return MAKELRESULT(m_nLeftMargin, m_nRightMargin);
    case EM_GETRECT:
        if (auto* rect = reinterpret_cast<RECT*>(lParam))
            *rect = FormatRect();
        return 0;
    case EM_SETPASSWORDCHAR:
        m_chPassword = static_cast<char>(wParam);
        Redraw();
        return 0;
    case EM_GETPASSWORDCHAR:
        return static_cast<unsigned char>(m_chPassword);
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(Lines().size());
    case EM_GETFIRSTVISIBLELINE:
        return IsMultiLine() ? m_nFirstLine : 0;
    case EM_LINEINDEX:
    {
        const std::vector<EditLine> lines = Lines();
        const int nLine =
            static_cast<INT_PTR>(wParam) < 0 ? LineOf(lines, m_text.GetCaret()) : int(wParam);
        return nLine < static_cast<int>(lines.size()) ? lines[nLine].nStart : -1;
    }
    case EM_LINEFROMCHAR:
    {
        const int nPos = static_cast<INT_PTR>(wParam) < 0 ? m_text.GetSelStart() : int(wParam);
        return LineOf(Lines(), nPos);
    }
    case EM_LINELENGTH:
    {
        const std::vector<EditLine> lines = Lines();
        const int nPos = static_cast<INT_PTR>(wParam) < 0 ? m_text.GetCaret() : int(wParam);
        const EditLine& line = lines[static_cast<std::size_t>(LineOf(lines, nPos))];
        return line.nEnd - line.nStart;
    }
    case EM_GETLINE:
        return OnGetLine(wParam, lParam);
    case EM_POSFROMCHAR:
    {
        if (static_cast<int>(wParam) > m_text.GetLength())
            return -1;
        const POINT pt = PosFromChar(static_cast<int>(wParam));
        return MAKELRESULT(pt.x, pt.y);
    }
    case EM_CHARFROMPOS:
    {
        const int nPos = CharFromPos(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return MAKELRESULT(nPos, LineOf(Lines(), nPos));
    }
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT EditWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<EditControl>(hWnd, nMsg, wParam, lParam);
}

// The rich edit control "RichEdit20A": the text and selection of an edit
// control with a format per character, laid out in paragraphs (no
// wrapping) with tab stops, typed into through the same keyboard path as
// the edit control. What it promises its parent is written in
// WinRichEdit.h.
#include "ControlClasses.h"
#include "ControlSupport.h"
#include "EditText.h"
#include "ListRows.h"
#include "RichTextFormats.h"

#include "WinBeep.h"
#include "WinClipboard.h"
#include "WinCursor.h"
#include "WinDrawing.h"
#include "WinImageList.h"
#include "WinInput.h"
#include "WinRichEdit.h"
#include "WinScrollBar.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace
{
constexpr std::size_t kDefaultLimit = 32767;
constexpr int kMargin = 1;
constexpr LONG kDefaultTabTwips = 720;

struct RichLine
{
    int nStart;
    int nEnd; // before the paragraph's "\r"
    int nTop;
    int nHeight;
    int nAscent;
};

// "\r\n" and "\n" become the one paragraph end "\r".
std::string StoredText(const char* pszText)
{
    std::string text;
    for (const char* p = pszText; p != nullptr && *p != '\0'; ++p)
    {
        if (*p == '\r' && p[1] == '\n')
            continue;
        text.push_back(*p == '\n' ? '\r' : *p);
    }
    return text;
}

int TwipsToPixels(LONG nTwips)
{
    return static_cast<int>((static_cast<long long>(nTwips) * 96 + 720) / 1440);
}

HFONT CreateFontOf(const RichCharFormat& format)
{
    return CreateFontA(-TwipsToPixels(format.yHeight), 0, 0, 0,
                       (format.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL,
                       (format.dwEffects & CFE_ITALIC) ? TRUE : FALSE,
                       (format.dwEffects & CFE_UNDERLINE) ? TRUE : FALSE,
                       (format.dwEffects & CFE_STRIKEOUT) ? TRUE : FALSE, format.bCharSet, 0, 0, 0,
                       format.bPitchAndFamily, format.face.c_str());
}

TEXTMETRICA MetricsOf(HDC hdc, HFONT hFont)
{
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    TEXTMETRICA tm{};
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, hOld);
    return tm;
}

// Scrolls by whole paragraphs, as a list scrolls by rows.
class RichEditControl : public ListRows
{
public:
    explicit RichEditControl(HWND hWnd) : ListRows(hWnd) { m_default.dwEffects = CFE_AUTOCOLOR; }
    ~RichEditControl() override;
    RichEditControl(const RichEditControl&) = delete;
    RichEditControl& operator=(const RichEditControl&) = delete;

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    bool IsReadOnly() const { return (Style() & ES_READONLY) != 0; }
    const std::string& Text() const { return m_text.GetText(); }

    // Fonts and layout.
    HFONT FontOf(std::size_t nFormat) const;
    void ForgetFonts();
    std::vector<RichLine> Layout() const;
    int LineOf(const std::vector<RichLine>& lines, int nPos) const;
    int NextTab(int x) const;
    int Advance(HDC hdc, int x, int nFrom, int nTo) const;
    POINT PosFromChar(int nPos);
    int CharFromPos(POINT pt);
    void ScrollToCaret();
    int Count() const override { return LineCount(); }
    int VisibleCount() const override;
    void UpdateScrollBar() override;
    void UpdateCaret();

    // Editing.
    const RichCharFormat& InsertFormatAt(int nPos) const;
    enum class enEditAnswer
    {
        Allowed,
        Refused,
        Revised, // the parent changed the message, and the changed one was done instead
    };
    enEditAnswer AllowEdit(UINT nMsg, WPARAM wParam, LPARAM lParam, int nFrom, int nTo,
                           bool bInserts);
    bool Replace(UINT nMsg, WPARAM wParam, LPARAM lParam, int nFrom, int nTo,
                 const std::string& text);
    bool ReplaceSelection(UINT nMsg, WPARAM wParam, LPARAM lParam, const std::string& text);
    void AfterTextChange();
    void Select(int nAnchor, int nCaret);
    void NotifySelectionIfMoved(int nOldStart, int nOldEnd);
    void OnChar(WPARAM wParam, LPARAM lParam);
    void OnKeyDown(WPARAM nKey, LPARAM lParam);
    void MoveTo(int nPos, bool bExtend);
    void Copy() const;
    void Paste(WPARAM wParam, LPARAM lParam);
    BOOL SetCharFormat(WPARAM nFlags, LPARAM lParam);
    LRESULT GetCharFormat(WPARAM nFlags, CHARFORMATA* pFormat) const;
    BOOL SetParaFormat(const PARAFORMAT* pFormat);

    // Line and character arithmetic.
    int LineCount() const;
    int LineStart(int nLine) const;
    int LineFromChar(int nPos) const;
    int LineLength(int nPos) const;
    LRESULT GetTextRange(TEXTRANGEA* pRange) const;

    EditText m_text;
    RichTextFormats m_formats;
    RichCharFormat m_default;
    bool m_bPendingFormat = false; // a format set on an empty selection
    RichCharFormat m_pending;
    std::vector<int> m_tabs;                      // pixels from the left margin
    mutable std::map<std::size_t, HFONT> m_fonts; // made as drawing needs them
    DWORD m_dwEventMask = ENM_NONE;
    std::size_t m_nLimit = kDefaultLimit;
    COLORREF m_crBackground = CLR_DEFAULT;
    bool m_bFocus = false;
    bool m_bSelecting = false;
    bool m_bModified = false;
    bool m_bRevising = false;  // doing a message a parent revised in EN_PROTECTED
    bool m_bScrollBar = false; // created with WS_VSCROLL, which a scroll bar hides
    std::string m_partial;     // the first bytes of a typed character still coming
};

RichEditControl::~RichEditControl()
{
    ForgetFonts();
}

HFONT RichEditControl::FontOf(std::size_t nFormat) const
{
    const auto found = m_fonts.find(nFormat);
    if (found != m_fonts.end())
        return found->second;
    const HFONT hFont = CreateFontOf(m_formats.FormatOfIndex(nFormat));
    m_fonts[nFormat] = hFont;
    return hFont;
}

void RichEditControl::ForgetFonts()
{
    for (const auto& [nFormat, hFont] : m_fonts)
        DeleteObject(hFont);
    m_fonts.clear();
}

std::vector<RichLine> RichEditControl::Layout() const
{
    std::vector<RichLine> lines;
    HDC hdc = GetDC(m_hWnd);
    int nTop = kMargin;
    int nStart = 0;
    const std::string& text = Text();
    for (;;)
    {
        const std::size_t nBreak = text.find('\r', static_cast<std::size_t>(nStart));
        const int nEnd = nBreak == std::string::npos ? m_text.GetLength() : int(nBreak);
        TEXTMETRICA tallest{};
        const auto take = [&](const TEXTMETRICA& tm)
        {
            tallest.tmAscent = std::max(tallest.tmAscent, tm.tmAscent);
            tallest.tmHeight = std::max(tallest.tmHeight, tm.tmHeight);
        };
        // The paragraph's break counts: an empty paragraph is as high as
        // its break, or as the text typed at the very end would be.
        const int nLast = std::min(nEnd + 1, m_text.GetLength());
        for (int i = nStart; i < nLast; ++i)
        {
            if (i == nStart || m_formats.IndexAt(i) != m_formats.IndexAt(i - 1))
                take(MetricsOf(hdc, FontOf(m_formats.IndexAt(i))));
        }
        if (nStart >= nLast)
        {
            const HFONT hFont = CreateFontOf(InsertFormatAt(nStart));
            take(MetricsOf(hdc, hFont));
            DeleteObject(hFont);
        }
        lines.push_back(RichLine{nStart, nEnd, nTop, int(tallest.tmHeight), int(tallest.tmAscent)});
        nTop += tallest.tmHeight;
        if (nBreak == std::string::npos)
            break;
        nStart = nEnd + 1;
    }
    ReleaseDC(m_hWnd, hdc);
    // Scrolled lines start above the top.
    const int nShift =
        lines[static_cast<std::size_t>(std::clamp(m_nTop, 0, int(lines.size()) - 1))].nTop -
        kMargin;
    for (RichLine& line : lines)
        line.nTop -= nShift;
    return lines;
}

int RichEditControl::LineOf(const std::vector<RichLine>& lines, int nPos) const
{
    int nLine = 0;
    while (nLine + 1 < static_cast<int>(lines.size()) &&
           lines[static_cast<std::size_t>(nLine + 1)].nStart <= nPos)
        ++nLine;
    return nLine;
}

int RichEditControl::NextTab(int x) const
{
    const int nFromLeft = x - kMargin;
    for (const int nStop : m_tabs)
    {
        if (nStop > nFromLeft)
            return kMargin + nStop;
    }
    const int nLast = m_tabs.empty() ? 0 : m_tabs.back();
    const int nStep = std::max(TwipsToPixels(kDefaultTabTwips), 1);
    return kMargin + nLast + ((nFromLeft - nLast) / nStep + 1) * nStep;
}

// The x after the text [nFrom, nTo) of one line drawn from x.
int RichEditControl::Advance(HDC hdc, int x, int nFrom, int nTo) const
{
    const std::string& text = Text();
    for (int i = nFrom; i < nTo;)
    {
        if (text[static_cast<std::size_t>(i)] == '\t')
        {
            x = NextTab(x);
            ++i;
            continue;
        }
        int nRunEnd = i + 1;
        while (nRunEnd < nTo && text[static_cast<std::size_t>(nRunEnd)] != '\t' &&
               m_formats.IndexAt(nRunEnd) == m_formats.IndexAt(i))
            ++nRunEnd;
        HGDIOBJ hOld = SelectObject(hdc, FontOf(m_formats.IndexAt(i)));
        SIZE size{};
        GetTextExtentPoint32A(hdc, text.c_str() + i, nRunEnd - i, &size);
        SelectObject(hdc, hOld);
        x += size.cx;
        i = nRunEnd;
    }
    return x;
}

POINT RichEditControl::PosFromChar(int nPos)
{
    const std::vector<RichLine> lines = Layout();
    const RichLine& line = lines[static_cast<std::size_t>(LineOf(lines, nPos))];
    HDC hdc = GetDC(m_hWnd);
    const int x = Advance(hdc, kMargin, line.nStart, std::min(nPos, line.nEnd));
    ReleaseDC(m_hWnd, hdc);
    return POINT{x, line.nTop};
}

int RichEditControl::CharFromPos(POINT pt)
{
    const std::vector<RichLine> lines = Layout();
    std::size_t nLine = 0;
    while (nLine + 1 < lines.size() && pt.y >= lines[nLine + 1].nTop)
        ++nLine;
    const RichLine& line = lines[nLine];
    HDC hdc = GetDC(m_hWnd);
    int nPos = line.nStart;
    int x = kMargin;
    while (nPos < line.nEnd)
    {
        const int nNext = m_text.NextChar(nPos);
        const int xNext = Advance(hdc, x, nPos, nNext);
        if (pt.x < (x + xNext) / 2)
            break;
        x = xNext;
        nPos = nNext;
    }
    ReleaseDC(m_hWnd, hdc);
    return nPos;
}

void RichEditControl::ScrollToCaret()
{
    EnsureVisible(LineFromChar(m_text.GetCaret()));
    UpdateScrollBar();
}

int RichEditControl::VisibleCount() const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const std::vector<RichLine> lines = Layout();
    int nWhole = 0;
    for (std::size_t i = static_cast<std::size_t>(std::max(m_nTop, 0)); i < lines.size(); ++i)
    {
        if (lines[i].nTop + lines[i].nHeight > client.bottom)
            break;
        ++nWhole;
    }
    return std::max(nWhole, 1);
}

void RichEditControl::UpdateScrollBar()
{
    if (!m_bScrollBar)
        return;
    SCROLLINFO info{sizeof(SCROLLINFO),
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    LineCount() - 1,
                    static_cast<UINT>(VisibleCount()),
                    m_nTop,
                    0};
    SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void RichEditControl::UpdateCaret()
{
    if (!m_bFocus)
        return;
    const POINT pt = PosFromChar(m_text.GetCaret());
    SetCaretPos(pt.x, pt.y);
}

// Typed text takes the format set on an empty selection, else that of the
// character before it, else of the one after, else the default.
const RichCharFormat& RichEditControl::InsertFormatAt(int nPos) const
{
    if (m_bPendingFormat)
        return m_pending;
    if (nPos > 0 && nPos <= m_formats.GetLength())
        return m_formats.At(nPos - 1);
    if (nPos < m_formats.GetLength())
        return m_formats.At(nPos);
    return m_default;
}

RichEditControl::enEditAnswer RichEditControl::AllowEdit(UINT nMsg, WPARAM wParam, LPARAM lParam,
                                                         int nFrom, int nTo, bool bInserts)
{
    const bool bTouches = m_formats.AnyProtected(nFrom, nTo) ||
                          (bInserts && nFrom == nTo && InsertFormatAt(nFrom).IsProtected());
    if (!bTouches)
        return enEditAnswer::Allowed;
    if (!(m_dwEventMask & ENM_PROTECTED))
        return enEditAnswer::Refused;
    ENPROTECTED info{};
    info.nmhdr.hwndFrom = m_hWnd;
    info.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_hWnd));
    info.nmhdr.code = EN_PROTECTED;
    info.msg = nMsg;
    info.wParam = wParam;
    info.lParam = lParam;
    info.chrg = CHARRANGE{nFrom, nTo};
    const HWND hParent = GetParent(m_hWnd);
    if (hParent == nullptr)
        return enEditAnswer::Allowed;
    if (SendMessageA(hParent, WM_NOTIFY, info.nmhdr.idFrom, reinterpret_cast<LPARAM>(&info)) != 0)
        return enEditAnswer::Refused;
    const bool bChanged = info.msg != nMsg || info.wParam != wParam || info.lParam != lParam;
    if (!bChanged || m_bRevising)
        return enEditAnswer::Allowed;
    // One revision: the revised message is not revised again.
    m_bRevising = true;
    SendMessageA(m_hWnd, info.msg, info.wParam, info.lParam);
    m_bRevising = false;
    return enEditAnswer::Revised;
}

bool RichEditControl::Replace(UINT nMsg, WPARAM wParam, LPARAM lParam, int nFrom, int nTo,
                              const std::string& text)
{
    if (IsReadOnly())
        return false;
    const enEditAnswer answer = AllowEdit(nMsg, wParam, lParam, nFrom, nTo, !text.empty());
    if (answer != enEditAnswer::Allowed)
        return answer == enEditAnswer::Revised;
    const int nOldStart = m_text.GetSelStart();
    const int nOldEnd = m_text.GetSelEnd();
    const RichCharFormat format = nFrom < nTo ? m_formats.At(nFrom) : InsertFormatAt(nFrom);
    const int nLengthBefore = m_text.GetLength();
    m_text.SetSel(nFrom, nTo);
    bool bCut = false;
    if (!m_text.ReplaceSelection(text, m_nLimit, bCut))
    {
        Select(nOldStart, nOldEnd);
        return false;
    }
    const int nInserted = m_text.GetLength() - (nLengthBefore - (nTo - nFrom));
    m_formats.Erase(nFrom, nTo - nFrom);
    m_formats.Insert(nFrom, nInserted, format);
    m_bPendingFormat = false;
    AfterTextChange();
    NotifySelectionIfMoved(nOldStart, nOldEnd);
    return true;
}

bool RichEditControl::ReplaceSelection(UINT nMsg, WPARAM wParam, LPARAM lParam,
                                       const std::string& text)
{
    return Replace(nMsg, wParam, lParam, m_text.GetSelStart(), m_text.GetSelEnd(), text);
}

void RichEditControl::AfterTextChange()
{
    m_bModified = true;
    ScrollToCaret();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateCaret();
    if (m_dwEventMask & ENM_CHANGE)
        NotifyParent(m_hWnd, EN_CHANGE);
}

void RichEditControl::Select(int nAnchor, int nCaret)
{
    m_text.SetSel(nAnchor, nCaret);
}

void RichEditControl::NotifySelectionIfMoved(int nOldStart, int nOldEnd)
{
    const int nStart = m_text.GetSelStart();
    const int nEnd = m_text.GetSelEnd();
    if ((nStart == nOldStart && nEnd == nOldEnd) || !(m_dwEventMask & ENM_SELCHANGE))
        return;
    SELCHANGE info{};
    info.nmhdr.hwndFrom = m_hWnd;
    info.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_hWnd));
    info.nmhdr.code = EN_SELCHANGE;
    info.chrg = CHARRANGE{nStart, nEnd};
    info.seltyp = static_cast<WORD>(
        nStart == nEnd ? SEL_EMPTY
                       : (SEL_TEXT | (m_text.NextChar(nStart) < nEnd ? SEL_MULTICHAR : 0)));
    if (const HWND hParent = GetParent(m_hWnd))
        SendMessageA(hParent, WM_NOTIFY, info.nmhdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

void RichEditControl::MoveTo(int nPos, bool bExtend)
{
    const int nOldStart = m_text.GetSelStart();
    const int nOldEnd = m_text.GetSelEnd();
    m_text.MoveCaret(nPos, bExtend);
    m_bPendingFormat = false;
    ScrollToCaret();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateCaret();
    NotifySelectionIfMoved(nOldStart, nOldEnd);
}

void RichEditControl::OnChar(WPARAM wParam, LPARAM lParam)
{
    const auto ch = static_cast<unsigned char>(wParam);
    if (ch == '\b' || ch == 27 || (ch < ' ' && ch != '\r' && ch != '\t'))
        return;
    if (ch == '\r' || ch == '\t')
    {
        if (!ReplaceSelection(WM_CHAR, wParam, lParam, std::string(1, char(ch))))
            MessageBeep(0xFFFFFFFF);
        return;
    }
    std::string typed;
    if (GatherTypedChar(m_partial, ch, typed) && !ReplaceSelection(WM_CHAR, wParam, lParam, typed))
        MessageBeep(0xFFFFFFFF);
}

void RichEditControl::OnKeyDown(WPARAM nKey, LPARAM lParam)
{
    const bool bShift = GetKeyState(VK_SHIFT) < 0;
    const bool bCtrl = GetKeyState(VK_CONTROL) < 0;
    const int nCaret = m_text.GetCaret();
    const int nLine = LineFromChar(nCaret);
    switch (nKey)
    {
    case VK_LEFT:
        MoveTo(m_text.HasSelection() && !bShift
                   ? m_text.GetSelStart()
                   : (bCtrl ? m_text.PrevWord(nCaret) : m_text.PrevChar(nCaret)),
               bShift);
        return;
    case VK_RIGHT:
        MoveTo(m_text.HasSelection() && !bShift
                   ? m_text.GetSelEnd()
                   : (bCtrl ? m_text.NextWord(nCaret) : m_text.NextChar(nCaret)),
               bShift);
        return;
    case VK_HOME:
        MoveTo(bCtrl ? 0 : LineStart(nLine), bShift);
        return;
    case VK_END:
        MoveTo(bCtrl ? m_text.GetLength() : LineStart(nLine) + LineLength(nCaret), bShift);
        return;
    case VK_UP:
    case VK_DOWN:
    {
        const POINT pt = PosFromChar(nCaret);
        const std::vector<RichLine> lines = Layout();
        const int nTarget =
            std::clamp(nLine + (nKey == VK_UP ? -1 : 1), 0, static_cast<int>(lines.size()) - 1);
        if (nTarget != nLine)
            MoveTo(CharFromPos(POINT{pt.x, lines[static_cast<std::size_t>(nTarget)].nTop}), bShift);
        return;
    }
    case VK_BACK:
    case VK_DELETE:
    {
        int nFrom = m_text.GetSelStart();
        int nTo = m_text.GetSelEnd();
        if (nFrom == nTo)
        {
            nFrom = nKey == VK_BACK ? m_text.PrevChar(nCaret) : nCaret;
            nTo = nKey == VK_BACK ? nCaret : m_text.NextChar(nCaret);
        }
        if (nFrom != nTo && !Replace(WM_KEYDOWN, nKey, lParam, nFrom, nTo, std::string()))
            MessageBeep(0xFFFFFFFF);
        return;
    }
    case 'A':
        if (bCtrl)
        {
            const int nOldStart = m_text.GetSelStart();
            const int nOldEnd = m_text.GetSelEnd();
            Select(0, m_text.GetLength());
            InvalidateRect(m_hWnd, nullptr, TRUE);
            UpdateCaret();
            NotifySelectionIfMoved(nOldStart, nOldEnd);
        }
        return;
    case 'C':
    case 'V':
    case 'X':
        // The clipboard keys arrive as the messages a parent would send.
        if (bCtrl)
            SendMessageA(m_hWnd, nKey == 'C' ? WM_COPY : (nKey == 'V' ? WM_PASTE : WM_CUT), 0, 0);
        return;
    default:
        return;
    }
}

void RichEditControl::Copy() const
{
    if (m_text.HasSelection())
        PutTextOnClipboard(m_hWnd, m_text.GetSelectedText());
}

void RichEditControl::Paste(WPARAM wParam, LPARAM lParam)
{
    const std::string text = StoredText(TakeTextFromClipboard(m_hWnd).c_str());
    if (!text.empty() && !ReplaceSelection(WM_PASTE, wParam, lParam, text))
        MessageBeep(0xFFFFFFFF);
}

BOOL RichEditControl::SetCharFormat(WPARAM nFlags, LPARAM lParam)
{
    const auto* pFormat = reinterpret_cast<const CHARFORMATA*>(lParam);
    if (pFormat == nullptr || pFormat->cbSize < sizeof(CHARFORMATA))
        return FALSE;
    if (nFlags == SCF_DEFAULT)
    {
        m_default.Apply(*pFormat);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    }
    const bool bAll = (nFlags & SCF_ALL) != 0;
    const int nFrom = bAll ? 0 : m_text.GetSelStart();
    const int nTo = bAll ? m_text.GetLength() : m_text.GetSelEnd();
    if (nFrom == nTo && !bAll)
    {
        // An empty selection: the format waits for what is typed there.
        m_pending = InsertFormatAt(nFrom);
        m_pending.Apply(*pFormat);
        m_bPendingFormat = true;
        return TRUE;
    }
    // Formatting is no editing of the text: it asks only a parent that
    // listens for protected edits.
    if (m_dwEventMask & ENM_PROTECTED)
    {
        const enEditAnswer answer = AllowEdit(EM_SETCHARFORMAT, nFlags, lParam, nFrom, nTo, false);
        if (answer != enEditAnswer::Allowed)
            return answer == enEditAnswer::Revised ? TRUE : FALSE;
    }
    m_formats.Apply(nFrom, nTo, *pFormat);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateCaret();
    return TRUE;
}

LRESULT RichEditControl::GetCharFormat(WPARAM nFlags, CHARFORMATA* pFormat) const
{
    if (pFormat == nullptr || pFormat->cbSize < sizeof(CHARFORMATA))
        return 0;
    const int nFrom = m_text.GetSelStart();
    const int nTo = m_text.GetSelEnd();
    *pFormat = nFlags == SCF_DEFAULT ? DescribeFormat(m_default)
                                     : m_formats.Describe(nFrom, nTo, InsertFormatAt(nFrom));
    return static_cast<LRESULT>(pFormat->dwMask);
}

BOOL RichEditControl::SetParaFormat(const PARAFORMAT* pFormat)
{
    if (pFormat == nullptr || pFormat->cbSize < sizeof(PARAFORMAT))
        return FALSE;
    if (pFormat->dwMask & PFM_TABSTOPS)
    {
        m_tabs.clear();
        const int nCount = std::clamp<int>(pFormat->cTabCount, 0, MAX_TAB_STOPS);
        for (int i = 0; i < nCount; ++i)
        {
            const int nStop = TwipsToPixels(pFormat->rgxTabs[i] & 0x00FFFFFF);
            if (m_tabs.empty() || nStop > m_tabs.back())
                m_tabs.push_back(nStop);
        }
        InvalidateRect(m_hWnd, nullptr, TRUE);
        UpdateCaret();
    }
    return TRUE;
}

int RichEditControl::LineCount() const
{
    return 1 + static_cast<int>(std::count(Text().begin(), Text().end(), '\r'));
}

int RichEditControl::LineStart(int nLine) const
{
    if (nLine < 0 || nLine >= LineCount())
        return -1;
    int nPos = 0;
    for (int i = 0; i < nLine; ++i)
        nPos = static_cast<int>(Text().find('\r', static_cast<std::size_t>(nPos))) + 1;
    return nPos;
}

int RichEditControl::LineFromChar(int nPos) const
{
    nPos = std::clamp(nPos, 0, m_text.GetLength());
    return static_cast<int>(std::count(Text().begin(), Text().begin() + nPos, '\r'));
}

int RichEditControl::LineLength(int nPos) const
{
    const int nStart = LineStart(LineFromChar(nPos));
    const std::size_t nBreak = Text().find('\r', static_cast<std::size_t>(nStart));
    return (nBreak == std::string::npos ? m_text.GetLength() : static_cast<int>(nBreak)) - nStart;
}

LRESULT RichEditControl::GetTextRange(TEXTRANGEA* pRange) const
{
    if (pRange == nullptr || pRange->lpstrText == nullptr)
        return 0;
    const int nFrom = std::clamp<int>(pRange->chrg.cpMin, 0, m_text.GetLength());
    const int nTo = pRange->chrg.cpMax < 0
                        ? m_text.GetLength()
                        : std::clamp<int>(pRange->chrg.cpMax, nFrom, m_text.GetLength());
    std::memcpy(pRange->lpstrText, Text().data() + nFrom, static_cast<std::size_t>(nTo - nFrom));
    pRange->lpstrText[nTo - nFrom] = '\0';
    return nTo - nFrom;
}

void RichEditControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const COLORREF crBack =
        m_crBackground == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : m_crBackground;
    SetBkColor(hdc, crBack);
    ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    const int nSelStart = m_text.GetSelStart();
    const int nSelEnd = m_text.GetSelEnd();
    const bool bShowSelection = m_bFocus || (Style() & ES_NOHIDESEL);
    const std::string& text = Text();
    SetTextAlign(hdc, TA_BASELINE | TA_LEFT);
    for (const RichLine& line : Layout())
    {
        if (line.nTop >= client.bottom)
            break;
        if (line.nTop + line.nHeight <= 0)
            continue;
        int x = kMargin;
        for (int i = line.nStart; i < line.nEnd;)
        {
            const bool bSelected = bShowSelection && i >= nSelStart && i < nSelEnd;
            int nRunEnd = i + 1;
            if (text[static_cast<std::size_t>(i)] != '\t')
            {
                while (nRunEnd < line.nEnd && text[static_cast<std::size_t>(nRunEnd)] != '\t' &&
                       m_formats.IndexAt(nRunEnd) == m_formats.IndexAt(i) &&
                       (bShowSelection && nRunEnd >= nSelStart && nRunEnd < nSelEnd) == bSelected)
                    ++nRunEnd;
            }
            const int xEnd = Advance(hdc, x, i, nRunEnd);
            const RECT rcRun{x, line.nTop, xEnd, line.nTop + line.nHeight};
            const RichCharFormat& format = m_formats.At(i);
            const COLORREF crText = (format.dwEffects & CFE_AUTOCOLOR)
                                        ? GetSysColor(COLOR_WINDOWTEXT)
                                        : format.crTextColor;
            SetTextColor(hdc, bSelected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : crText);
            SetBkColor(hdc, bSelected ? GetSysColor(COLOR_HIGHLIGHT) : crBack);
            HGDIOBJ hOld = SelectObject(hdc, FontOf(m_formats.IndexAt(i)));
            const bool bTab = text[static_cast<std::size_t>(i)] == '\t';
            ExtTextOutA(hdc, x, line.nTop + line.nAscent, bSelected ? ETO_OPAQUE : 0, &rcRun,
                        bTab ? nullptr : text.c_str() + i,
                        bTab ? 0U : static_cast<UINT>(nRunEnd - i), nullptr);
            SelectObject(hdc, hOld);
            x = xEnd;
            i = nRunEnd;
        }
    }
    SetTextAlign(hdc, TA_TOP | TA_LEFT);
}

LRESULT RichEditControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_CREATE:
    {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        m_bScrollBar = cs != nullptr && (cs->style & WS_VSCROLL) != 0;
        if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
        {
            m_text.SetText(StoredText(cs->lpszName));
            m_formats.Reset(m_text.GetLength(), m_default);
        }
        return 0;
    }
    case WM_SETFOCUS:
        m_bFocus = true;
        {
            const std::vector<RichLine> lines = Layout();
            CreateCaret(m_hWnd, nullptr, 1,
                        lines[static_cast<std::size_t>(LineOf(lines, m_text.GetCaret()))].nHeight);
            UpdateCaret();
            ShowCaret(m_hWnd);
            InvalidateRect(m_hWnd, nullptr, TRUE);
            NotifyParent(m_hWnd, EN_SETFOCUS);
            return 0;
        }
    case WM_KILLFOCUS:
        m_bFocus = false;
        m_bSelecting = false;
        DestroyCaret();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        NotifyParent(m_hWnd, EN_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    case WM_CHAR:
        OnChar(wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    {
        SetFocus(m_hWnd);
        const int nPos = CharFromPos(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        MoveTo(nPos, (wParam & MK_SHIFT) != 0);
        m_bSelecting = true;
        SetCapture(m_hWnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (m_bSelecting)
            MoveTo(CharFromPos(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), true);
        return 0;
    case WM_LBUTTONDBLCLK:
    {
        // A double click selects the word under it.
        const int nPos = CharFromPos(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        const int nOldStart = m_text.GetSelStart();
        const int nOldEnd = m_text.GetSelEnd();
        const int nEnd = m_text.NextWord(nPos);
        Select(m_text.PrevWord(std::min(nEnd, m_text.NextChar(nPos))), nEnd);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        UpdateCaret();
        NotifySelectionIfMoved(nOldStart, nOldEnd);
        return 0;
    }
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        UpdateCaret();
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam);
        UpdateCaret();
        return 0;
    case EM_GETFIRSTVISIBLELINE:
        return m_nTop;
    case WM_SIZE:
        UpdateScrollBar();
        return 0;
    case WM_LBUTTONUP:
        if (m_bSelecting)
        {
            m_bSelecting = false;
            ReleaseCapture();
        }
        return 0;
    case WM_SETTEXT:
    {
        const int nOldStart = m_text.GetSelStart();
        const int nOldEnd = m_text.GetSelEnd();
        m_text.SetText(StoredText(reinterpret_cast<LPCSTR>(lParam)));
        m_formats.Reset(m_text.GetLength(), m_default);
        ForgetFonts();
        m_bPendingFormat = false;
        m_nTop = 0;
        AfterTextChange();
        m_bModified = false;
        NotifySelectionIfMoved(nOldStart, nOldEnd);
        return TRUE;
    }
    case WM_GETTEXT:
        return CopyTextTo(Text().c_str(), reinterpret_cast<LPSTR>(lParam),
                          static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return m_text.GetLength();
    case WM_CUT:
        if (m_text.HasSelection())
        {
            Copy();
            if (!ReplaceSelection(WM_CUT, wParam, lParam, std::string()))
                MessageBeep(0xFFFFFFFF);
        }
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_PASTE:
        Paste(wParam, lParam);
        return 0;
    case WM_CLEAR:
        if (m_text.HasSelection())
            ReplaceSelection(WM_CLEAR, wParam, lParam, std::string());
        return 0;
    case EM_REPLACESEL:
        ReplaceSelection(EM_REPLACESEL, wParam, lParam,
                         StoredText(reinterpret_cast<LPCSTR>(lParam)));
        return 0;
    case EM_GETSEL:
    {
        if (wParam != 0)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(m_text.GetSelStart());
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(m_text.GetSelEnd());
        return MAKELONG(std::min(m_text.GetSelStart(), 0xFFFF),
                        std::min(m_text.GetSelEnd(), 0xFFFF));
    }
    case EM_SETSEL:
    case EM_EXSETSEL:
    {
        LONG nStart = static_cast<LONG>(wParam);
        LONG nEnd = static_cast<LONG>(lParam);
        if (nMsg == EM_EXSETSEL)
        {
            const auto* pRange = reinterpret_cast<const CHARRANGE*>(lParam);
            if (pRange == nullptr)
                return m_text.GetSelEnd();
            nStart = pRange->cpMin;
            nEnd = pRange->cpMax;
        }
        const int nOldStart = m_text.GetSelStart();
        const int nOldEnd = m_text.GetSelEnd();
        // Start 0 and end -1 select everything; a start of -1 drops the
        // selection at its end.
        if (nStart < 0)
            Select(nOldEnd, nOldEnd);
        else
            Select(nStart, nEnd);
        m_bPendingFormat = false;
        ScrollToCaret();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        UpdateCaret();
        NotifySelectionIfMoved(nOldStart, nOldEnd);
        return m_text.GetSelEnd();
    }
    case EM_EXGETSEL:
        if (auto* pRange = reinterpret_cast<CHARRANGE*>(lParam))
            *pRange = CHARRANGE{m_text.GetSelStart(), m_text.GetSelEnd()};
        return 0;
    case EM_GETSELTEXT:
    {
        const std::string selected = m_text.GetSelectedText();
        if (lParam != 0)
            std::memcpy(reinterpret_cast<char*>(lParam), selected.c_str(), selected.size() + 1);
        return static_cast<LRESULT>(selected.size());
    }
    case EM_SELECTIONTYPE:
        return m_text.HasSelection()
                   ? SEL_TEXT |
                         (m_text.NextChar(m_text.GetSelStart()) < m_text.GetSelEnd() ? SEL_MULTICHAR
                                                                                     : 0)
                   : SEL_EMPTY;
    case EM_GETTEXTRANGE:
        return GetTextRange(reinterpret_cast<TEXTRANGEA*>(lParam));
    case EM_GETLINECOUNT:
        return LineCount();
    case EM_LINEINDEX:
        return LineStart(static_cast<int>(wParam) < 0 ? LineFromChar(m_text.GetCaret())
                                                      : static_cast<int>(wParam));
    case EM_LINEFROMCHAR:
        return LineFromChar(static_cast<int>(wParam) < 0 ? m_text.GetSelStart()
                                                         : static_cast<int>(wParam));
    case EM_EXLINEFROMCHAR:
        return LineFromChar(static_cast<int>(lParam));
    case EM_LINELENGTH:
        return LineLength(static_cast<int>(wParam) < 0 ? m_text.GetCaret()
                                                       : static_cast<int>(wParam));
    case EM_GETLINE:
    {
        const int nStart = LineStart(static_cast<int>(wParam));
        auto* pBuffer = reinterpret_cast<char*>(lParam);
        if (nStart < 0 || pBuffer == nullptr)
            return 0;
        WORD nMax = 0;
        std::memcpy(&nMax, pBuffer, sizeof(nMax));
        const int nCount = std::min<int>(LineLength(nStart), nMax);
        std::memcpy(pBuffer, Text().data() + nStart, static_cast<std::size_t>(nCount));
        return nCount;
    }
    case EM_SETEVENTMASK:
    {
        const DWORD dwOld = m_dwEventMask;
        m_dwEventMask = static_cast<DWORD>(lParam);
        return static_cast<LRESULT>(dwOld);
    }
    case EM_GETEVENTMASK:
        return static_cast<LRESULT>(m_dwEventMask);
    case EM_SETCHARFORMAT:
        return SetCharFormat(wParam, lParam);
    case EM_GETCHARFORMAT:
        return GetCharFormat(wParam, reinterpret_cast<CHARFORMATA*>(lParam));
    case EM_SETPARAFORMAT:
        return SetParaFormat(reinterpret_cast<const PARAFORMAT*>(lParam));
    case EM_SETBKGNDCOLOR:
    {
        const COLORREF crOld =
            m_crBackground == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : m_crBackground;
        m_crBackground = wParam != 0 ? CLR_DEFAULT : static_cast<COLORREF>(lParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return static_cast<LRESULT>(crOld);
    }
    case EM_EXLIMITTEXT:
        m_nLimit = lParam > 0 ? static_cast<std::size_t>(lParam) : kDefaultLimit;
        return 0;
    case EM_LIMITTEXT:
        m_nLimit = wParam > 0 ? static_cast<std::size_t>(wParam) : kDefaultLimit;
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(m_nLimit);
    case EM_CANPASTE:
        return IsClipboardFormatAvailable(CF_TEXT);
    case EM_GETMODIFY:
        return m_bModified ? TRUE : FALSE;
    case EM_SETMODIFY:
        m_bModified = wParam != 0;
        return 0;
    case EM_SETREADONLY:
        SetWindowLongPtrA(m_hWnd, GWL_STYLE,
                          wParam != 0 ? LONG_PTR(Style() | ES_READONLY)
                                      : LONG_PTR(Style() & ~DWORD(ES_READONLY)));
        return TRUE;
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT RichEditWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<RichEditControl>(hWnd, nMsg, wParam, lParam);
}

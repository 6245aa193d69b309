// The rich edit object: members sending the control's messages.
#include "AfxRichEditCtrl.h"

#include <algorithm>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

namespace
{
LRESULT Send(HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(hWnd, nMsg, wParam, lParam);
}
} // namespace

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(RICHEDIT_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CRichEditCtrl::GetSel(CHARRANGE& cr) const
{
    Send(m_hWnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr{};
    GetSel(cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::SetSel(CHARRANGE& cr)
{
    Send(m_hWnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr{static_cast<LONG>(nStartChar), static_cast<LONG>(nEndChar)};
    SetSel(cr);
}

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE cr{};
    GetSel(cr);
    std::vector<char> buffer(static_cast<std::size_t>(cr.cpMax - cr.cpMin) + 1);
    Send(m_hWnd, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return CString(buffer.data());
}

WORD CRichEditCtrl::GetSelectionType() const
{
    return static_cast<WORD>(Send(m_hWnd, EM_SELECTIONTYPE));
}

void CRichEditCtrl::ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo)
{
    Send(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(bCanUndo),
         reinterpret_cast<LPARAM>(lpszNewText));
}

long CRichEditCtrl::GetTextRange(int nFirst, int nLast, CString& refString) const
{
    const int nLength = static_cast<int>(GetTextLength());
    const int nEnd = nLast < 0 || nLast > nLength ? nLength : nLast;
    std::vector<char> buffer(static_cast<std::size_t>(std::max(nEnd - nFirst, 0)) + 1);
    TEXTRANGEA range{{nFirst, nLast}, buffer.data()};
    const long nCopied =
        static_cast<long>(Send(m_hWnd, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    refString = buffer.data();
    return nCopied;
}

long CRichEditCtrl::GetTextLength() const
{
    return static_cast<long>(Send(m_hWnd, WM_GETTEXTLENGTH));
}

void CRichEditCtrl::Clear()
{
    Send(m_hWnd, WM_CLEAR);
}

void CRichEditCtrl::Copy()
{
    Send(m_hWnd, WM_COPY);
}

void CRichEditCtrl::Cut()
{
    Send(m_hWnd, WM_CUT);
}

void CRichEditCtrl::Paste()
{
    Send(m_hWnd, WM_PASTE);
}

BOOL CRichEditCtrl::CanPaste(UINT nFormat) const
{
    return static_cast<BOOL>(Send(m_hWnd, EM_CANPASTE, nFormat));
}

void CRichEditCtrl::LimitText(long nChars)
{
    Send(m_hWnd, EM_EXLIMITTEXT, 0, nChars);
}

BOOL CRichEditCtrl::SetReadOnly(BOOL bReadOnly)
{
    return static_cast<BOOL>(Send(m_hWnd, EM_SETREADONLY, static_cast<WPARAM>(bReadOnly)));
}

BOOL CRichEditCtrl::GetModify() const
{
    return static_cast<BOOL>(Send(m_hWnd, EM_GETMODIFY));
}

void CRichEditCtrl::SetModify(BOOL bModified)
{
    Send(m_hWnd, EM_SETMODIFY, static_cast<WPARAM>(bModified));
}

int CRichEditCtrl::GetLineCount() const
{
    return static_cast<int>(Send(m_hWnd, EM_GETLINECOUNT));
}

int CRichEditCtrl::LineIndex(int nLine) const
{
    return static_cast<int>(Send(m_hWnd, EM_LINEINDEX, static_cast<WPARAM>(nLine)));
}

int CRichEditCtrl::LineLength(int nLine) const
{
    return static_cast<int>(Send(m_hWnd, EM_LINELENGTH, static_cast<WPARAM>(nLine)));
}

long CRichEditCtrl::LineFromChar(long nIndex) const
{
    return static_cast<long>(Send(m_hWnd, EM_EXLINEFROMCHAR, 0, nIndex));
}

int CRichEditCtrl::GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const
{
    if (lpszBuffer == nullptr || nMaxLength < 1)
        return 0;
    const WORD nMax = static_cast<WORD>(std::min(nMaxLength, 0xFFFF));
    std::memcpy(lpszBuffer, &nMax, std::min<std::size_t>(sizeof(nMax), std::size_t(nMaxLength)));
    return static_cast<int>(Send(m_hWnd, EM_GETLINE, static_cast<WPARAM>(nIndex),
                                 reinterpret_cast<LPARAM>(lpszBuffer)));
}

DWORD CRichEditCtrl::GetEventMask() const
{
    return static_cast<DWORD>(Send(m_hWnd, EM_GETEVENTMASK));
}

DWORD CRichEditCtrl::SetEventMask(DWORD dwEventMask)
{
    return static_cast<DWORD>(Send(m_hWnd, EM_SETEVENTMASK, 0, static_cast<LPARAM>(dwEventMask)));
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMATA& cf) const
{
    cf.cbSize = sizeof(cf);
    return static_cast<DWORD>(
        Send(m_hWnd, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMATA& cf) const
{
    cf.cbSize = sizeof(cf);
    return static_cast<DWORD>(
        Send(m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMATA& cf)
{
    cf.cbSize = sizeof(cf);
    return static_cast<BOOL>(
        Send(m_hWnd, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMATA& cf)
{
    cf.cbSize = sizeof(cf);
    return static_cast<BOOL>(
        Send(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
}

BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT& pf)
{
    pf.cbSize = sizeof(pf);
    return static_cast<BOOL>(Send(m_hWnd, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)));
}

COLORREF CRichEditCtrl::SetBackgroundColor(BOOL bSysColor, COLORREF cr)
{
    return static_cast<COLORREF>(
        Send(m_hWnd, EM_SETBKGNDCOLOR, static_cast<WPARAM>(bSysColor), static_cast<LPARAM>(cr)));
}

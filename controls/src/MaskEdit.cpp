// The masked edit.
#include "MaskEdit.h"

#include "WinBeep.h"

#include <cctype>
#include <cstring>

IMPLEMENT_DYNAMIC(CMaskEdit, CEdit)

namespace
{
bool IsPrintable(UINT nChar)
{
    return nChar < 0x80 && std::isprint(int(nChar));
}

bool IsDigit(UINT nChar)
{
    return nChar >= '0' && nChar <= '9';
}

bool IsLetter(UINT nChar)
{
    return nChar < 0x80 && std::isalpha(int(nChar));
}

// Whether the mask character lets nChar through; "0" is checked apart.
bool MaskAccepts(char chMask, UINT nChar)
{
    switch (chMask)
    {
    case '#':
        return IsDigit(nChar) || nChar == ' ' || nChar == 'k' || nChar == 'm';
    case '9':
        return IsDigit(nChar) || nChar == ' ';
    case '?':
        return IsLetter(nChar) || nChar == ' ';
    case 'a':
        return IsLetter(nChar) || IsDigit(nChar) || nChar == ' ';
    case 'A':
        return IsLetter(nChar) || IsDigit(nChar);
    case 'L':
        return IsLetter(nChar);
    case '&':
        return IsPrintable(nChar);
    default:
        return false;
    }
}
} // namespace

BEGIN_MESSAGE_MAP(CMaskEdit, CEdit)
ON_WM_CHAR()
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void CMaskEdit::SetMask(const char* lpMask, const char* lpLiteral, const char* lpValid)
{
    m_bUseMask = FALSE;
    if (lpMask == nullptr || *lpMask == '\0')
        return;
    m_strMask = lpMask;
    const int nLength = m_strMask.GetLength();
    m_strLiteral = lpLiteral != nullptr && int(std::strlen(lpLiteral)) == nLength ? lpLiteral : "";
    m_strValid = lpValid != nullptr ? lpValid : "";
    // The checks read what was typed by position: one place per mask
    // character, starting from the text the edit shows.
    CString strShown;
    if (GetSafeHwnd() != nullptr)
        GetWindowText(strShown);
    m_str = strShown.Left(nLength);
    while (m_str.GetLength() < nLength)
        m_str += ' ';
    m_bUseMask = TRUE;
}

int CMaskEdit::CaretPos() const
{
    int nStart = 0;
    int nEnd = 0;
    GetSel(nStart, nEnd);
    return nStart;
}

void CMaskEdit::SendChar(UINT nChar)
{
    m_bMaskKeyInProgress = TRUE;
    SendMessage(WM_CHAR, nChar, 1);
    m_bMaskKeyInProgress = FALSE;
}

BOOL CMaskEdit::CheckChar(UINT nChar)
{
    if (!m_bUseMask || !IsPrintable(nChar))
        return TRUE;
    int nPos = CaretPos();
    SetSel(nPos, nPos);
    SendMessage(EM_SCROLLCARET);
    if (nPos >= m_strMask.GetLength())
    {
        ::MessageBeep(0xFFFFFFFF);
        return FALSE;
    }
    if (!m_strLiteral.IsEmpty() && m_strLiteral[nPos] != '_')
    {
        SendChar(UINT(static_cast<unsigned char>(m_strLiteral[nPos])));
        nPos = CaretPos();
        if (nPos >= m_strMask.GetLength())
        {
            ::MessageBeep(0xFFFFFFFF);
            return FALSE;
        }
    }
    if (m_strValid.Find(char(nChar)) >= 0)
        return TRUE;
    const char chMask = m_strMask[nPos];
    if (chMask == '0')
    {
        if (!IsDigit(nChar))
        {
            ::MessageBeep(0xFFFFFFFF);
            return FALSE;
        }
        return CheckDigitLimits(nChar, nPos);
    }
    if (!MaskAccepts(chMask, nChar))
    {
        ::MessageBeep(0xFFFFFFFF);
        return FALSE;
    }
    return TRUE;
}

// Day up to 31 and month up to 12, or hour and minute up to their limits;
// a digit out of its limits is refused without a beep.
BOOL CMaskEdit::CheckDigitLimits(UINT nChar, int nPos) const
{
    const char ch = char(nChar);
    const char chFirst = m_isdate ? '3' : m_strHours[0];
    const char chSecond = m_isdate ? '1' : m_strHours[1];
    const char chThird = m_isdate ? '1' : m_strMins[0];
    const char chFourth = m_isdate ? '2' : m_strMins[1];
    switch (nPos)
    {
    case 0:
        return ch <= chFirst;
    case 1:
        return m_str[0] != chFirst || ch <= chSecond;
    case 3:
        return ch <= chThird;
    case 4:
        return m_str[3] != chThird || ch <= chFourth;
    default:
        return TRUE;
    }
}

void CMaskEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_bUseMask && (nChar == VK_INSERT || nChar == VK_DELETE))
        return;
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CMaskEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_bMaskKeyInProgress && !CheckChar(nChar))
        return;
    if (m_bUseMask)
    {
        if (nChar == VK_BACK)
        {
            OnBackspace();
            return;
        }
        if (IsPrintable(nChar))
        {
            // Overwrite: the character under the caret goes.
            const int nPos = CaretPos();
            SetSel(nPos, nPos + 1);
            SendMessage(EM_SCROLLCARET);
            SendMessage(WM_CLEAR);
            if (nPos < m_str.GetLength())
                m_str.SetAt(nPos, char(nChar));
        }
    }
    CEdit::OnChar(nChar, nRepCnt, nFlags);
    if (!m_bUseMask || m_bMaskKeyInProgress || m_strLiteral.IsEmpty())
        return;
    const int nPos = CaretPos();
    if (nPos < m_strLiteral.GetLength() && m_strLiteral[nPos] != '_')
        SendChar(UINT(static_cast<unsigned char>(m_strLiteral[nPos])));
}

// Backspace moves back over the fixed layout instead of deleting: with a
// backspace template the position left is written with its character.
void CMaskEdit::OnBackspace()
{
    int nStart = 0;
    int nEnd = 0;
    GetSel(nStart, nEnd);
    if (nStart != nEnd || nStart <= 0 || m_str.GetLength() < nStart)
    {
        ::MessageBeep(0xFFFFFFFF);
        return;
    }
    SendMessage(WM_KEYDOWN, VK_LEFT, 0);
    if (!m_strBackspace.IsEmpty() && nStart - 1 < m_strBackspace.GetLength())
    {
        SendChar(UINT(static_cast<unsigned char>(m_strBackspace[nStart - 1])));
        SendMessage(WM_KEYDOWN, VK_LEFT, 0);
    }
}

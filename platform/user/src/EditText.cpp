#include "EditText.h"

#include "WinCodePage.h"
#include "WinMbString.h"

#include <algorithm>
#include <cctype>

namespace
{
bool IsWordByte(char ch)
{
    const auto byte = static_cast<unsigned char>(ch);
    return byte >= 0x80 || std::isalnum(byte) || ch == '_';
}
} // namespace

std::size_t AnsiCharLength(unsigned char chLead)
{
    if (GetACP() == CP_UTF8)
    {
        if (chLead >= 0xF0 && chLead <= 0xF4)
            return 4;
        if (chLead >= 0xE0)
            return chLead <= 0xEF ? 3 : 1;
        return chLead >= 0xC2 ? 2 : 1;
    }
    return _ismbblead(chLead) ? 2 : 1;
}

void EditText::SetText(const std::string& text)
{
    m_text = text;
    m_nAnchor = 0;
    m_nCaret = 0;
    m_bCanUndo = false;
}

std::string EditText::GetSelectedText() const
{
    return m_text.substr(static_cast<std::size_t>(GetSelStart()),
                         static_cast<std::size_t>(GetSelEnd() - GetSelStart()));
}

int EditText::Clamp(int nPos) const
{
    nPos = std::clamp(nPos, 0, GetLength());
    // Onto the start of the character the position falls in.
    int nStart = 0;
    while (nStart < nPos)
    {
        const int nNext = NextChar(nStart);
        if (nNext > nPos)
            break;
        nStart = nNext;
    }
    return nStart;
}

void EditText::SetSel(int nStart, int nEnd)
{
    if (nStart < 0)
    {
        m_nAnchor = m_nCaret;
        return;
    }
    if (nEnd < 0)
        nEnd = GetLength();
    m_nAnchor = Clamp(nStart);
    m_nCaret = Clamp(nEnd);
}

void EditText::MoveCaret(int nPos, bool bExtend)
{
    m_nCaret = Clamp(nPos);
    if (!bExtend)
        m_nAnchor = m_nCaret;
}

void EditText::Remember()
{
    m_undoText = m_text;
    m_nUndoAnchor = m_nAnchor;
    m_nUndoCaret = m_nCaret;
    m_bCanUndo = true;
}

bool EditText::ReplaceSelection(const std::string& text, std::size_t nLimit, bool& bCut)
{
    const auto nStart = static_cast<std::size_t>(GetSelStart());
    const auto nEnd = static_cast<std::size_t>(GetSelEnd());
    const std::size_t nKept = m_text.size() - (nEnd - nStart);
    const std::size_t nRoom = nLimit > nKept ? nLimit - nKept : 0;
    // Cut on a character boundary of the new text.
    std::size_t nTake = 0;
    while (nTake < text.size())
    {
        const std::size_t nChar =
            std::min(AnsiCharLength(static_cast<unsigned char>(text[nTake])), text.size() - nTake);
        if (nTake + nChar > nRoom)
            break;
        nTake += nChar;
    }
    bCut = nTake < text.size();
    if (nTake == 0 && nStart == nEnd)
        return false;
    Remember();
    m_text.replace(nStart, nEnd - nStart, text, 0, nTake);
    m_nCaret = m_nAnchor = static_cast<int>(nStart + nTake);
    return true;
}

bool EditText::DeleteBackward()
{
    if (!HasSelection())
    {
        if (m_nCaret == 0)
            return false;
        m_nAnchor = PrevChar(m_nCaret);
    }
    bool bCut = false;
    return ReplaceSelection({}, m_text.size(), bCut);
}

bool EditText::DeleteForward()
{
    if (!HasSelection())
    {
        if (m_nCaret >= GetLength())
            return false;
        m_nAnchor = NextChar(m_nCaret);
    }
    bool bCut = false;
    return ReplaceSelection({}, m_text.size(), bCut);
}

bool EditText::Undo()
{
    if (!m_bCanUndo)
        return false;
    std::swap(m_text, m_undoText);
    std::swap(m_nAnchor, m_nUndoAnchor);
    std::swap(m_nCaret, m_nUndoCaret);
    return true;
}

int EditText::NextChar(int nPos) const
{
    if (nPos >= GetLength())
        return GetLength();
    // A line end is one step.
    if (m_text.compare(static_cast<std::size_t>(nPos), 2, "\r\n") == 0)
        return nPos + 2;
    const auto* p = reinterpret_cast<const unsigned char*>(m_text.c_str()) + nPos;
    const int nStep = static_cast<int>(_mbsinc(p) - p);
    return std::min(nPos + std::max(nStep, 1), GetLength());
}

int EditText::PrevChar(int nPos) const
{
    int nPrev = 0;
    for (int nAt = 0; nAt < nPos;)
    {
        nPrev = nAt;
        nAt = NextChar(nAt);
    }
    return nPrev;
}

int EditText::NextWord(int nPos) const
{
    const int nLength = GetLength();
    while (nPos < nLength && IsWordByte(m_text[nPos]))
        nPos = NextChar(nPos);
    while (nPos < nLength && !IsWordByte(m_text[nPos]))
        nPos = NextChar(nPos);
    return nPos;
}

int EditText::PrevWord(int nPos) const
{
    while (nPos > 0 && !IsWordByte(m_text[PrevChar(nPos)]))
        nPos = PrevChar(nPos);
    while (nPos > 0 && IsWordByte(m_text[PrevChar(nPos)]))
        nPos = PrevChar(nPos);
    return nPos;
}

bool GatherTypedChar(std::string& partial, unsigned char ch, std::string& typed)
{
    partial.push_back(static_cast<char>(ch));
    if (partial.size() < AnsiCharLength(static_cast<unsigned char>(partial[0])))
        return false;
    typed = std::move(partial);
    partial.clear();
    return true;
}

// The text of an edit control and its selection, apart from any window:
// positions are byte offsets on character boundaries of the ANSI code page,
// the selection runs from an anchor to the caret, and the last change can
// be undone.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

class EditText
{
public:
    const std::string& GetText() const { return m_text; }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    // The caret goes to the start and the undo step is forgotten.
    void SetText(const std::string& text);

    int GetSelStart() const { return std::min(m_nAnchor, m_nCaret); }
    int GetSelEnd() const { return std::max(m_nAnchor, m_nCaret); }
    int GetCaret() const { return m_nCaret; }
    bool HasSelection() const { return m_nAnchor != m_nCaret; }
    std::string GetSelectedText() const;
    // A negative start drops the selection at the caret; a negative end
    // means the end of the text. The caret goes to the end position.
    void SetSel(int nStart, int nEnd);
    // Moves the caret; with bExtend the anchor stays.
    void MoveCaret(int nPos, bool bExtend);

    // Replaces the selection, cutting the new text to what the limit (in
    // bytes) leaves room for; false when nothing changed. bCut tells whether
    // text was left out.
    bool ReplaceSelection(const std::string& text, std::size_t nLimit, bool& bCut);
    // Backspace and Delete: the selection, else one character.
    bool DeleteBackward();
    bool DeleteForward();
    bool CanUndo() const { return m_bCanUndo; }
    // Swaps the text with the one before the last change (so a second undo
    // redoes it).
    bool Undo();
    void ForgetUndo() { m_bCanUndo = false; }

    // Character and word boundaries around a position.
    int NextChar(int nPos) const;
    int PrevChar(int nPos) const;
    int NextWord(int nPos) const;
    int PrevWord(int nPos) const;

private:
    void Remember();
    int Clamp(int nPos) const;

    std::string m_text;
    int m_nAnchor = 0;
    int m_nCaret = 0;
    bool m_bCanUndo = false;
    std::string m_undoText;
    int m_nUndoAnchor = 0;
    int m_nUndoCaret = 0;
};

// The number of bytes the character starting with this byte takes in the
// ANSI code page (1 when the byte starts no longer character).
std::size_t AnsiCharLength(unsigned char chLead);

// A character of several bytes is typed one WM_CHAR per byte: collects them
// in partial and, once the last came, hands the whole character over in
// typed and returns true.
bool GatherTypedChar(std::string& partial, unsigned char ch, std::string& typed);

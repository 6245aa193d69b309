// An edit control whose input is checked character by character against a
// mask. With a mask, typing overwrites the character under the caret,
// literal characters of a template are inserted by themselves, and digits
// of day/month or hour/minute fields are kept within their limits.
//
// Mask characters: "#" digit, space, "k" or "m"; "9" digit or space; "?"
// letter or space; "a" letter, digit or space; "A" letter or digit; "L"
// letter; "&" any printable character; "0" a digit within the limits of
// its field; anything else accepts nothing.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

class ZENTIQ_API CMaskEdit : public CEdit
{
    DECLARE_DYNAMIC(CMaskEdit)

public:
    CMaskEdit() = default;

    // A null or empty mask leaves the edit unmasked. The literal template
    // counts only when as long as the mask ("_" marks a typed position);
    // valid characters are accepted everywhere.
    void SetMask(const char* lpMask, const char* lpLiteral = nullptr,
                 const char* lpValid = nullptr);
    // Whether ch may be typed at the caret; may move the caret and insert
    // literals.
    BOOL CheckChar(UINT nChar);
    // Feeds the control a character past the checks.
    void SendChar(UINT nChar);

    BOOL m_bUseMask = FALSE;
    // Day and month fields at positions 0-1 and 3-4, else hour and minute.
    BOOL m_isdate = FALSE;
    CString m_str; // what has been typed, one character per mask position
    CString m_strMask;
    CString m_strLiteral;
    CString m_strValid;
    BOOL m_bMaskKeyInProgress = FALSE;
    CString m_strHours = "47";
    CString m_strMins = "59";
    // When set, backspace writes its character for the position.
    CString m_strBackspace;

protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

private:
    int CaretPos() const;
    BOOL CheckDigitLimits(UINT nChar, int nPos) const;
    void OnBackspace();

    DECLARE_MESSAGE_MAP()
};

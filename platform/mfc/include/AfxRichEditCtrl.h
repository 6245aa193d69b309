// The MFC object of the rich edit control: thin members over its messages.
#pragma once

#include "AfxWnd.h"
#include "WinRichEdit.h"

class PLATFORMUI_API CRichEditCtrl : public CWnd
{
    DECLARE_DYNAMIC(CRichEditCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Selection and text.
    void GetSel(CHARRANGE& cr) const;
    void GetSel(long& nStartChar, long& nEndChar) const;
    void SetSel(CHARRANGE& cr);
    void SetSel(long nStartChar, long nEndChar);
    CString GetSelText() const;
    WORD GetSelectionType() const;
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE);
    long GetTextRange(int nFirst, int nLast, CString& refString) const;
    long GetTextLength() const;
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    BOOL CanPaste(UINT nFormat = 0) const;
    void LimitText(long nChars = 0);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);

    // Lines.
    int GetLineCount() const;
    int LineIndex(int nLine = -1) const;
    int LineLength(int nLine = -1) const;
    long LineFromChar(long nIndex) const;
    int GetLine(int nIndex, LPSTR lpszBuffer, int nMaxLength) const;

    // Formats and events.
    DWORD GetEventMask() const;
    DWORD SetEventMask(DWORD dwEventMask);
    DWORD GetDefaultCharFormat(CHARFORMATA& cf) const;
    DWORD GetSelectionCharFormat(CHARFORMATA& cf) const;
    BOOL SetDefaultCharFormat(CHARFORMATA& cf);
    BOOL SetSelectionCharFormat(CHARFORMATA& cf);
    BOOL SetParaFormat(PARAFORMAT& pf);
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr);
};

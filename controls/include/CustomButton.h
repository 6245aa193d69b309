// The base of fully custom-painted push buttons, check boxes, radio buttons
// and three-state boxes. It keeps the state bits itself, tracks the mouse
// and keyboard, answers the standard button messages, and hands painting
// to Draw with a CCustomButtonData. A subclass switches this on by
// answering true from IsCustom; until then the button behaves as a
// standard one.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

// What Draw needs to know of the button.
struct CCustomButtonData
{
    int bSelected = 0;
    int bIndeterminate = 0;
    int bHighlighted = 0;
    int bFocused = 0;
    int bEnabled = 0;
    CString strText;
};

class ZENTIQ_API CCustomButton : public CButton
{
    DECLARE_DYNAMIC(CCustomButton)

public:
    // The bits of the state word.
    enum : UINT
    {
        enSelected = 0x1,
        enIndeterminate = 0x2,
        enHighlighted = 0x4,
        enFocused = 0x8,
    };

    CCustomButton() = default;

    void SetSelectionState(BOOL bOn) { SetStateFlag(enSelected, bOn); }
    BOOL GetSelectionState() const { return GetStateFlag(enSelected); }
    void SetThreeState(BOOL bOn) { SetStateFlag(enIndeterminate, bOn); }
    BOOL IsThreeState() const { return GetStateFlag(enIndeterminate); }
    void SetHiliteState(BOOL bOn) { SetStateFlag(enHighlighted, bOn); }
    BOOL GetHiliteState() const { return GetStateFlag(enHighlighted); }
    void SetFocusState(BOOL bOn) { SetStateFlag(enFocused, bOn); }
    BOOL GetFocusState() const { return GetStateFlag(enFocused); }

    BOOL GetStateFlag(UINT nFlag) const { return (m_nState & nFlag) != 0; }
    // Sets or clears the bits and repaints at once.
    void SetStateFlag(UINT nFlag, BOOL bOn);

protected:
    // Paints the button; empty here.
    virtual void Draw(CDC* pDC, CRect rect, const CCustomButtonData& data);
    // False here: the button behaves as a standard one.
    virtual bool IsCustom() const;

    BOOL IsAuto() const;
    BOOL Is3State() const;
    BOOL IsCheck() const;
    BOOL IsRadio() const;
    BOOL InButtonRect(CPoint point) const;

    void Update(CDC* pDC);
    void DoBufferDraw(CDC* pDC);
    void DoDraw(CDC* pDC);
    void StartTracking();
    void EndTracking();
    // Tells the parent of every sibling that overlaps this button.
    void TellGroupClicked();

    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetState(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnClick(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);

    int m_bTracking = 0;
    UINT m_nState = 0;

private:
    UINT ButtonType() const { return GetStyle() & BS_TYPEMASK; }
    void Repaint();
    void CheckRadioGroup();

    DECLARE_MESSAGE_MAP()
};

// CColorCombo: an owner-drawn combo box (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS)
// of named colours, each drawn as a swatch beside its name, preloaded with a
// table of 16 colours. Each item's text is its name and its item data its
// COLORREF.
#pragma once

#include "AfxControls.h"
#include "ZentiqExport.h"

struct SColorAndName
{
    COLORREF m_crColor;
    char m_szName[16];
};

class ZENTIQ_API CColorCombo : public CComboBox
{
    DECLARE_DYNAMIC(CColorCombo)

public:
    // The colours every combo starts with, in list order.
    static SColorAndName ms_pColors[16];

    CColorCombo() = default;
    ~CColorCombo() override = default;

    // The new item's index, or CB_ERR / CB_ERRSPACE.
    int AddColor(LPCSTR lpszName, COLORREF crColor);
    // The first item of that name (ignoring case) or colour; false when none.
    bool RemoveColor(LPCSTR lpszName);
    bool RemoveColor(COLORREF crColor);
    // 0 and "" without a selection.
    COLORREF GetSelectedColorValue();
    LPCSTR GetSelectedColorName();
    // Every match is selected in turn, so the last one stays selected; no
    // match changes nothing.
    void SetSelectedColorValue(COLORREF crColor);
    void SetSelectedColorName(LPCSTR lpszName);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Loads the table once and selects its first colour.
    void InitializeColors();
    void FitItemHeight();

    float m_fSwatchFraction = 0.5f;
    bool m_bInitialized = false;
    CString m_strSelectedName;

private:
    // Between PreCreateWindow and WM_CREATE the list cannot take items yet.
    bool m_bCreating = false;

    DECLARE_MESSAGE_MAP()
};

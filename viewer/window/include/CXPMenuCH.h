// The owner-drawn menus of the image views' popups. CXPMenuCH draws its
// items as flat text on its own colours; CMenuCH, the submenus, adds a
// column for icons (bitmaps and check marks) and a column of accelerator
// texts. Each item's data is a record the menu owns: the label, the
// accelerator text and the bitmap; records go with the menu.
#pragma once

#include "AfxWin.h"
#include "QuillonExport.h"

// One item of an owner-drawn menu; its address is the item's data.
struct MenuItemRecord
{
    CString text;
    char* accelerator = nullptr;
    CBitmap* bitmap = nullptr;
    unsigned itemData = 0;
};

// The colours of an owner-drawn menu, the system's until set.
struct MenuColors
{
    COLORREF iconBackground = GetSysColor(COLOR_BTNFACE);
    COLORREF textBackground = GetSysColor(COLOR_MENU);
    COLORREF text = GetSysColor(COLOR_MENUTEXT);
    COLORREF disabledText = GetSysColor(COLOR_BTNFACE);
    COLORREF selectedBackground = GetSysColor(COLOR_BTNFACE);
    COLORREF selectedText = GetSysColor(COLOR_MENUTEXT);
};

class QUILLON_API CXPMenuCH : public CMenu
{
    DECLARE_DYNCREATE(CXPMenuCH)

public:
    // The frame of selected and checked items.
    static constexpr COLORREF FrameColor = RGB(64, 64, 128);

    CXPMenuCH() = default;
    ~CXPMenuCH() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Gives another menu these colours and this font.
    virtual void CopyStyleTo(CXPMenuCH* other) const;
    // An owner-drawn item holding a new record of the text.
    virtual BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);

    void SetIconBackgroundColor(COLORREF color) { m_Colors.iconBackground = color; }
    void SetTextBackgroundColor(COLORREF color) { m_Colors.textBackground = color; }
    void SetTextColor(COLORREF color) { m_Colors.text = color; }
    void SetDisableTextColor(COLORREF color) { m_Colors.disabledText = color; }
    void SetSelectedBackgroundColor(COLORREF color) { m_Colors.selectedBackground = color; }
    void SetSelectedTextColor(COLORREF color) { m_Colors.selectedText = color; }
    void SetColors(const MenuColors& colors) { m_Colors = colors; }
    // Not owned.
    void SetFont(CFont* font) { m_pFont = font; }

    const MenuColors& GetColors() const { return m_Colors; }
    CFont* GetFont() const { return m_pFont; }
    int GetRecordCount() const { return static_cast<int>(m_Records.GetCount()); }

protected:
    // A new record owned by the menu; the text up to the first TAB is the
    // label and the rest the accelerator text when split is asked.
    MenuItemRecord* NewRecord(const char* text, bool split);
    // The size of the label in the menu's font, and the font's height.
    CSize MeasureLabel(const MenuItemRecord* record, int* fontHeight) const;
    // The item of this menu carrying the record: MF_SEPARATOR, MF_POPUP.
    UINT GetItemFlags(ULONG_PTR data) const;
    void DrawLabel(CDC* pDC, const CString& text, CRect rect, COLORREF color) const;
    // The DC's state saved for the caller to restore, then the menu's font
    // chosen into it.
    int SaveDCWithFont(CDC* pDC) const;

    CPtrList m_Records;
    MenuColors m_Colors;
    CFont* m_pFont = nullptr;

private:
    void FreeRecords();
};

class QUILLON_API CMenuCH : public CXPMenuCH
{
    DECLARE_DYNCREATE(CMenuCH)

public:
    static constexpr int DefaultIconWidth = 20;
    // The accelerator text's place at the right of an item.
    static constexpr int AcceleratorWidth = 60;
    static constexpr int BitmapSize = 16;

    CMenuCH() = default;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void CopyStyleTo(CXPMenuCH* other) const override;
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr) override;
    // With a bitmap resource (0: none) and the caller's item data.
    BOOL AppendMenu(UINT flags, UINT_PTR id, const char* text, UINT bitmapId, unsigned itemData);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, const char* text = nullptr);

    void SetIconWidth(int width) { m_nIconWidth = width; }
    int GetIconWidth() const { return m_nIconWidth; }

private:
    void DrawSeparator(CDC* pDC, const CRect& item) const;
    void DrawCheckMark(CDC* pDC, const CRect& item) const;
    void DrawBitmap(CDC* pDC, const CRect& item, CBitmap* bitmap) const;

    int m_nIconWidth = DefaultIconWidth;
};

// Draws the popup menus of a frame owner-drawn: the toolbar button image of
// each command beside its text, 3-D check marks, and the names of the
// frame's accelerator keys after a tab. It hooks the frame, converts each
// popup to owner-drawn items as it opens (WM_INITMENUPOPUP) and converts
// them back when the menu closes.
#pragma once

#include "SubclassWnd.h"

#include <set>

class ZENTIQ_API CCoolMenuManager : public CSubclassWnd
{
    DECLARE_DYNAMIC(CCoolMenuManager)

public:
    CCoolMenuManager();
    ~CCoolMenuManager() override;

    BOOL m_bShowButtons = TRUE;                 // convert menus to owner-drawn items
    BOOL m_bAutoAccel = TRUE;                   // append accelerator names to item texts
    BOOL m_bUseDrawState = FALSE;               // disabled images through DrawState
    BOOL m_bDrawDisabledButtonsInColor = FALSE; // a colour embossing mask

    void Install(CFrameWnd* pFrame);
    // FALSE for a missing bitmap or toolbar resource, and for a toolbar
    // whose image size differs from the first one's.
    BOOL LoadToolbar(UINT nID);
    BOOL LoadToolbars(const UINT* arID, int n);

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    virtual void Destroy();
    // Loads the toolbars again, so that images follow new system colours.
    virtual void Refresh();
    void DestroyAccel();

    // -1 when the command has no image.
    int GetButtonIndex(WORD nID);
    // The last entry of the accelerator copy for the command; its cmd word
    // holds the distance back to the previous entry for the command (0: none).
    ACCEL* GetAccel(WORD nID);

    // The check-mark bitmap of radio items: a black dot on white.
    static HBITMAP GetMFCDotBitmap();
    static void FixMFCDotBitmap();

protected:
    // The data of an item this manager converted.
    struct CMyItemData
    {
        DWORD magicNum = 0x3064696D; // "mid0"
        CString text;                // the item's text without owner draw
        UINT fType = 0;              // the item's type flags
        int iButton = -1;            // image index, -1 for none
    };

    virtual void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    virtual BOOL OnMeasureItem(LPMEASUREITEMSTRUCT lpms);
    virtual BOOL OnDrawItem(LPDRAWITEMSTRUCT lpds);
    virtual LONG OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);

    void LoadAccel(HACCEL hAccel);
    BOOL AppendAccelName(CString& sItemName, UINT nID);
    void ConvertMenu(CMenu* pMenu, UINT nIndex, BOOL bSysMenu, BOOL bShowButtons);
    void DrawMenuText(CDC& dc, CRect rc, CString text, COLORREF color);
    BOOL Draw3DCheckmark(CDC& dc, const CRect& rc, BOOL bSelected, HBITMAP hbmCheck);
    CFont* GetMenuFont();
    // Only data this manager made counts: the data of other owner-drawn
    // items is never read.
    CMyItemData* OwnData(ULONG_PTR dwItemData) const;

    CFrameWnd* m_pFrame = nullptr;
    CUIntArray m_arToolbarID;
    CImageList m_ilButtons;
    CMapWordToPtr m_mapIDtoImage;
    CMapWordToPtr m_mapIDtoAccel;
    HACCEL m_hAccel = nullptr;
    ACCEL* m_pAccel = nullptr;
    CPtrList m_menusToConvert{10};
    CSize m_szBitmap{0, 0};
    CSize m_szButton{0, 0};
    CFont m_fontMenu;

private:
    BOOL ConvertItem(CMenu* pMenu, UINT nPos, BOOL bSysMenu, BOOL bShowButtons);
    void DrawButtonImage(CDC& dc, const CRect& rcButn, int iButton, UINT nState);
    void DrawEmbossed(CDC& dc, int iButton, CPoint p);
    void DrawItemText(CDC& dc, const CRect& rcItem, const CMyItemData& data, UINT nState);

    std::set<CMyItemData*> m_itemData;
};

// The control gallery: one window holding every control of the platform
// layer and of the control library, each in a typical state, for a person
// to look at. The program shows it on the X display; the tests build it
// headless and keep its pictures.
#pragma once

#include "AfxListCtrl.h"
#include "AfxWin.h"
#include "ButtonEx.h"
#include "ColorCombo.h"
#include "CreditStatic.h"
#include "CustomButton.h"
#include "DIBStatic.h"
#include "DatePicker.h"
#include "FlatEdit.h"
#include "ImagePad.h"
#include "Label.h"
#include "MaskEdit.h"
#include "MenuButton.h"
#include "ScrollPict.h"
#include "SinusLabel.h"
#include "SnakeCtrl.h"
#include "ThreeDText.h"

#include <memory>
#include <vector>

// A control of the gallery, by the name it is shown under.
struct GalleryItem
{
    const char* pszName;
    HWND hWnd;
};

// The command of the menu item and button that open the property sheet.
constexpr UINT ID_GALLERY_SHEET = 40001;

class CGalleryWindow : public CWnd
{
public:
    CGalleryWindow();
    ~CGalleryWindow() override;

    // The top-level window with every control; FALSE when any fails.
    BOOL CreateGallery();
    std::vector<GalleryItem> GetItems() const;
    // The property sheet of the gallery, modal.
    INT_PTR ShowPropertySheet();
    // Stops the controls that move by themselves.
    void StopAnimations();

    CTreeCtrl m_tree;
    CTabCtrl m_tab;
    HWND m_hStatus = nullptr;

protected:
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSheet();
    afx_msg void OnExit();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateStandardControls();
    BOOL CreateCommonControls();
    BOOL CreateLibraryControls();
    BOOL CreateBars();
    CWnd* Add(std::unique_ptr<CWnd> pWnd, const char* pszName);
    void FillTree();
    void FillList();

    CMenu m_menu;
    CFont m_font;
    HIMAGELIST m_hImages = nullptr;
    std::vector<std::unique_ptr<CWnd>> m_owned;
    std::vector<GalleryItem> m_items;
    CToolBarCtrl m_toolbar;
    CListCtrl m_list;
    CProgressCtrl m_progress;
    CSnakeCtrl* m_pSnake = nullptr;
    CSinusLabel* m_pMarquee = nullptr;
    CCreditStatic* m_pCredits = nullptr;
    std::vector<HDIB> m_dibs;
};

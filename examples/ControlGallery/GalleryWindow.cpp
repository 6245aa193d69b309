#include "GalleryWindow.h"

#include "DibApi.h"
#include "GridCtrl.h"
#include "ResourceRegistry.h"
#include "WinDateTimePicker.h"
#include "WinTreeView.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
constexpr UINT kLinkPageId = 601;
constexpr UINT kViewPageId = 602;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr int kToolbarId = 100;
constexpr int kStatusId = 101;
const CRect kTabPlace(338, 410, 644, 500);

constexpr DialogItemTemplate kLinkItems[] = {
    {"Static", "Description:", 0, kChild, 0, 7, 9, 50, 8},
    {"Edit", "Study list", 1005, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 60, 7, 140,
     12},
    {"Static", "Target:", 0, kChild, 0, 7, 27, 50, 8},
    {"Edit", "http://www.example.org/", 1007, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0,
     60, 25, 140, 12},
};
constexpr DialogItemTemplate kViewItems[] = {
    {"Button", "Show annotations", 1010, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 7, 7, 100, 10},
    {"Button", "Show rulers", 1011, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 7, 21, 100, 10},
};
constexpr DialogTemplate kLinkPage{
    WS_CHILD | WS_CAPTION | DS_SETFONT, 0, 0, 0, 210, 50, "Link", "MS Shell Dlg", 8, kLinkItems};
constexpr DialogTemplate kViewPage{
    WS_CHILD | WS_CAPTION | DS_SETFONT, 0, 0, 0, 210, 50, "View", "MS Shell Dlg", 8, kViewItems};
const ResourceDialogEntry kDialogs[] = {{MAKEINTRESOURCE(kLinkPageId), &kLinkPage},
                                        {MAKEINTRESOURCE(kViewPageId), &kViewPage}};
const ResourceRegistrar kRegistrar({.dialogs = kDialogs});

// A check box painted as a switch: a track with a knob at the left (off)
// or at the right (on), the text after it.
class CSwitchButton : public CCustomButton
{
protected:
    bool IsCustom() const override { return true; }
    void Draw(CDC* pDC, CRect rect, const CCustomButtonData& data) override
    {
        const CRect track(rect.left + 2, rect.top + 5, rect.left + 34, rect.top + 19);
        pDC->FillSolidRect(&track, data.bSelected ? RGB(0, 150, 70) : RGB(160, 160, 160));
        const int xKnob = data.bSelected ? track.right - 14 : track.left;
        const CRect knob(xKnob, track.top, xKnob + 14, track.bottom);
        pDC->FillSolidRect(&knob, RGB(255, 255, 255));
        pDC->Draw3dRect(&knob, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        pDC->SetBkMode(TRANSPARENT);
        CRect text = rect;
        text.left = track.right + 6;
        pDC->DrawText(data.strText, &text, DT_SINGLELINE | DT_VCENTER);
    }
};

// A DIB of a gradient with a frame, for the picture controls.
HDIB MakePicture(int nWidth, int nHeight, COLORREF from, COLORREF to)
{
    const HDIB hDib = CreateDIB(static_cast<DWORD>(nWidth), static_cast<DWORD>(nHeight), 24);
    if (hDib == nullptr)
        return nullptr;
    char* header = static_cast<char*>(GlobalLock(hDib));
    auto* bits = reinterpret_cast<BYTE*>(FindDIBBits(header));
    const int nStride = ((nWidth * 3 + 3) / 4) * 4;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
        {
            const bool bFrame = x < 2 || y < 2 || x >= nWidth - 2 || y >= nHeight - 2;
            const int t = nWidth > 1 ? x * 255 / (nWidth - 1) : 0;
            const auto mix = [t](int a, int b) { return static_cast<BYTE>(a + (b - a) * t / 255); };
            BYTE* pixel = bits + nStride * y + 3 * x;
            pixel[0] = bFrame ? 0 : mix(GetBValue(from), GetBValue(to));
            pixel[1] = bFrame ? 0 : mix(GetGValue(from), GetGValue(to));
            pixel[2] = bFrame ? 0 : mix(GetRValue(from), GetRValue(to));
        }
    GlobalUnlock(hDib);
    return hDib;
}

// An image list of solid squares, for the toolbar, tree and tabs.
HIMAGELIST MakeImages()
{
    const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 140, 40), RGB(40, 40, 200),
                                RGB(220, 180, 0)};
    const HIMAGELIST hImages = ImageList_Create(16, 16, ILC_COLOR24, 4, 0);
    const HDC hScreen = GetDC(nullptr);
    const HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 16 * 4, 16);
    ReleaseDC(nullptr, hScreen);
    const HDC hdc = CreateCompatibleDC(nullptr);
    const HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    for (int i = 0; i < 4; ++i)
    {
        const RECT outer{16 * i, 0, 16 * i + 16, 16};
        FillRect(hdc, &outer, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        const RECT inner{16 * i + 2, 2, 16 * i + 14, 14};
        const HBRUSH hBrush = CreateSolidBrush(colours[i]);
        FillRect(hdc, &inner, hBrush);
        DeleteObject(hBrush);
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    ImageList_Add(hImages, hBitmap, nullptr);
    DeleteObject(hBitmap);
    return hImages;
}
} // namespace

BEGIN_MESSAGE_MAP(CGalleryWindow, CWnd)
ON_WM_DESTROY()
ON_WM_SIZE()
ON_COMMAND(ID_GALLERY_SHEET, OnSheet)
ON_COMMAND(ID_APP_EXIT, OnExit)
END_MESSAGE_MAP()

CGalleryWindow::CGalleryWindow() = default;

CGalleryWindow::~CGalleryWindow()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
    if (m_hImages != nullptr)
        ImageList_Destroy(m_hImages);
}

BOOL CGalleryWindow::CreateGallery()
{
    m_menu.CreateMenu();
    CMenu file;
    file.CreatePopupMenu();
    file.AppendMenu(MF_STRING, ID_GALLERY_SHEET, "&Property sheet...");
    file.AppendMenu(MF_SEPARATOR, 0, static_cast<LPCSTR>(nullptr));
    file.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
    m_menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), "&File");
    if (!CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, GetSysColorBrush(COLOR_BTNFACE)),
                  "Control gallery", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 1010, 690,
                  nullptr, m_menu.GetSafeHmenu()))
        return FALSE;
    m_font.CreatePointFont(90, "DejaVu Sans");
    m_hImages = MakeImages();
    return CreateBars() && CreateStandardControls() && CreateCommonControls() &&
           CreateLibraryControls();
}

CWnd* CGalleryWindow::Add(std::unique_ptr<CWnd> pWnd, const char* pszName)
{
    CWnd* pRaw = pWnd.get();
    if (pRaw->m_hWnd == nullptr)
        return nullptr;
    pRaw->SetFont(&m_font, FALSE);
    m_items.push_back({pszName, pRaw->m_hWnd});
    m_owned.push_back(std::move(pWnd));
    return pRaw;
}

std::vector<GalleryItem> CGalleryWindow::GetItems() const
{
    return m_items;
}

BOOL CGalleryWindow::CreateBars()
{
    if (!m_toolbar.Create(kChild | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, CRect(0, 0, 0, 0),
                          this, kToolbarId))
        return FALSE;
    m_toolbar.SetImageList(m_hImages);
    const TBBUTTON buttons[] = {
        {0, ID_GALLERY_SHEET, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
        {0, 0, 0, TBSTYLE_SEP, {}, 0, 0},
        {1, 40010, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECK, {}, 0, 0},
        {2, 40011, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
        {3, 40012, 0, TBSTYLE_BUTTON, {}, 0, 0},
    };
    m_toolbar.AddButtons(static_cast<int>(std::size(buttons)), buttons);
    m_toolbar.AutoSize();
    m_items.push_back({"toolbar", m_toolbar.m_hWnd});

    m_hStatus =
        ::CreateWindowExA(0, STATUSCLASSNAMEA, "", kChild | SBARS_SIZEGRIP, 0, 0, 0, 0, m_hWnd,
                          reinterpret_cast<HMENU>(UINT_PTR(kStatusId)), nullptr, nullptr);
    if (m_hStatus == nullptr)
        return FALSE;
    ::SendMessageA(m_hStatus, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    const int edges[] = {400, 520, 640, 760, -1};
    ::SendMessageA(m_hStatus, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(edges));
    ::SendMessageA(m_hStatus, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Ready"));
    ::SendMessageA(m_hStatus, SB_SETTEXTA, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("Raised"));
    ::SendMessageA(m_hStatus, SB_SETTEXTA, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("Plain"));
    ::SendMessageA(m_hStatus, SB_SETTEXTA, 3 | SBT_OWNERDRAW, RGB(0, 120, 200));
    ::SendMessageA(m_hStatus, SB_SETTEXTA, 4, reinterpret_cast<LPARAM>("NUM"));
    m_items.push_back({"status bar", m_hStatus});
    return TRUE;
}

BOOL CGalleryWindow::CreateStandardControls()
{
    const auto button =
        [this](const char* pszText, DWORD dwStyle, CRect rect, UINT nId, const char* pszName)
    {
        auto pButton = std::make_unique<CButton>();
        pButton->Create(pszText, kChild | WS_TABSTOP | dwStyle, rect, this, nId);
        return static_cast<CButton*>(Add(std::move(pButton), pszName));
    };
    auto group = std::make_unique<CButton>();
    group->Create("Standard controls", kChild | BS_GROUPBOX | WS_CLIPSIBLINGS,
                  CRect(8, 40, 318, 600), this, 0);
    Add(std::move(group), "group box");
    button("Push", BS_PUSHBUTTON, CRect(20, 62, 120, 88), 1001, "push button");
    button("Default", BS_DEFPUSHBUTTON, CRect(130, 62, 230, 88), 1002, "default button");
    if (CButton* pCheck =
            button("Check box", BS_AUTOCHECKBOX, CRect(20, 96, 150, 116), 1003, "check box"))
        pCheck->SetCheck(BST_CHECKED);
    if (CButton* pThree = button("Three states", BS_AUTO3STATE, CRect(160, 96, 300, 116), 1004,
                                 "three-state check box"))
        pThree->SetCheck(BST_INDETERMINATE);
    if (CButton* pRadio = button("Radio one", BS_AUTORADIOBUTTON | WS_GROUP,
                                 CRect(20, 120, 150, 140), 1005, "radio button"))
        pRadio->SetCheck(BST_CHECKED);
    button("Radio two", BS_AUTORADIOBUTTON, CRect(160, 120, 300, 140), 1006, "second radio button");
    button("Disabled", BS_PUSHBUTTON | WS_DISABLED, CRect(20, 146, 120, 172), 1007,
           "disabled button");

    auto label = std::make_unique<CStatic>();
    label->Create("Static text:", kChild | SS_LEFT, CRect(20, 184, 110, 202), this, 1010);
    Add(std::move(label), "static");
    auto edit = std::make_unique<CEdit>();
    edit->Create(kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, CRect(115, 180, 300, 204), this,
                 1011);
    edit->SetWindowText("Edit control");
    Add(std::move(edit), "edit");

    auto list = std::make_unique<CListBox>();
    list->Create(kChild | WS_TABSTOP | WS_BORDER | LBS_NOTIFY, CRect(20, 214, 150, 330), this,
                 1012);
    for (const char* pszItem : {"Patient", "Study", "Series", "Image", "Frame"})
        list->AddString(pszItem);
    list->SetCurSel(2);
    Add(std::move(list), "list box");
    auto combo = std::make_unique<CComboBox>();
    combo->Create(kChild | WS_TABSTOP | CBS_DROPDOWN, CRect(160, 214, 300, 330), this, 1013);
    for (const char* pszItem : {"Axial", "Coronal", "Sagittal"})
        combo->AddString(pszItem);
    combo->SetCurSel(0);
    Add(std::move(combo), "combo box");
    auto dropList = std::make_unique<CComboBox>();
    dropList->Create(kChild | WS_TABSTOP | CBS_DROPDOWNLIST, CRect(160, 250, 300, 360), this, 1014);
    for (const char* pszItem : {"CT", "MR", "US"})
        dropList->AddString(pszItem);
    dropList->SetCurSel(1);
    Add(std::move(dropList), "drop-down list");

    auto horz = std::make_unique<CScrollBar>();
    horz->Create(kChild | SBS_HORZ, CRect(20, 340, 300, 357), this, 1015);
    horz->SetScrollRange(0, 100, FALSE);
    horz->SetScrollPos(30);
    Add(std::move(horz), "horizontal scroll bar");
    auto vert = std::make_unique<CScrollBar>();
    vert->Create(kChild | SBS_VERT, CRect(20, 366, 37, 480), this, 1016);
    vert->SetScrollRange(0, 100, FALSE);
    vert->SetScrollPos(70);
    Add(std::move(vert), "vertical scroll bar");
    button("Property sheet...", BS_PUSHBUTTON, CRect(60, 366, 200, 392), ID_GALLERY_SHEET,
           "sheet button");
    return TRUE;
}

void CGalleryWindow::FillList()
{
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, "Name", LVCFMT_LEFT, 110);
    m_list.InsertColumn(1, "Modality", LVCFMT_LEFT, 70);
    m_list.InsertColumn(2, "Images", LVCFMT_LEFT, 60);
    const char* rows[][3] = {{"Chest", "CT", "312"},
                             {"Head", "MR", "96"},
                             {"Knee", "MR", "48"},
                             {"Abdomen", "US", "12"}};
    for (int i = 0; i < 4; ++i)
    {
        m_list.InsertItem(i, rows[i][0]);
        m_list.SetItemText(i, 1, rows[i][1]);
        m_list.SetItemText(i, 2, rows[i][2]);
    }
    m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CGalleryWindow::FillTree()
{
    m_tree.SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_hImages));
    const HTREEITEM hPatient = m_tree.InsertItem("Patient", 0, 0);
    const HTREEITEM hStudy = m_tree.InsertItem("CT chest", 1, 1, hPatient);
    const HTREEITEM hSeries = m_tree.InsertItem("Series 1", 2, 2, hStudy);
    m_tree.InsertItem("Image 1", 3, 3, hSeries);
    m_tree.InsertItem("Image 2", 3, 3, hSeries);
    m_tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN, "Series 2", 2, 2,
                      0, 0, 0, hStudy, TVI_LAST);
    TVITEMA more{};
    more.mask = TVIF_CHILDREN | TVIF_HANDLE;
    more.hItem = m_tree.GetNextSiblingItem(m_tree.GetChildItem(hStudy));
    more.cChildren = 1;
    m_tree.SetItem(&more);
    m_tree.InsertItem("MR head", 1, 1, hPatient);
    m_tree.EnsureVisible(m_tree.GetChildItem(hSeries));
    m_tree.SelectItem(hSeries);
}

BOOL CGalleryWindow::CreateCommonControls()
{
    auto group = std::make_unique<CButton>();
    group->Create("Common controls", kChild | BS_GROUPBOX | WS_CLIPSIBLINGS,
                  CRect(326, 40, 656, 600), this, 0);
    Add(std::move(group), "common group box");
    if (!m_list.Create(kChild | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS,
                       CRect(338, 62, 644, 172), this, 2001))
        return FALSE;
    m_list.SetFont(&m_font, FALSE);
    FillList();
    m_items.push_back({"list view", m_list.m_hWnd});
    if (!m_tree.Create(kChild | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                           TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                       CRect(338, 182, 488, 400), this, 2002))
        return FALSE;
    m_tree.SetFont(&m_font, FALSE);
    FillTree();
    m_items.push_back({"tree view", m_tree.m_hWnd});
    if (!m_tab.Create(kChild | WS_TABSTOP | TCS_TOOLTIPS | WS_CLIPSIBLINGS, kTabPlace, this, 2003))
        return FALSE;
    m_tab.SetFont(&m_font, FALSE);
    m_tab.SetImageList(CImageList::FromHandle(m_hImages));
    m_tab.InsertItem(0, "Images", 0);
    m_tab.InsertItem(1, "Series", 1);
    m_tab.InsertItem(2, "Study");
    m_items.push_back({"tab control", m_tab.m_hWnd});
    CRect display = kTabPlace;
    m_tab.AdjustRect(FALSE, &display);
    auto inTab = std::make_unique<CStatic>();
    inTab->Create("The images of the series show here.", kChild | SS_CENTER, display, this, 2004);
    Add(std::move(inTab), "tab page text");

    if (!m_progress.Create(kChild | PBS_SMOOTH, CRect(498, 182, 644, 200), this, 2005))
        return FALSE;
    m_progress.SetRange(0, 100);
    m_progress.SetPos(60);
    m_items.push_back({"progress bar", m_progress.m_hWnd});
    const HWND hPicker = ::CreateWindowExA(
        0, DATETIMEPICK_CLASSA, "", kChild | WS_TABSTOP | DTS_SHOWNONE | DTS_UPDOWN, 498, 210, 146,
        24, m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(2006)), nullptr, nullptr);
    if (hPicker == nullptr)
        return FALSE;
    ::SendMessageA(hPicker, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    SYSTEMTIME day{};
    day.wYear = 2024;
    day.wMonth = 3;
    day.wDay = 10;
    ::SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day));
    m_items.push_back({"date picker", hPicker});

    // The rich edit shows when this build of the platform has it.
    WNDCLASSA richEdit{};
    if (::GetClassInfoA(nullptr, "RichEdit20A", &richEdit))
    {
        const HWND hRich =
            ::CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "Rich edit: {script}",
                              kChild | WS_TABSTOP | ES_MULTILINE, 338, 508, 306, 84, m_hWnd,
                              reinterpret_cast<HMENU>(UINT_PTR(2007)), nullptr, nullptr);
        if (hRich != nullptr)
            m_items.push_back({"rich edit", hRich});
    }
    return TRUE;
}

BOOL CGalleryWindow::CreateLibraryControls()
{
    auto group = std::make_unique<CButton>();
    group->Create("Control library", kChild | BS_GROUPBOX | WS_CLIPSIBLINGS,
                  CRect(664, 40, 994, 600), this, 0);
    Add(std::move(group), "library group box");

    auto flat = std::make_unique<CButtonEx>();
    flat->Create("Flat", kChild, CRect(676, 62, 766, 90), this, 3001);
    Add(std::move(flat), "flat button");
    auto raised = std::make_unique<CButtonEx>();
    raised->Create("Raised", kChild, CRect(774, 62, 874, 90), this, 3002);
    raised->SetFlat(FALSE);
    Add(std::move(raised), "raised button");
    auto menuButton = std::make_unique<CMenuButton>();
    menuButton->Create("", kChild | BS_OWNERDRAW, CRect(882, 62, 912, 90), this, 3003);
    Add(std::move(menuButton), "menu button");
    auto check = std::make_unique<CSwitchButton>();
    check->Create("Switch", kChild | BS_AUTOCHECKBOX, CRect(676, 96, 786, 120), this, 3004);
    check->SendMessage(BM_SETCHECK, BST_CHECKED);
    Add(std::move(check), "custom check box");
    auto threeD = std::make_unique<CThreeDTextButton>();
    threeD->Create("Scan", kChild, CRect(794, 96, 982, 136), this, 3005);
    Add(std::move(threeD), "3-D button");
    auto engraved = std::make_unique<CThreeDStaticText>();
    engraved->Create("Engraved", kChild, CRect(676, 140, 876, 180), this, 3006);
    Add(std::move(engraved), "engraved static");

    auto label = std::make_unique<CLabel>();
    label->Create("http://www.example.org/", kChild, CRect(676, 186, 982, 212), this, 3007);
    label->SetBkColor(RGB(0, 0, 120)).SetTextColor(RGB(255, 255, 0)).SetFontBold(TRUE);
    label->SetFontUnderline(TRUE).SetSunken(TRUE);
    Add(std::move(label), "label");
    auto snake = std::make_unique<CSnakeCtrl>();
    snake->Create("", kChild, CRect(676, 218, 982, 236), this, 3008);
    snake->SetWindowTextA("Busy");
    snake->SetElapse(0);
    snake->Start();
    for (int i = 0; i < 40; ++i)
        snake->StepIt();
    m_pSnake = static_cast<CSnakeCtrl*>(Add(std::move(snake), "snake"));
    auto marquee = std::make_unique<CSinusLabel>();
    marquee->Create("", kChild, CRect(676, 242, 982, 300), this, 3009);
    marquee->SetText("Pelivo viewer ");
    marquee->Start();
    m_pMarquee = static_cast<CSinusLabel*>(Add(std::move(marquee), "marquee"));

    auto flatEdit = std::make_unique<CFlatEdit>();
    flatEdit->Create(kChild | WS_TABSTOP, CRect(676, 306, 826, 328), this, 3010);
    flatEdit->SetWindowText("Flat edit");
    Add(std::move(flatEdit), "flat edit");
    auto maskEdit = std::make_unique<CMaskEdit>();
    maskEdit->Create(kChild | WS_TABSTOP | WS_BORDER, CRect(834, 306, 982, 330), this, 3011);
    maskEdit->SetMask("00/00", "__/__");
    maskEdit->m_isdate = TRUE;
    for (const char ch : {'2', '4', '1', '2'})
        maskEdit->SendMessage(WM_CHAR, UINT(ch), 1);
    Add(std::move(maskEdit), "masked edit");
    auto colours = std::make_unique<CColorCombo>();
    colours->Create(kChild | WS_TABSTOP | CBS_DROPDOWNLIST, CRect(676, 336, 826, 500), this, 3012);
    Add(std::move(colours), "colour combo");

    // The date picker takes over a placeholder item.
    auto placeholder = std::make_unique<CStatic>();
    placeholder->Create("", kChild, CRect(834, 336, 982, 360), this, 3013);
    placeholder->UnsubclassWindow();
    auto datePicker = std::make_unique<CDatePicker>();
    *datePicker->GetCurDate() = COleDateTime(2024, 3, 10, 0, 0, 0);
    if (datePicker->SetData(3013, this, TRUE, FALSE))
        Add(std::move(datePicker), "library date picker");

    auto dibStatic = std::make_unique<CDIBStatic>();
    dibStatic->Create("", kChild, CRect(676, 368, 776, 448), this, 3014);
    if (const HDIB hDib = MakePicture(96, 72, RGB(255, 200, 0), RGB(0, 80, 200)))
    {
        CMemFile file;
        SaveDIB(hDib, file);
        DestroyDIB(hDib);
        file.SeekToBegin();
        dibStatic->LoadDib(file);
    }
    Add(std::move(dibStatic), "picture static");
    auto scrollPict = std::make_unique<CScrollPict>();
    scrollPict->CreateEx(0, nullptr, "", kChild | WS_BORDER, CRect(784, 368, 884, 448), this, 3015);
    scrollPict->SetOwnership(TRUE, FALSE);
    scrollPict->EnableScroll(TRUE);
    scrollPict->SetImage(MakePicture(160, 120, RGB(0, 160, 80), RGB(240, 240, 240)), nullptr);
    Add(std::move(scrollPict), "scrolling picture");
    auto credits = std::make_unique<CCreditStatic>();
    credits->Create("", kChild, CRect(892, 368, 982, 448), this, 3016);
    credits->SetCredits("Control gallery|Pelivo|Quillon|Zentiq");
    credits->StartScrolling();
    m_pCredits = static_cast<CCreditStatic*>(Add(std::move(credits), "credits"));

    auto pad = std::make_unique<CImagePad>();
    pad->Create(kChild | WS_BORDER, CRect(676, 456, 982, 590), this, 3017);
    pad->SetOwnership(TRUE, FALSE);
    pad->InsertItem(MakePicture(64, 48, RGB(255, 0, 0), RGB(255, 255, 0)), nullptr, 1, "Red");
    pad->InsertItem(MakePicture(64, 48, RGB(0, 160, 0), RGB(0, 255, 255)), nullptr, 2, "Green");
    pad->InsertItem(MakePicture(64, 48, RGB(0, 0, 200), RGB(255, 0, 255)), nullptr, 3, "Blue");
    pad->SetFixLayout(1, 3);
    pad->SetCurSel(1);
    Add(std::move(pad), "image pad");

    // The grid sits in the free part of the first column: headings, a
    // coloured row, a cell in its own font, scrolled a few rows down.
    auto grid = std::make_unique<CGridCtrl>(40, 5, 1, 1);
    grid->Create(CRect(44, 400, 306, 590), this, 3018, kChild | WS_BORDER | WS_TABSTOP);
    const char* headings[] = {"", "Modality", "Images", "Slice", "Note"};
    for (int col = 0; col < 5; ++col)
        grid->SetItemText(0, col, headings[col]);
    for (int row = 1; row < 40; ++row)
    {
        grid->SetItemText(row, 0, std::to_string(row).c_str());
        grid->SetItemText(row, 1, row % 3 == 0 ? "CT" : "MR");
        grid->SetItemText(row, 2, std::to_string(row * 12).c_str());
        grid->SetItemText(row, 3, (std::to_string(row * 2.5).substr(0, 4) + " mm").c_str());
        grid->SetItemText(row, 4, row == 5 ? "a note longer than its cell" : "");
    }
    for (int col = 1; col < 5; ++col)
        grid->SetItemBkColour(6, col, RGB(255, 255, 200));
    LOGFONT bold = *grid->GetItemFont(4, 1);
    bold.lfWeight = FW_BOLD;
    grid->SetItemFont(4, 1, &bold);
    grid->AutoSize();
    grid->SetSelectedRange(7, 1, 8, 3);
    grid->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    grid->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    Add(std::move(grid), "grid");
    return TRUE;
}

void CGalleryWindow::StopAnimations()
{
    if (m_pMarquee != nullptr)
        m_pMarquee->Stop();
    if (m_pSnake != nullptr)
        m_pSnake->Stop();
}

INT_PTR CGalleryWindow::ShowPropertySheet()
{
    CPropertyPage link(kLinkPageId);
    CPropertyPage view(kViewPageId);
    CPropertySheet sheet("Gallery Properties", this);
    sheet.AddPage(&link);
    sheet.AddPage(&view);
    return sheet.DoModal();
}

void CGalleryWindow::OnSheet()
{
    ShowPropertySheet();
}

void CGalleryWindow::OnExit()
{
    DestroyWindow();
}

void CGalleryWindow::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_toolbar.m_hWnd != nullptr)
        m_toolbar.AutoSize();
    if (m_hStatus != nullptr)
        ::SendMessageA(m_hStatus, WM_SIZE, 0, 0);
}

void CGalleryWindow::OnDestroy()
{
    StopAnimations();
    CWnd::OnDestroy();
}

BOOL CGalleryWindow::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
    if (pHeader->code == TTN_NEEDTEXTA && pHeader->hwndFrom == m_tab.m_hWnd)
    {
        auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        char szTitle[32] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = szTitle;
        item.cchTextMax = sizeof(szTitle);
        m_tab.GetItem(static_cast<int>(pHeader->idFrom), &item);
        std::snprintf(pInfo->szText, sizeof(pInfo->szText), "The tab \"%s\"", szTitle);
        *pResult = 0;
        return TRUE;
    }
    if (pHeader->code == TTN_NEEDTEXTA && pHeader->hwndFrom == m_toolbar.m_hWnd)
    {
        auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        std::snprintf(pInfo->szText, sizeof(pInfo->szText), "Command %u",
                      static_cast<unsigned>(pHeader->idFrom));
        *pResult = 0;
        return TRUE;
    }
    if (pHeader->code == TVN_ENDLABELEDITA && pHeader->hwndFrom == m_tree.m_hWnd)
    {
        // Any label but an empty one is taken.
        const auto* pInfo = reinterpret_cast<const NMTVDISPINFOA*>(lParam);
        *pResult = pInfo->item.pszText != nullptr && pInfo->item.pszText[0] != '\0';
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, pResult);
}

LRESULT CGalleryWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && wParam == UINT_PTR(kStatusId))
    {
        // The owner-drawn status part shows its colour.
        const auto* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const HBRUSH hBrush = CreateSolidBrush(static_cast<COLORREF>(pDraw->itemData));
        FillRect(pDraw->hDC, &pDraw->rcItem, hBrush);
        DeleteObject(hBrush);
        return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

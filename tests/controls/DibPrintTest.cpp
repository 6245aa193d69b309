#include "ControlTestSupport.h"
#include "DibTestHelpers.h"
#include "ModalAnswers.h"
#include "PdfPages.h"
#include "ResourceRegistry.h"
#include "WinDialog.h"
#include "WinPrintDialog.h"
#include "WinSysColors.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
// The program's abort dialog, as a host supplies it.
const DialogItemTemplate kPrintingItems[] = {
    {"Static", "Printing...", 0xFFFF, WS_CHILD | WS_VISIBLE, 0, 10, 10, 100, 10},
    {"Button", "Cancel", IDCANCEL, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 40, 26,
     50, 14},
};
const DialogTemplate kPrinting{WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT,
                               0,
                               0,
                               0,
                               130,
                               48,
                               "Printing",
                               "MS Shell Dlg",
                               8,
                               kPrintingItems};
const ResourceDialogEntry kDialogs[] = {{"PRINTING", &kPrinting}};
const ResourceRegistrar kRegistrar({.dialogs = kDialogs});

constexpr COLORREF kInk = RGB(200, 30, 60);

// A 24-bit DIB of one colour.
HDIB MakeSolidDib(int width, int height, COLORREF colour)
{
    HDIB hdib = CreateDIB(DWORD(width), DWORD(height), 24);
    char* dib = static_cast<char*>(GlobalLock(hdib));
    const int rowBytes = ((24 * width + 31) / 32) * 4;
    auto* bits = reinterpret_cast<BYTE*>(FindDIBBits(dib));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            BYTE* p = bits + y * rowBytes + 3 * x;
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    GlobalUnlock(hdib);
    return hdib;
}

class DibPrint : public testing::Test
{
protected:
    DibPrint()
    {
        std::filesystem::remove(m_path);
        SetModalAnswerHook(
            [this](const ModalRequest& request) -> std::optional<INT_PTR>
            {
                if (request.kind != enModalKind::PrintDialog)
                    return std::nullopt;
                ++m_nDialogs;
                if (m_bCancelDialog)
                    return IDCANCEL;
                SetPrintDialogChoice(PrintDialogChoice{GDI_PRINT_TO_FILE, m_output, 1});
                return IDOK;
            });
    }
    ~DibPrint() override
    {
        SetModalAnswerHook(nullptr);
        std::filesystem::remove(m_path);
    }

    PdfPage PrintedPage()
    {
        std::vector<PdfPage> pages = RasterisePdf(m_path);
        EXPECT_EQ(pages.size(), 1u);
        return pages.empty() ? PdfPage{} : std::move(pages.front());
    }

    CFailOnBlockHarness m_harness;
    std::string m_path = testing::TempDir() + "dib-print-" + std::to_string(getpid()) + ".pdf";
    std::string m_output = m_path;
    bool m_bCancelDialog = false;
    int m_nDialogs = 0;
};

struct PrintCase
{
    const char* name;
    int nWidth;
    int nHeight;
    WORD nOption;
    WORD nXScale;
    WORD nYScale;
    RECT expected; // on the 2480 x 3508 page
};

class DibPrintOptions : public DibPrint, public testing::WithParamInterface<PrintCase>
{
};

const PrintCase kPrintCases[] = {
    {"BestFitWide", 40, 20, PW_BESTFIT, 0, 0, {0, 0, 2480, 1240}},
    // Relatively taller than the page: the height fills the page.
    {"BestFitTall", 20, 80, PW_BESTFIT, 0, 0, {0, 0, 877, 3508}},
    {"Scaled", 40, 20, PW_SCALE, 10, 30, {0, 0, 400, 600}},
    {"StretchToPage", 40, 20, PW_STRETCHTOPAGE, 0, 0, {0, 0, 2480, 3508}},
    {"OtherOptionStretches", 40, 20, 7, 5, 5, {0, 0, 2480, 3508}},
};
} // namespace

TEST_P(DibPrintOptions, PutsThePictureOnItsPageRectangle)
{
    const PrintCase& c = GetParam();
    HDIB hdib = MakeSolidDib(c.nWidth, c.nHeight, kInk);
    char szName[] = "Options";
    EXPECT_EQ(PrintDIB(hdib, c.nOption, c.nXScale, c.nYScale, szName), DIB_OK);
    DestroyDIB(hdib);
    const PdfPage page = PrintedPage();
    ASSERT_EQ(page.nWidth, 2480);
    ASSERT_EQ(page.nHeight, 3508);
    const PdfPage::Bounds ink = page.InkBounds();
    EXPECT_EQ(ink.left, c.expected.left);
    EXPECT_EQ(ink.top, c.expected.top);
    // The rasteriser may blend the pixel beyond the last edge.
    EXPECT_NEAR(ink.right, c.expected.right, 1);
    EXPECT_NEAR(ink.bottom, c.expected.bottom, 1);
    EXPECT_EQ(page.At(c.expected.right / 2, c.expected.bottom / 2), PixelOf(kInk));
}

INSTANTIATE_TEST_SUITE_P(Options, DibPrintOptions, testing::ValuesIn(kPrintCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DibPrint, PrintsThePixelsOfTheDib)
{
    HDIB hdib = MakeIndexedDib(64, 32);
    char szName[] = "Pixels";
    ASSERT_EQ(PrintDIB(hdib, PW_SCALE, 3, 3, szName), DIB_OK);
    DestroyDIB(hdib);
    const PdfPage page = PrintedPage();
    page.SavePng(testing::TempDir() + "dib-print-pixels.png");
    EXPECT_TRUE(page.Shows(0, 0, 192, 96,
                           [](int x, int y) { return PixelOf(IndexedColor(x / 3, y / 3)); }));
}

TEST_F(DibPrint, RefusesNoDibAndAnEmptyOne)
{
    char szName[] = "None";
    EXPECT_EQ(PrintDIB(nullptr, PW_BESTFIT, 1, 1, szName), DIB_ERR_INVALIDHANDLE);
    HDIB empty = CreateDIB(0, 10, 24);
    EXPECT_EQ(PrintDIB(empty, PW_BESTFIT, 1, 1, szName), DIB_ERR_INVALIDHANDLE);
    DestroyDIB(empty);
    EXPECT_EQ(m_nDialogs, 0);
    EXPECT_EQ(PrintWindow(nullptr, PW_WINDOW, PW_BESTFIT, 1, 1, szName), DIB_ERR_INVALIDHANDLE);
}

TEST_F(DibPrint, CancelledPrintDialogGivesNoDc)
{
    m_bCancelDialog = true;
    HDIB hdib = MakeSolidDib(4, 4, kInk);
    char szName[] = "Cancelled";
    EXPECT_EQ(PrintDIB(hdib, PW_BESTFIT, 1, 1, szName), DIB_ERR_GETDC);
    DestroyDIB(hdib);
    EXPECT_EQ(m_nDialogs, 1);
    EXPECT_FALSE(std::filesystem::exists(m_path));
}

TEST_F(DibPrint, CancelInTheAbortDialogEndsTheJobAndDeletesTheFile)
{
    bool bCancelFocused = false;
    bool bFileStarted = false;
    m_harness.Script().Do(
        [&]
        {
            const HWND hDlg = FindWindowA(nullptr, "Printing");
            ASSERT_NE(hDlg, nullptr);
            bCancelFocused = GetFocus() == GetDlgItem(hDlg, IDCANCEL);
            bFileStarted = std::filesystem::exists(m_path);
            PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        });
    HDIB hdib = MakeSolidDib(8, 8, kInk);
    char szName[] = "Stopped";
    EXPECT_EQ(PrintDIB(hdib, PW_BESTFIT, 1, 1, szName), DIB_ERR_ENDPAGE);
    DestroyDIB(hdib);
    EXPECT_TRUE(m_harness.Script().IsDone());
    EXPECT_TRUE(bCancelFocused);
    EXPECT_TRUE(bFileStarted);
    EXPECT_FALSE(std::filesystem::exists(m_path));
    EXPECT_EQ(FindWindowA(nullptr, "Printing"), nullptr);
}

TEST_F(DibPrint, PrintWindowPrintsWhatTheWindowShows)
{
    CTestParent parent(CRect(50, 60, 250, 160));
    {
        CClientDC dc(&parent);
        dc.FillSolidRect(CRect(20, 10, 120, 60), kInk);
        dc.FillSolidRect(CRect(0, 70, 200, 100), RGB(0, 90, 200));
    }
    const WindowPicture picture = ClientPictureOf(parent.m_hWnd);
    char szName[] = "Window";
    ASSERT_EQ(PrintWindow(parent.m_hWnd, PW_CLIENT, PW_SCALE, 1, 1, szName), DIB_OK);
    const PdfPage page = PrintedPage();
    EXPECT_TRUE(page.Shows(0, 0, picture.nWidth, picture.nHeight,
                           [&](int x, int y) { return picture.GetPixel(x, y); }));
}

TEST_F(DibPrint, PrintScreenOfNothingOnTheScreenFails)
{
    RECT offScreen{3000, 3000, 3100, 3100};
    char szName[] = "Nothing";
    EXPECT_EQ(PrintScreen(&offScreen, PW_BESTFIT, 1, 1, szName), DIB_ERR_GENERAL);
    EXPECT_EQ(m_nDialogs, 0);
}

TEST_F(DibPrint, DocumentThatCannotStartReportsStartDoc)
{
    m_output = "/nonexistent-folder/dib-print.pdf";
    HDIB hdib = MakeSolidDib(4, 4, kInk);
    char szName[] = "Nowhere";
    EXPECT_EQ(PrintDIB(hdib, PW_BESTFIT, 1, 1, szName), DIB_ERR_STARTDOC);
    DestroyDIB(hdib);
    EXPECT_EQ(FindWindowA(nullptr, "Printing"), nullptr);
}

TEST_F(DibPrint, PrintScreenPrintsWhatTheScreenShows)
{
    CTestParent parent(CRect(600, 400, 700, 460));
    {
        CClientDC dc(&parent);
        dc.FillSolidRect(CRect(0, 0, 100, 60), kInk);
    }
    RECT rect{580, 380, 720, 480};
    char szName[] = "A screen whose name is longer than thirty-one characters";
    ASSERT_EQ(PrintScreen(&rect, PW_SCALE, 2, 2, szName), DIB_OK);
    EXPECT_EQ(PdfTitle(m_path), "A screen whose name is longer t");
    const PdfPage page = PrintedPage();
    const std::uint32_t desktop = PixelOf(GetSysColor(COLOR_DESKTOP));
    EXPECT_TRUE(page.Shows(0, 0, 280, 200,
                           [&](int x, int y)
                           {
                               const bool bWindow = x >= 40 && x < 240 && y >= 40 && y < 160;
                               return bWindow ? PixelOf(kInk) : desktop;
                           }));
}

#include "AfxDC.h"
#include "PdfPages.h"
#include "WinPrint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{
std::string OutputPath(const char* name)
{
    return testing::TempDir() + name;
}

HDC FilePrinter(const std::string& path)
{
    return CreateDCA(nullptr, GDI_PRINT_TO_FILE, path.c_str(), nullptr);
}

int StartNamedDoc(HDC hdc, const char* name)
{
    DOCINFOA info{sizeof(DOCINFOA), name, nullptr, nullptr, 0};
    return StartDocA(hdc, &info);
}

void FillBox(HDC hdc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

// Draws "H" with a font of that logical height at the point.
void DrawLetter(HDC hdc, int height, int x, int y)
{
    HFONT font =
        CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    TextOutA(hdc, x, y, "H", 1);
    SelectObject(hdc, old);
    DeleteObject(font);
}
// The rasteriser may blend the pixel beside an edge.
void ExpectBox(const PdfPage::Bounds& ink, const RECT& box)
{
    EXPECT_NEAR(ink.left, box.left, 1);
    EXPECT_NEAR(ink.top, box.top, 1);
    EXPECT_NEAR(ink.right, box.right, 1);
    EXPECT_NEAR(ink.bottom, box.bottom, 1);
}
} // namespace

TEST(PrinterDC, ReportsTheA4PageAt300Dpi)
{
    HDC hdc = FilePrinter(OutputPath("caps.pdf"));
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(GetDeviceCaps(hdc, HORZRES), 2480);
    EXPECT_EQ(GetDeviceCaps(hdc, VERTRES), 3508);
    EXPECT_EQ(GetDeviceCaps(hdc, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(hdc, LOGPIXELSY), 300);
    EXPECT_EQ(GetDeviceCaps(hdc, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_EQ(WindowFromDC(hdc), nullptr);
    DeleteDC(hdc);
    EXPECT_FALSE(std::filesystem::exists(OutputPath("caps.pdf")));
}

TEST(PrinterDC, UnknownDestinationGivesNoDC)
{
    EXPECT_EQ(CreateDCA(nullptr, "no such queue here", nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateDCA("WINSPOOL", nullptr, nullptr, nullptr), nullptr);
}

TEST(PrinterDC, DocumentCallsOnOtherDCsFail)
{
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_LE(StartNamedDoc(memory, "x"), 0);
    EXPECT_LE(StartPage(memory), 0);
    EXPECT_LE(EndPage(memory), 0);
    EXPECT_LE(EndDoc(memory), 0);
    EXPECT_LE(SetAbortProc(memory, nullptr), 0);
    DeleteDC(memory);
}

TEST(PrinterDC, PagesOutsideADocumentFail)
{
    HDC hdc = FilePrinter(OutputPath("nodoc.pdf"));
    EXPECT_LE(StartPage(hdc), 0);
    EXPECT_LE(EndPage(hdc), 0);
    EXPECT_LE(EndDoc(hdc), 0);
    DeleteDC(hdc);
}

TEST(PrinterDC, TwoPageDocumentGoesToThePdfFile)
{
    const std::string path = OutputPath("two-pages.pdf");
    HDC hdc = FilePrinter(path);
    ASSERT_NE(hdc, nullptr);
    ASSERT_GT(StartNamedDoc(hdc, "Two pages"), 0);

    ASSERT_GT(StartPage(hdc), 0);
    FillBox(hdc, RECT{100, 200, 600, 400}, RGB(255, 0, 0));
    DrawLetter(hdc, -248, 1000, 1000);
    ASSERT_GT(EndPage(hdc), 0);

    // Page two is drawn in logical units: 1000 across the 2480 pixels of the
    // page, so the font's height scales with the mapping.
    ASSERT_GT(StartPage(hdc), 0);
    SetMapMode(hdc, MM_ANISOTROPIC);
    SetWindowExtEx(hdc, 1000, 1000, nullptr);
    SetViewportExtEx(hdc, 2480, 2480, nullptr);
    FillBox(hdc, RECT{500, 500, 600, 550}, RGB(0, 0, 255));
    DrawLetter(hdc, -100, 403, 403);
    ASSERT_GT(EndPage(hdc), 0);
    ASSERT_GT(EndDoc(hdc), 0);
    DeleteDC(hdc);

    const std::vector<PdfPage> pages = RasterisePdf(path);
    ASSERT_EQ(pages.size(), 2u);
    for (const PdfPage& page : pages)
    {
        EXPECT_EQ(page.nWidth, 2480);
        EXPECT_EQ(page.nHeight, 3508);
    }
    pages[0].SavePng(OutputPath("two-pages-1.png"));
    pages[1].SavePng(OutputPath("two-pages-2.png"));

    ExpectBox(pages[0].InkBounds(0, 0, 900, 900), RECT{100, 200, 600, 400});
    EXPECT_EQ(pages[0].At(300, 300), 0xFF0000u);
    ExpectBox(pages[1].InkBounds(1200, 1200, 1600, 1500), RECT{1240, 1240, 1488, 1364});
    EXPECT_EQ(pages[1].At(1300, 1300), 0x0000FFu);

    // The letter drawn at -100 logical units on page two is as tall as the
    // one drawn at -248 pixels on page one.
    const PdfPage::Bounds direct = pages[0].InkBounds(900, 900, 1400, 1400);
    const PdfPage::Bounds scaled = pages[1].InkBounds(900, 900, 1200, 1240);
    const int directHeight = direct.bottom - direct.top;
    const int scaledHeight = scaled.bottom - scaled.top;
    EXPECT_GT(directHeight, 120);
    EXPECT_NEAR(scaledHeight, directHeight, 3);
    EXPECT_NEAR(scaled.right - scaled.left, direct.right - direct.left, 3);
}

TEST(PrinterDC, AbortedDocumentLeavesNoFile)
{
    const std::string path = OutputPath("aborted.pdf");
    HDC hdc = FilePrinter(path);
    ASSERT_GT(StartNamedDoc(hdc, "Aborted"), 0);
    ASSERT_GT(StartPage(hdc), 0);
    ASSERT_GT(EndPage(hdc), 0);
    ASSERT_GT(StartPage(hdc), 0);
    EXPECT_GT(AbortDoc(hdc), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_LE(EndDoc(hdc), 0);
    DeleteDC(hdc);
}

TEST(PrinterDC, DeletingTheDcBeforeEndDocLeavesNoFile)
{
    const std::string path = OutputPath("deleted.pdf");
    HDC hdc = FilePrinter(path);
    ASSERT_GT(StartNamedDoc(hdc, "Deleted"), 0);
    ASSERT_GT(StartPage(hdc), 0);
    DeleteDC(hdc);
    EXPECT_FALSE(std::filesystem::exists(path));
}

namespace
{
int gAbortCalls = 0;
BOOL StopAtOnce(HDC, int)
{
    ++gAbortCalls;
    return FALSE;
}
} // namespace

TEST(PrinterDC, AbortProcedureAnsweringFalseEndsTheDocument)
{
    const std::string path = OutputPath("abort-proc.pdf");
    HDC hdc = FilePrinter(path);
    ASSERT_GT(SetAbortProc(hdc, StopAtOnce), 0);
    ASSERT_GT(StartNamedDoc(hdc, "Stopped"), 0);
    ASSERT_GT(StartPage(hdc), 0);
    gAbortCalls = 0;
    EXPECT_EQ(EndPage(hdc), SP_APPABORT);
    EXPECT_EQ(gAbortCalls, 1);
    EXPECT_FALSE(std::filesystem::exists(path));
    DeleteDC(hdc);
}

TEST(PrinterDC, DocumentOutputOverridesTheDcsFile)
{
    const std::string dcPath = OutputPath("dc-output.pdf");
    const std::string docPath = OutputPath("doc-output.pdf");
    HDC hdc = FilePrinter(dcPath);
    DOCINFOA info{sizeof(DOCINFOA), "Elsewhere", docPath.c_str(), nullptr, 0};
    ASSERT_GT(StartDocA(hdc, &info), 0);
    ASSERT_GT(StartPage(hdc), 0);
    ASSERT_GT(EndPage(hdc), 0);
    ASSERT_GT(EndDoc(hdc), 0);
    DeleteDC(hdc);
    EXPECT_TRUE(std::filesystem::exists(docPath));
    EXPECT_FALSE(std::filesystem::exists(dcPath));
    EXPECT_EQ(RasterisePdf(docPath, 30).size(), 1u);
}

TEST(PrinterDC, FileDestinationWithoutAPathCannotStart)
{
    HDC hdc = CreateDCA(nullptr, GDI_PRINT_TO_FILE, nullptr, nullptr);
    ASSERT_NE(hdc, nullptr);
    EXPECT_LE(StartNamedDoc(hdc, "Nowhere"), 0);
    DeleteDC(hdc);
}

TEST(PrinterDC, DestinationsEndWithTheFile)
{
    const std::vector<std::string> destinations = GdiGetPrintDestinations();
    ASSERT_FALSE(destinations.empty());
    EXPECT_EQ(destinations.back(), GDI_PRINT_TO_FILE);
}

TEST(PrinterDC, CdcRunsADocumentOfTwoPages)
{
    const std::string path = OutputPath("cdc.pdf");
    CDC dc;
    ASSERT_TRUE(dc.CreateDC(nullptr, GDI_PRINT_TO_FILE, path.c_str(), nullptr));
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 3508);
    ASSERT_GT(dc.StartDoc("Through CDC"), 0);
    for (int page = 0; page < 2; ++page)
    {
        ASSERT_GT(dc.StartPage(), 0);
        dc.FillSolidRect(100 * page, 0, 50, 50, RGB(0, 0, 0));
        ASSERT_GT(dc.EndPage(), 0);
    }
    ASSERT_GT(dc.EndDoc(), 0);
    dc.DeleteDC();
    const std::vector<PdfPage> pages = RasterisePdf(path, 30);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(PdfTitle(path), "Through CDC");
    EXPECT_EQ(pages[1].InkBounds().left, 10);
}

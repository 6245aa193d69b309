// The grid printed into a PDF file through the print dialog: pages, the
// headings on every page, header and footer, and the scaling to the paper,
// checked on the pages rasterised by pdftoppm.
#include "AfxPrint.h"
#include "ControlTestSupport.h"
#include "GridCtrl.h"
#include "ModalAnswers.h"
#include "PdfPages.h"
#include "WinPrint.h"
#include "WinPrintDialog.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{
class GridCtrlPrintTest : public testing::Test
{
protected:
    GridCtrlPrintTest()
    {
        std::filesystem::remove(m_path);
        SetModalAnswerHook(
            [this](const ModalRequest& request) -> std::optional<INT_PTR>
            {
                if (request.kind != enModalKind::PrintDialog)
                    return std::nullopt;
                SetPrintDialogChoice(PrintDialogChoice{GDI_PRINT_TO_FILE, m_path, 1});
                return IDOK;
            });
    }
    ~GridCtrlPrintTest() override
    {
        SetModalAnswerHook(nullptr);
        std::filesystem::remove(m_path);
    }

    // A grid of nRows (one fixed) by 4 columns, each row 20 high and each
    // column 120 wide; row r's cells read "r.c".
    void Fill(int nRows)
    {
        m_grid.SetRowCount(nRows);
        m_grid.SetColumnCount(4);
        m_grid.SetFixedRowCount(1);
        m_grid.Create(CRect(0, 0, 400, 300), &m_parent, 100, WS_CHILD | WS_VISIBLE);
        for (int col = 0; col < 4; ++col)
        {
            m_grid.SetColumnWidth(col, 120);
            m_grid.SetItemText(0, col, ("Heading " + std::to_string(col)).c_str());
        }
        for (int row = 0; row < nRows; ++row)
        {
            m_grid.SetRowHeight(row, 20);
            for (int col = 0; col < 4 && row > 0; ++col)
                m_grid.SetItemText(row, col,
                                   (std::to_string(row) + "." + std::to_string(col)).c_str());
        }
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent{CRect(100, 100, 600, 500)};
    CGridCtrl m_grid;
    std::string m_path = testing::TempDir() + "grid-print-" + std::to_string(getpid()) + ".pdf";
};

// Rows of ink: the y ranges (at this resolution) holding anything dark.
std::vector<std::pair<int, int>> InkRows(const PdfPage& page, int left, int right)
{
    std::vector<std::pair<int, int>> rows;
    bool bInInk = false;
    for (int y = 0; y < page.nHeight; ++y)
    {
        bool bInk = false;
        for (int x = left; x < right && !bInk; ++x)
            bInk = (page.At(x, y) & 0xFF) < 128;
        if (bInk && !bInInk)
            rows.push_back({y, y});
        if (bInk)
            rows.back().second = y;
        bInInk = bInk;
    }
    return rows;
}

TEST_F(GridCtrlPrintTest, PrintsPagesWithHeadingsHeaderAndFooter)
{
    // 480 wide + 8 character widths gives a logical page of roughly 700 high
    // on A4: some 28 rows a page, so 100 rows take four pages.
    Fill(101);
    m_grid.Print();
    const std::vector<PdfPage> pages = RasterisePdf(m_path, 50);
    ASSERT_GE(pages.size(), 3U);
    ASSERT_LE(pages.size(), 5U);
    for (size_t i = 0; i < pages.size(); ++i)
    {
        pages[i].SavePng(testing::TempDir() + "grid-print-page" + std::to_string(i) + ".png");
        if (const char* pszFolder = std::getenv("SUITE_PICTURE_DIR"))
            pages[i].SavePng(std::string(pszFolder) + "/grid_print_page" + std::to_string(i) +
                             ".png");
    }
    // Every page: the header line at the top, the headings below it, rows,
    // and the footer line near the bottom; the same top on every page.
    const PdfPage& first = pages.front();
    const PdfPage::Bounds ink = first.InkBounds();
    EXPECT_LT(ink.top, first.nHeight / 8);
    EXPECT_GT(ink.bottom, first.nHeight * 7 / 8);
    // Scaled to the paper width: the grid spans most of the page.
    EXPECT_GT(ink.right - ink.left, first.nWidth * 3 / 4);
    for (const PdfPage& page : pages)
    {
        const PdfPage::Bounds pageInk = page.InkBounds();
        EXPECT_NEAR(pageInk.top, ink.top, 2);
        EXPECT_NEAR(pageInk.left, ink.left, 3);
    }
    // The last page holds fewer rows: its ink ends higher above the footer.
    const auto firstRows = InkRows(first, ink.left, ink.right);
    const auto lastRows = InkRows(pages.back(), ink.left, ink.right);
    EXPECT_GT(firstRows.size(), lastRows.size());
}

TEST_F(GridCtrlPrintTest, PageCountFollowsThePaperAndEmptyGridsPrintNothing)
{
    Fill(101);
    HDC hdc = ::CreateDCA(nullptr, GDI_PRINT_TO_FILE, m_path.c_str(), nullptr);
    ASSERT_NE(hdc, nullptr);
    CDC dc;
    dc.Attach(hdc);
    dc.m_bPrinting = TRUE;
    CPrintInfo info;
    m_grid.OnBeginPrinting(&dc, &info);
    const UINT nPages = info.GetMaxPage();
    EXPECT_GT(nPages, 2U);
    EXPECT_EQ(info.m_nCurPage, 1U);
    m_grid.OnEndPrinting(&dc, &info);

    // Only the headings: no page count of its own, and printing draws
    // nothing and touches no font it never made.
    CGridCtrl headings(1, 3, 1, 0);
    headings.Create(CRect(0, 0, 200, 100), &m_parent, 101, WS_CHILD);
    CPrintInfo headingsInfo;
    headingsInfo.SetMaxPage(1);
    headings.OnBeginPrinting(&dc, &headingsInfo);
    EXPECT_EQ(headingsInfo.GetMaxPage(), 1U);
    headings.OnPrint(&dc, &headingsInfo);
    headings.OnEndPrinting(&dc, &headingsInfo);
    dc.DeleteDC();

    // The whole job on such a grid: one page.
    headings.Print();
    EXPECT_EQ(RasterisePdf(m_path, 20).size(), 1U);
}
} // namespace

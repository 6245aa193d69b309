// The print dialog and the MFC classes over it: choices answered by the test
// or made in the running dialog come back as a DEVNAMES block and a printer
// DC; a cancel returns nothing; a hook hears the running dialog.
#include "../FailOnBlockHarness.h"
#include "AfxPrint.h"
#include "AfxWin.h"
#include "ModalAnswers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace
{
class PrintDialogTest : public testing::Test
{
protected:
    // No print server answers here, so the file is the one destination.
    PrintDialogTest() { setenv("CUPS_SERVER", "/nonexistent/print-dialog-test.sock", 1); }
    ~PrintDialogTest() override
    {
        SetModalAnswerHook(nullptr);
        SetModalWindowsRun(false);
        unsetenv("CUPS_SERVER");
    }

    void AnswerWith(INT_PTR nAnswer, const PrintDialogChoice& choice = {})
    {
        SetModalAnswerHook(
            [=](const ModalRequest& request) -> std::optional<INT_PTR>
            {
                if (request.kind != enModalKind::PrintDialog)
                    return std::nullopt;
                if (nAnswer == IDOK)
                    SetPrintDialogChoice(choice);
                return nAnswer;
            });
    }

    static PRINTDLGA NewRecord(DWORD dwFlags)
    {
        PRINTDLGA pd{};
        pd.lStructSize = sizeof(pd);
        pd.Flags = dwFlags;
        return pd;
    }

    static void Free(PRINTDLGA& pd)
    {
        if (pd.hDC != nullptr)
            DeleteDC(pd.hDC);
        if (pd.hDevNames != nullptr)
            GlobalFree(pd.hDevNames);
    }

    CFailOnBlockHarness m_harness;
};

std::pair<std::string, std::string> NamesOf(HGLOBAL hDevNames)
{
    std::pair<std::string, std::string> names;
    EXPECT_TRUE(ReadDevNames(hDevNames, names.first, names.second));
    return names;
}
} // namespace

TEST_F(PrintDialogTest, AnsweredChoiceComesBackAsDevNamesAndAPrinterDc)
{
    AnswerWith(IDOK, PrintDialogChoice{GDI_PRINT_TO_FILE, "/tmp/answered.pdf", 3});
    PRINTDLGA pd = NewRecord(PD_RETURNDC);
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_EQ(NamesOf(pd.hDevNames),
              std::make_pair(std::string(GDI_PRINT_TO_FILE), std::string("/tmp/answered.pdf")));
    ASSERT_NE(pd.hDC, nullptr);
    EXPECT_EQ(GetDeviceCaps(pd.hDC, HORZRES), GDI_PRINTER_PAGE_WIDTH);
    EXPECT_EQ(pd.nCopies, 3);
    EXPECT_TRUE(pd.Flags & PD_PRINTTOFILE);
    ASSERT_EQ(GetModalRequests().size(), 1u);
    EXPECT_EQ(GetModalRequests()[0].kind, enModalKind::PrintDialog);
    EXPECT_EQ(GetModalRequests()[0].pData, &pd);
    Free(pd);
}

TEST_F(PrintDialogTest, CancelReturnsNothing)
{
    AnswerWith(IDCANCEL);
    PRINTDLGA pd = NewRecord(PD_RETURNDC);
    EXPECT_FALSE(PrintDlgA(&pd));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(pd.hDC, nullptr);
    EXPECT_EQ(pd.hDevNames, nullptr);
}

TEST_F(PrintDialogTest, OkWithoutAChoiceTakesTheDefaultDestination)
{
    AnswerWith(IDOK);
    PRINTDLGA pd = NewRecord(0);
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_EQ(pd.hDC, nullptr);
    EXPECT_EQ(NamesOf(pd.hDevNames).first, GDI_PRINT_TO_FILE);
    Free(pd);
}

TEST_F(PrintDialogTest, ReturnDefaultAsksNobody)
{
    PRINTDLGA pd = NewRecord(PD_RETURNDEFAULT);
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_TRUE(GetModalRequests().empty());
    EXPECT_EQ(NamesOf(pd.hDevNames).first, GDI_PRINT_TO_FILE);
    Free(pd);
}

TEST_F(PrintDialogTest, WrongRecordSizeFails)
{
    PRINTDLGA pd = NewRecord(0);
    pd.lStructSize = 20;
    EXPECT_FALSE(PrintDlgA(&pd));
    EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_STRUCTSIZE));
    EXPECT_FALSE(PrintDlgA(nullptr));
}

TEST_F(PrintDialogTest, UnknownDestinationCannotGiveADc)
{
    AnswerWith(IDOK, PrintDialogChoice{"no such queue", "", 1});
    PRINTDLGA pd = NewRecord(PD_RETURNDC);
    EXPECT_FALSE(PrintDlgA(&pd));
    EXPECT_EQ(CommDlgExtendedError(), DWORD(PDERR_CREATEICFAILURE));
    EXPECT_EQ(pd.hDC, nullptr);
}

TEST_F(PrintDialogTest, DevNamesOutsideTheBlockAreRefused)
{
    HGLOBAL block = MakeDevNames("queue", "out.pdf", false);
    auto* names = static_cast<DEVNAMES*>(GlobalLock(block));
    names->wOutputOffset = 0x7000;
    GlobalUnlock(block);
    std::string destination;
    std::string output;
    EXPECT_FALSE(ReadDevNames(block, destination, output));
    GlobalFree(block);
    EXPECT_FALSE(ReadDevNames(nullptr, destination, output));
}

namespace
{
std::vector<UINT> gHookMessages;
LPARAM gHookInitParam = 0;
UINT_PTR RecordingHook(HWND, UINT msg, WPARAM, LPARAM lParam)
{
    gHookMessages.push_back(msg);
    if (msg == WM_INITDIALOG)
        gHookInitParam = lParam;
    return 0;
}
} // namespace

// The running dialog lists the destinations, offers the file's path, takes
// the one typed and tells its hook what happens.
TEST_F(PrintDialogTest, RunningDialogTakesTheTypedPathAndHasItsHookCalled)
{
    SetModalWindowsRun(true);
    gHookMessages.clear();
    PRINTDLGA pd = NewRecord(PD_RETURNDC | PD_ENABLEPRINTHOOK);
    pd.lpfnPrintHook = RecordingHook;
    pd.nCopies = 2;
    std::vector<std::string> listed;
    std::string offered;
    std::string copies;
    m_harness.Script()
        .Do(
            [&]
            {
                const HWND hDlg = ::FindWindowA("#32770", "Print");
                ASSERT_NE(hDlg, nullptr);
                const int nCount =
                    int(SendDlgItemMessageA(hDlg, PD_IDC_DESTINATION, CB_GETCOUNT, 0, 0));
                for (int i = 0; i < nCount; ++i)
                {
                    char szItem[128] = {};
                    SendDlgItemMessageA(hDlg, PD_IDC_DESTINATION, CB_GETLBTEXT, i,
                                        reinterpret_cast<LPARAM>(szItem));
                    listed.push_back(szItem);
                }
                char szText[260] = {};
                GetDlgItemTextA(hDlg, PD_IDC_OUTPUT, szText, sizeof(szText));
                offered = szText;
                GetDlgItemTextA(hDlg, PD_IDC_COPIES, szText, sizeof(szText));
                copies = szText;
                if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
                    SaveWindowPicture(hDlg, (testing::TempDir() + "print-dialog.bmp").c_str());
                SetDlgItemTextA(hDlg, PD_IDC_OUTPUT, "/tmp/typed.pdf");
            })
        .KeyPress(VK_RETURN);
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_EQ(listed, std::vector<std::string>{GDI_PRINT_TO_FILE});
    EXPECT_EQ(offered, "Document.pdf");
    EXPECT_EQ(copies, "2");
    EXPECT_EQ(NamesOf(pd.hDevNames).second, "/tmp/typed.pdf");
    EXPECT_NE(pd.hDC, nullptr);
    ASSERT_FALSE(gHookMessages.empty());
    EXPECT_EQ(gHookMessages.front(), UINT(WM_INITDIALOG));
    EXPECT_EQ(gHookInitParam, reinterpret_cast<LPARAM>(&pd));
    EXPECT_NE(std::find(gHookMessages.begin(), gHookMessages.end(), UINT(WM_COMMAND)),
              gHookMessages.end());
    Free(pd);
}

TEST_F(PrintDialogTest, CPrintDialogGivesTheChosenDestinationAndDc)
{
    AnswerWith(IDOK, PrintDialogChoice{GDI_PRINT_TO_FILE, "/tmp/mfc.pdf", 1});
    CPrintDialog dialog(FALSE);
    EXPECT_TRUE(dialog.m_pd.Flags & PD_HIDEPRINTTOFILE);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_STREQ(static_cast<LPCSTR>(dialog.GetDeviceName()), GDI_PRINT_TO_FILE);
    EXPECT_STREQ(static_cast<LPCSTR>(dialog.GetPortName()), "/tmp/mfc.pdf");
    EXPECT_TRUE(dialog.PrintToFile());
    EXPECT_TRUE(dialog.PrintAll());
    ASSERT_NE(dialog.GetPrinterDC(), nullptr);
    DeleteDC(dialog.GetPrinterDC());

    AnswerWith(IDCANCEL);
    CPrintDialog cancelled(FALSE);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetPrinterDC(), nullptr);
}

TEST_F(PrintDialogTest, CPrintInfoCoversEveryPageUnlessARangeIsChosen)
{
    CPrintInfo info;
    EXPECT_EQ(info.GetMinPage(), 1u);
    EXPECT_EQ(info.GetMaxPage(), 0xFFFFu);
    EXPECT_EQ(info.m_nCurPage, 1u);
    EXPECT_TRUE(info.m_bContinuePrinting);
    info.SetMaxPage(4);
    EXPECT_EQ(info.GetFromPage(), 1u);
    EXPECT_EQ(info.GetToPage(), 4u);
    info.m_pPD->m_pd.Flags |= PD_PAGENUMS;
    info.m_pPD->m_pd.nFromPage = 2;
    info.m_pPD->m_pd.nToPage = 3;
    EXPECT_EQ(info.GetFromPage(), 2u);
    EXPECT_EQ(info.GetToPage(), 3u);
}

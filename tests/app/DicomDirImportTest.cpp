// The import of a DICOMDIR choice: the 50 images of a corpus directory go
// to a stand-in view one by one in instance order, with the open mode of
// their group, while the stand-in frame's status text counts 1 to 50 and
// painting and timers keep running; input is dropped meanwhile, a quit or
// a vanished view ends the import early.
#include "DicomDirImport.h"
#include "AppTestSupport.h"
#include "DICOMDIRView.h"
#include "DICOMDataSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

const fs::path TinyAlpha =
    fs::path(SUITE_CORPUS_DIR) / "pydicom/test_files/dicomdirtests/TINY_ALPHA/DICOMDIR";

struct Opened
{
    WPARAM nMode;
    const Corvane* pHolder;
    int nProgressSoFar;
    int nPaintsSoFar;
    int nTimersSoFar;
    bool bImporting;
};

// The view: it records every handle sent to it and repaints after each.
class CViewDouble : public CWnd
{
public:
    std::vector<Opened> m_opened;
    int m_nPaints = 0;
    int m_nTimers = 0;
    int m_nInput = 0;
    std::function<void(int)> m_onOpen;
    const std::vector<CString>* m_pProgress = nullptr;
    const CDicomDirImport* m_pImport = nullptr;

protected:
    afx_msg LRESULT OnOpenHolder(WPARAM wParam, LPARAM lParam)
    {
        m_opened.push_back({wParam, reinterpret_cast<const Corvane*>(lParam),
                            static_cast<int>(m_pProgress->size()), m_nPaints, m_nTimers,
                            m_pImport->IsImporting()});
        Invalidate();
        if (m_onOpen)
            m_onOpen(static_cast<int>(m_opened.size()));
        return 1;
    }
    afx_msg void OnPaint()
    {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        ++m_nPaints;
    }
    afx_msg void OnTimer(UINT_PTR) { ++m_nTimers; }
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++m_nInput; }
    afx_msg void OnLButtonDown(UINT, CPoint) { ++m_nInput; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CViewDouble, CWnd)
ON_MESSAGE(WM_OPEN_HOLDER, OnOpenHolder)
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// The frame: owner of the dialog, target of the import, keeper of the
// status text.
class CImportFrameDouble : public CWnd, public IDicomDirImportTarget
{
public:
    CDICOMDIRView* m_pView = nullptr;
    CViewDouble* m_pImageView = nullptr;
    CDicomDirImport m_import;
    std::vector<CString> m_progress;
    std::vector<std::string> m_calls;

    HWND GetFrameWindow() const override { return m_hWnd; }
    HWND GetActiveViewWindow() const override
    {
        return ::IsWindow(m_pImageView->m_hWnd) ? m_pImageView->m_hWnd : nullptr;
    }
    void ClearScreen() override { m_calls.emplace_back("clear"); }
    void SetLoading(bool bLoading) override
    {
        m_calls.emplace_back(bLoading ? "loading on" : "loading off");
    }
    void SetViewLayout(int nRows, int nColumns) override
    {
        m_calls.push_back("view " + std::to_string(nRows) + "x" + std::to_string(nColumns));
    }
    void SetSeriesLayout(int nRows, int nColumns) override
    {
        m_calls.push_back("series " + std::to_string(nRows) + "x" + std::to_string(nColumns));
    }
    void FinishImport() override { m_calls.emplace_back("finish"); }

protected:
    afx_msg LRESULT OnDicomDirSelection(WPARAM, LPARAM)
    {
        return m_import.ImportSelection(m_pView, *this);
    }
    afx_msg LRESULT OnImportProgress(WPARAM, LPARAM lParam)
    {
        m_progress.push_back(CDicomDirImport::ProgressText(lParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CImportFrameDouble, CWnd)
ON_MESSAGE(WM_DICOMDIR_SELECTION, OnDicomDirSelection)
ON_MESSAGE(WM_IMPORT_PROGRESS, OnImportProgress)
END_MESSAGE_MAP()

class DicomDirImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::exists(TinyAlpha))
            GTEST_SKIP() << "corpus folder not found";
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE,
                                     CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_imageView.CreateEx(0, nullptr, "view", WS_POPUP | WS_VISIBLE,
                                         CRect(300, 0, 500, 200), nullptr, 0));
        m_frame.m_pView = &m_dialog;
        m_frame.m_pImageView = &m_imageView;
        m_imageView.m_pProgress = &m_frame.m_progress;
        m_imageView.m_pImport = &m_frame.m_import;
        ASSERT_TRUE(m_dialog.CreateView(&m_frame));
        m_dialog.ShowWindow(SW_SHOW);
        ASSERT_EQ(m_dialog.LoadDicomDir(TinyAlpha.string().c_str()), 1);
    }

    void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                m_bQuitSeen = true;
                continue;
            }
            if (CWnd::WalkPreTranslateTree(nullptr, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    void Click(HWND hWnd, int x, int y)
    {
        m_ui.AdvanceClock(1000);
        m_ui.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hWnd, x, y));
        Pump();
    }

    // The patient chosen by a click, then the button.
    void ChoosePatientAnd(UINT nButton)
    {
        CColumnSortList& patients = m_dialog.GetList(CDICOMDIRView::enPatient);
        RECT rc{};
        ASSERT_TRUE(patients.GetItemRect(0, &rc, LVIR_BOUNDS));
        Click(patients.m_hWnd, rc.left + 10, (rc.top + rc.bottom) / 2);
        ASSERT_EQ(m_dialog.GetHolders().size(), 50U);
        Click(m_dialog.GetDlgItem(static_cast<int>(nButton))->m_hWnd, 5, 5);
    }

    bool m_bQuitSeen = false;
    CFailOnBlockHarness m_ui;
    CImportFrameDouble m_frame;
    CViewDouble m_imageView;
    CDICOMDIRView m_dialog;
};

TEST_F(DicomDirImportTest, FiftyImagesReachTheViewInOrderWithProgressPaintAndTimers)
{
    m_imageView.SetTimer(1, 100, nullptr);
    m_imageView.m_onOpen = [this](int nOpened)
    {
        // Time passes while each image loads; input typed meanwhile is lost.
        m_ui.AdvanceClock(150);
        if (nOpened == 10)
        {
            m_ui.KeyPress('A');
            m_ui.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_imageView.m_hWnd, 5, 5));
        }
    };
    ChoosePatientAnd(IDC_VIEW_SELECTION);

    ASSERT_EQ(m_imageView.m_opened.size(), 50U);
    std::vector<std::string> expected;
    for (int i = 1; i <= 50; ++i)
        expected.push_back(std::to_string(i));
    int nLastNumber = -1;
    auto holder = m_dialog.GetHolders().begin();
    for (std::size_t i = 0; i < m_imageView.m_opened.size(); ++i, ++holder)
    {
        const Opened& opened = m_imageView.m_opened[i];
        EXPECT_EQ(opened.nMode, WPARAM('e'));
        EXPECT_EQ(opened.pHolder, &*holder);
        EXPECT_TRUE(opened.bImporting);
        // The progress of every image before this one is shown already.
        EXPECT_EQ(opened.nProgressSoFar, static_cast<int>(i));
        const int nNumber = std::atoi(opened.pHolder->GetImageInfoDDS()->GetLettra(0x0020, 0x0013));
        EXPECT_GT(nNumber, nLastNumber);
        nLastNumber = nNumber;
    }
    std::vector<std::string> progress;
    for (const CString& text : m_frame.m_progress)
        progress.emplace_back(static_cast<LPCSTR>(text));
    EXPECT_EQ(progress, expected);
    // Painting and timers ran between the images, input did not.
    EXPECT_GT(m_imageView.m_opened.back().nPaintsSoFar, 40);
    EXPECT_GT(m_imageView.m_opened.back().nTimersSoFar, 20);
    EXPECT_EQ(m_imageView.m_nInput, 0);
    EXPECT_FALSE(m_frame.m_import.IsImporting());
    EXPECT_EQ(m_frame.m_calls, (std::vector<std::string>{"clear", "loading on", "view 2x2",
                                                         "series 1x1", "finish", "loading off"}));
}

TEST_F(DicomDirImportTest, AReviewKeepsTheScreen)
{
    ChoosePatientAnd(IDC_REVIEW_SELECTION);
    EXPECT_EQ(m_imageView.m_opened.size(), 50U);
    ASSERT_FALSE(m_frame.m_calls.empty());
    EXPECT_EQ(m_frame.m_calls.front(), "loading on");
}

TEST_F(DicomDirImportTest, AQuitEndsTheImportAndStaysForTheProgramsLoop)
{
    m_imageView.m_onOpen = [](int nOpened)
    {
        if (nOpened == 5)
            PostQuitMessage(3);
    };
    ChoosePatientAnd(IDC_VIEW_SELECTION);
    EXPECT_EQ(m_imageView.m_opened.size(), 5U);
    EXPECT_TRUE(m_bQuitSeen);
}

TEST_F(DicomDirImportTest, AViewThatGoesAwayEndsTheImport)
{
    m_imageView.m_onOpen = [this](int nOpened)
    {
        if (nOpened == 3)
            m_imageView.PostMessage(WM_CLOSE, 0, 0);
    };
    ChoosePatientAnd(IDC_VIEW_SELECTION);
    EXPECT_EQ(m_imageView.m_opened.size(), 3U);
    EXPECT_EQ(m_frame.m_calls.back(), "loading off");
    // Without a view nothing is imported.
    EXPECT_EQ(m_frame.m_import.ImportHolders(m_dialog.GetHolders(), m_frame), 0);
}
} // namespace

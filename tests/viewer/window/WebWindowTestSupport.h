// Helpers of the viewer-window tests: a host frame with a CWebWindow made
// the way a host's template makes it, that records what the window posts
// it, and the host's way of opening files into the window.
#pragma once

#include "CImageView.h"
#include "CWebWindow.h"
#include "ImageViewTestSupport.h"
#include "PictureDump.h"
#include "QuillonApp.h"
#include "SeriesShow.h"

#include <string>
#include <utility>
#include <vector>

// The host frame: it keeps the hot-image notices of its viewer window.
class WebHostFrame : public CFrameWnd
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> hotImageNotices;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == CWebWindow::WmHotImageChanged)
        {
            hotImageNotices.emplace_back(wParam, lParam);
            return 0;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class WebWindowTest : public QuillonLogTest
{
protected:
    static constexpr int HostWidth = 800;
    static constexpr int HostHeight = 600;

    void SetUp() override
    {
        QuillonInitialize();
        OpenLog();
        m_pHost = new WebHostFrame;
        ASSERT_TRUE(m_pHost->Create(nullptr, "Host", WS_POPUP | WS_VISIBLE,
                                    CRect(0, 0, HostWidth, HostHeight)));
        CObject* object = RUNTIME_CLASS(CWebWindow)->CreateObject();
        ASSERT_NE(object, nullptr);
        m_pWindow = static_cast<CWebWindow*>(object);
        ASSERT_TRUE(m_pWindow->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE,
                                      CRect(0, 0, HostWidth, HostHeight), m_pHost, 0xE900,
                                      nullptr));
    }
    void TearDown() override
    {
        m_pHost->DestroyWindow();
        QuillonLogTest::TearDown();
        QuillonUninitialize();
    }

    // The host's start: a 2 x 2 grid shown as 1 x 1.
    void StartAsHost()
    {
        ASSERT_TRUE(m_pWindow->CreateView(2, 2));
        ASSERT_TRUE(m_pWindow->SetViewLayout(1, 1));
    }

    // Each file loaded and sent to the window by the mode, as the host
    // does: one transaction number stamped on every handle.
    void Open(const std::vector<std::string>& paths, int mode = CWebWindow::enOpenBySeries,
              int transaction = 1)
    {
        for (const std::string& path : paths)
        {
            Corvane holder;
            ASSERT_TRUE(holder.LoadDicomFile(path.c_str())) << path;
            holder.SetTransactionID(transaction);
            holder.SetToBeSorted(true);
            m_pWindow->SendMessage(CWebWindow::WmOpenCorvane, static_cast<WPARAM>(mode),
                                   reinterpret_cast<LPARAM>(&holder));
        }
    }

    CImageView* View(int row, int column) const
    {
        return static_cast<CImageView*>(m_pWindow->GetViewAt(row, column));
    }

    // The instance numbers each pane of a view shows, 0 for an empty pane.
    static std::vector<int> Instances(const CImageView* view)
    {
        std::vector<int> numbers;
        for (int pane = 0; view != nullptr && pane < view->GetRectCount(); ++pane)
        {
            numbers.push_back(InstanceOf(view->GetPaneImage(pane)));
        }
        return numbers;
    }

    static int SeriesCount(CImageView* view)
    {
        return view != nullptr ? view->GetImageLayout().GetNbOfSeries() : -1;
    }

    // After all views were closed: one view shown and no view of the grid
    // holding a series.
    void ExpectEveryViewClosed() const
    {
        int rows = 0;
        int columns = 0;
        m_pWindow->GetViewLayout(rows, columns);
        EXPECT_EQ(rows * 10 + columns, 11);
        for (int row = 0; row < 2; ++row)
        {
            for (int column = 0; column < 2; ++column)
            {
                EXPECT_EQ(SeriesCount(View(row, column)), 0);
            }
        }
    }

    void Picture(const std::string& name)
    {
        m_pHost->UpdateWindow();
        DumpPicture(m_pHost->m_hWnd, name);
    }

    CFailOnBlockHarness m_harness;
    WebHostFrame* m_pHost = nullptr;
    CWebWindow* m_pWindow = nullptr;
};

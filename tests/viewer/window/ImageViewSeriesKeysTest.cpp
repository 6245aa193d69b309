// Ctrl+Page Up and Down typed into a focused pane of a view in the viewer
// window: the view leaves them to the window, which shows the next or the
// previous series in its hot view.
#include "MedImage.h"
#include "WebWindowTestSupport.h"

TEST_F(WebWindowTest, CtrlPageKeysInAFocusedPaneChangeTheSeries)
{
    StartAsHost();
    for (const ImageSpec& spec : {A, B, OtherSeries, OtherModality})
    {
        Corvane holder = MakeHolder(MakeHeaderImage(spec));
        m_pWindow->SendMessage(CWebWindow::WmOpenCorvane, CWebWindow::enOpenBySeries,
                               reinterpret_cast<LPARAM>(&holder));
    }
    CImageView* view = View(0, 0);
    ASSERT_EQ(SeriesCount(view), 3);
    view->GotoLayoutAt(0);
    view->RefreshCurrentLayout();
    ASSERT_EQ(view->IndexOfHotSeries(), 0);
    const auto type = [&](UINT key, bool control)
    { TypeInto(m_harness, view->GetPane(0), key, control); };
    type(VK_NEXT, true);
    EXPECT_EQ(view->IndexOfHotSeries(), 1);
    type(VK_NEXT, true);
    EXPECT_EQ(view->IndexOfHotSeries(), 2);
    type(VK_PRIOR, true);
    EXPECT_EQ(view->IndexOfHotSeries(), 1);
    type(VK_NEXT, false);
    EXPECT_EQ(view->IndexOfHotSeries(), 1) << "Page Down alone pages within the series";
}

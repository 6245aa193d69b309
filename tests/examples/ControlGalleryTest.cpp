// The control gallery built headless: every control of the platform layer
// and of the control library is there, shown, and draws in its own place;
// its pictures, also with a tree label being edited, a tab's tip and the
// property sheet open, are written out to be looked at.
#include "GalleryWindow.h"
#include "ModalAnswers.h"
#include "UiHarness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace
{
// The folder the pictures go to: SUITE_PICTURE_DIR, else the test's own.
std::string PicturePath(const std::string& name)
{
    const char* pszFolder = std::getenv("SUITE_PICTURE_DIR");
    return (pszFolder != nullptr ? std::string(pszFolder) + "/" : testing::TempDir()) + name +
           ".bmp";
}

std::string ClassOf(HWND hWnd)
{
    char szClass[64] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return szClass;
}

class ControlGalleryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_harness.SetBlockedHandler(
            []
            {
                ADD_FAILURE() << "loop blocked";
                PostQuitMessage(1);
            });
        ASSERT_TRUE(m_gallery.CreateGallery());
        m_gallery.ShowWindow(SW_SHOW);
        m_gallery.UpdateWindow();
        // The animated controls take a few steps.
        for (int i = 0; i < 60; ++i)
        {
            m_harness.AdvanceClock(50);
            m_harness.PumpPending();
        }
        m_gallery.StopAnimations();
        m_harness.PumpPending();
    }

    CUiHarness m_harness;
    CGalleryWindow m_gallery;
};

TEST_F(ControlGalleryTest, EveryControlIsThereAndDrawsInItsPlace)
{
    SaveWindowPicture(m_gallery.m_hWnd, PicturePath("control-gallery").c_str());
    const std::vector<GalleryItem> items = m_gallery.GetItems();
    std::set<std::string> classes;
    std::set<std::string> names;
    WindowPicture picture;
    ASSERT_TRUE(UserGetWindowPicture(m_gallery.m_hWnd, true, picture));
    CRect client;
    m_gallery.GetClientRect(&client);
    for (const GalleryItem& item : items)
    {
        EXPECT_TRUE(names.insert(item.pszName).second) << item.pszName << " twice";
        ASSERT_TRUE(IsWindow(item.hWnd)) << item.pszName;
        EXPECT_TRUE(IsWindowVisible(item.hWnd)) << item.pszName;
        classes.insert(ClassOf(item.hWnd));
        CRect rect;
        GetWindowRect(item.hWnd, &rect);
        m_gallery.ScreenToClient(&rect);
        CRect inside;
        EXPECT_TRUE(inside.IntersectRect(&rect, &client) && inside == rect)
            << item.pszName << " lies inside the window";
        std::set<std::uint32_t> colours;
        for (int y = inside.top; y < inside.bottom; ++y)
            for (int x = inside.left; x < inside.right; ++x)
                colours.insert(picture.GetPixel(x, y));
        EXPECT_GE(colours.size(), 3U) << item.pszName << " draws in its place";
    }
    for (const char* pszClass :
         {"Button", "Edit", "Static", "ListBox", "ComboBox", "ScrollBar", "SysListView32",
          "SysTreeView32", "SysTabControl32", "msctls_progress32", "ToolbarWindow32",
          "msctls_statusbar32", "SysDateTimePick32"})
        EXPECT_EQ(classes.count(pszClass), 1U) << pszClass;
    for (const char* pszName :
         {"flat button", "raised button", "menu button", "custom check box", "3-D button",
          "engraved static", "label", "snake", "marquee", "flat edit", "masked edit",
          "colour combo", "library date picker", "picture static", "scrolling picture", "credits",
          "image pad", "grid"})
        EXPECT_EQ(names.count(pszName), 1U) << pszName;
}

TEST_F(ControlGalleryTest, PicturesOfATreeLabelEditedAndATabsTip)
{
    CTreeCtrl& tree = m_gallery.m_tree;
    tree.SetFocus();
    CEdit* pEdit = tree.EditLabel(tree.GetSelectedItem());
    ASSERT_NE(pEdit, nullptr);
    m_harness.KeyPress('S');
    m_harness.KeyPress('2');
    m_harness.PumpPending();
    m_gallery.UpdateWindow();
    SaveWindowPicture(m_gallery.m_hWnd, PicturePath("control-gallery-label-edit").c_str());
    m_harness.KeyPress(VK_RETURN);
    m_harness.PumpPending();
    EXPECT_EQ(tree.GetItemText(tree.GetSelectedItem()), CString("s2"));

    CRect tab;
    m_gallery.m_tab.GetItemRect(1, &tab);
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_gallery.m_tab.m_hWnd, tab.left + 4, tab.top + 4));
    m_harness.PumpPending();
    m_harness.AdvanceClock(600);
    m_harness.PumpPending();
    const HWND hTip = reinterpret_cast<HWND>(m_gallery.m_tab.SendMessage(TCM_GETTOOLTIPS));
    ASSERT_TRUE(IsWindowVisible(hTip));
    char szTip[64] = {};
    GetWindowTextA(hTip, szTip, sizeof(szTip));
    EXPECT_STREQ(szTip, "The tab \"Series\"");
    SaveWindowPicture(hTip, PicturePath("control-gallery-tab-tip").c_str());
}

TEST_F(ControlGalleryTest, PictureOfThePropertySheet)
{
    SetModalWindowsRun(true);
    bool bShown = false;
    m_harness.Script()
        .Do(
            [&]
            {
                const HWND hSheet = FindWindowA(nullptr, "Gallery Properties");
                bShown = hSheet != nullptr && IsWindowVisible(hSheet);
                if (hSheet != nullptr)
                {
                    UpdateWindow(hSheet);
                    SaveWindowPicture(hSheet, PicturePath("control-gallery-sheet").c_str());
                }
            })
        .KeyPress(VK_ESCAPE);
    EXPECT_EQ(m_gallery.ShowPropertySheet(), IDCANCEL);
    SetModalWindowsRun(false);
    EXPECT_TRUE(bShown);
}
} // namespace

// The open and save dialogs on a real X server: each shows as a window of
// its own with the pixels the layer painted, takes the pointer and the keys
// the user gives it, and returns what was chosen.
#include "WinControls.h"
#include "WinFileDialog.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"
#include "X11TestSupport.h"

#include "../base/TempFolder.h"

#include <X11/keysym.h>

#include <filesystem>
#include <string>

namespace
{
class X11FileDialogTest : public X11BackendTest
{
protected:
    void SetUp() override
    {
        X11BackendTest::SetUp();
        for (const char* pszName : {"a.dcm", "b.dcm", "notes.txt"})
            m_folder.WriteFile(pszName, "x");
        std::filesystem::create_directory(m_folder.GetPath("series"));
        m_hOwner = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 650, 500});
        Settle();
        m_ofn.lStructSize = sizeof(m_ofn);
        m_ofn.hwndOwner = m_hOwner;
        m_ofn.lpstrFilter = "DICOM Files (*.dcm)\0*.dcm\0JPEG (*.jpg)\0*.jpg\0";
        m_ofn.nFilterIndex = 1;
        m_ofn.lpstrFile = m_szFile;
        m_ofn.nMaxFile = sizeof(m_szFile);
        m_ofn.lpstrDefExt = "dcm";
        m_initialDir = m_folder.GetPath();
        m_ofn.lpstrInitialDir = m_initialDir.c_str();
    }

    // The running dialog, shown and given the keyboard; its picture as the
    // server shows it must be the one the layer painted.
    HWND ShowDialog(const char* pszCaption, const char* pszPicture)
    {
        const HWND hDlg = FindWindowA("#32770", pszCaption);
        EXPECT_NE(hDlg, nullptr);
        XSetInputFocus(Outside(), XidOf(hDlg), RevertToParent, CurrentTime);
        const WindowPicture shown = ShownPicture(hDlg, pszPicture);
        const WindowPicture painted = CropToShown(hDlg, PaintedPicture(hDlg));
        EXPECT_GT(shown.nWidth, 200);
        EXPECT_EQ(shown.nWidth, painted.nWidth);
        EXPECT_EQ(shown.nHeight, painted.nHeight);
        EXPECT_EQ(shown.pixels, painted.pixels);
        return hDlg;
    }

    void Type(const std::string& text)
    {
        for (const char ch : text)
        {
            const unsigned long keysym = ch == '.' ? XK_period : static_cast<unsigned long>(ch);
            PressKey(keysym, true);
            PressKey(keysym, false);
        }
    }

    CTempFolder m_folder;
    std::string m_initialDir;
    HWND m_hOwner = nullptr;
    char m_szFile[1024] = {};
    OPENFILENAMEA m_ofn{};
};

TEST_F(X11FileDialogTest, OpenDialogShowsTheFolderAndTakesTheClickedFilesWithReturn)
{
    m_ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    RunSoon(m_hOwner,
            [&]
            {
                const HWND hDlg = ShowDialog("Open", "x11-open-dialog.bmp");
                const HWND hFiles = GetDlgItem(hDlg, lst1);
                RECT rcItem{};
                SendMessageA(hFiles, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rcItem));
                MapWindowPoints(hFiles, nullptr, reinterpret_cast<POINT*>(&rcItem), 2);
                Click(CentreOf(rcItem));
                PressKey(XK_Return, true);
                PressKey(XK_Return, false);
            });
    ASSERT_TRUE(GetOpenFileNameA(&m_ofn)) << CommDlgExtendedError();
    EXPECT_EQ(std::filesystem::path(m_szFile), std::filesystem::path(m_folder.GetPath("b.dcm")));
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
}

TEST_F(X11FileDialogTest, SaveDialogTakesATypedNameWithTheChosenFiltersExtension)
{
    m_ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    m_ofn.nFilterIndex = 2;
    RunSoon(m_hOwner,
            [&]
            {
                const HWND hDlg = ShowDialog("Save As", "x11-save-dialog.bmp");
                RECT rcEdit{};
                GetWindowRect(GetDlgItem(hDlg, edt1), &rcEdit);
                Click(CentreOf(rcEdit));
                Type("scan");
                PressKey(XK_Return, true);
                PressKey(XK_Return, false);
            });
    ASSERT_TRUE(GetSaveFileNameA(&m_ofn)) << CommDlgExtendedError();
    EXPECT_EQ(std::filesystem::path(m_szFile), std::filesystem::path(m_folder.GetPath("scan.jpg")));
    EXPECT_EQ(m_ofn.nFilterIndex, 2u);
}
} // namespace

// The open and save dialogs: choices answered by the test or typed into
// the running dialog come back as paths, in order, with the filter; a
// buffer too small fails; the chosen folder becomes the current one.
#include "../FailOnBlockHarness.h"
#include "AfxFileDialog.h"
#include "AfxWin.h"
#include "ModalAnswers.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace
{
constexpr char kFilter[] = "DICOM Files (*.dcm)|*.dcm|Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg||";

class FileDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* pszName : {"a.dcm", "b.dcm", "notes.txt"})
            std::ofstream(m_folder.PathOf(pszName)) << "x";
        std::filesystem::create_directory(m_folder.PathOf("series"));
    }

    // The hook answers file dialogs with IDOK after choosing.
    void AnswerWith(const FileDialogChoice& choice)
    {
        SetModalAnswerHook(
            [choice](const ModalRequest& request) -> std::optional<INT_PTR>
            {
                if (request.kind != enModalKind::FileDialog)
                    return std::nullopt;
                SetFileDialogChoice(choice);
                return IDOK;
            });
    }

    CKeptWorkingFolder m_workingFolder;
    CFailOnBlockHarness m_harness;
    TempFolder m_folder;
};

TEST_F(FileDialogTest, OpenReturnsTheChosenFilesInTheirOrderAndLeavesTheirFolderCurrent)
{
    std::vector<char> buffer(32768, '\0');
    CFileDialog dialog(TRUE, "dcm", nullptr,
                       OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, kFilter);
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    AnswerWith({m_folder.PathOf(""), {"b.dcm", "a.dcm"}, 1});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    std::vector<std::string> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;)
        paths.push_back(static_cast<LPCSTR>(dialog.GetNextPathName(pos)));
    const std::filesystem::path folder =
        std::filesystem::path(m_folder.PathOf("")).lexically_normal();
    EXPECT_EQ(paths,
              (std::vector<std::string>{(folder / "b.dcm").string(), (folder / "a.dcm").string()}));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folder).parent_path());
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogTest, SelectionLongerThanTheBufferFailsWithTheSizeNeeded)
{
    char szSmall[16] = {};
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT, kFilter);
    dialog.m_ofn.lpstrFile = szSmall;
    dialog.m_ofn.nMaxFile = sizeof(szSmall);
    AnswerWith({m_folder.PathOf(""), {"a.dcm", "b.dcm"}, 1});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(CommDlgExtendedError(), DWORD(FNERR_BUFFERTOOSMALL));
    WORD nNeeded = 0;
    std::memcpy(&nNeeded, szSmall, sizeof(nNeeded));
    EXPECT_GT(nNeeded, sizeof(szSmall));
}

struct SaveCase
{
    const char* pszTyped;
    DWORD nFilterIndex;
    const char* pszExpected;
};

class FileDialogSaveTest : public FileDialogTest, public testing::WithParamInterface<SaveCase>
{
};

TEST_P(FileDialogSaveTest, SaveReturnsOnePathWithTheFiltersExtensionAndTheFilter)
{
    const SaveCase& testCase = GetParam();
    // Open-only flags do not bind a save dialog.
    CFileDialog dialog(FALSE, "jpg", nullptr, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, kFilter);
    AnswerWith({m_folder.PathOf(""), {testCase.pszTyped, "other"}, testCase.nFilterIndex});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::filesystem::path(static_cast<LPCSTR>(dialog.GetPathName())),
              std::filesystem::path(m_folder.PathOf(testCase.pszExpected)).lexically_normal());
    EXPECT_EQ(dialog.m_ofn.nFilterIndex, testCase.nFilterIndex);
    EXPECT_STREQ(dialog.GetFileName(), testCase.pszExpected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileDialogSaveTest,
                         testing::Values(SaveCase{"picture", 2, "picture.bmp"},
                                         SaveCase{"picture", 3, "picture.jpg"},
                                         SaveCase{"scan.dcm", 3, "scan.dcm"},
                                         SaveCase{"new", 1, "new.dcm"}));

TEST_F(FileDialogTest, CancelReturnsNothingAndNoError)
{
    SetModalAnswerHook([](const ModalRequest&) -> std::optional<INT_PTR> { return IDCANCEL; });
    CFileDialog dialog(TRUE, nullptr, nullptr, 0, kFilter);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(dialog.GetStartPosition(), nullptr);
}

// The dialog itself, driven by scripted input: it shows the folder's
// sub-folders and the files of the chosen filter, and takes a typed name.
TEST_F(FileDialogTest, RunningDialogListsTheFolderAndTakesTheTypedName)
{
    SetModalWindowsRun(true);
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST, kFilter);
    const std::string folder = m_folder.PathOf("");
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    std::vector<std::string> files;
    std::vector<std::string> folders;
    m_harness.Script()
        .Do(
            [&]
            {
                const HWND hDlg = ::FindWindowA("#32770", "Open");
                for (auto [nId, pList] : {std::pair{lst1, &files}, std::pair{lst2, &folders}})
                {
                    const int nCount =
                        static_cast<int>(::SendDlgItemMessageA(hDlg, nId, LB_GETCOUNT, 0, 0));
                    for (int i = 0; i < nCount; ++i)
                    {
                        char szItem[64] = {};
                        ::SendDlgItemMessageA(hDlg, nId, LB_GETTEXT, i,
                                              reinterpret_cast<LPARAM>(szItem));
                        pList->push_back(szItem);
                    }
                }
                if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
                    SaveWindowPicture(hDlg, (testing::TempDir() + "file-dialog.bmp").c_str());
                ::SetDlgItemTextA(hDlg, edt1, "b.dcm");
            })
        .KeyPress(VK_RETURN);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(files, (std::vector<std::string>{"a.dcm", "b.dcm"}));
    EXPECT_EQ(folders, (std::vector<std::string>{"..", "series"}));
    EXPECT_EQ(std::filesystem::path(static_cast<LPCSTR>(dialog.GetPathName())),
              std::filesystem::path(m_folder.PathOf("b.dcm")).lexically_normal());
    SetModalWindowsRun(false);
}
} // namespace

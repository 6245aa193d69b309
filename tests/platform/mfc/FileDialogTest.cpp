// The open and save dialogs: choices answered by the test or typed into
// the running dialog come back as paths, in order, with the filter; a
// buffer too small fails; the chosen folder becomes the current one. A hook
// hears the running dialog and changes it.
#include "../FailOnBlockHarness.h"
#include "AfxFileDialog.h"
#include "AfxWin.h"
#include "ModalAnswers.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
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

TEST_F(FileDialogTest, OpenTakesAnExistingNameWithoutExtensionAsItIs)
{
    std::ofstream(m_folder.PathOf("DICOMDIR")) << "x";
    std::vector<char> buffer(512, '\0');
    CFileDialog dialog(TRUE, "DICOMDIR", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       "DICOMDIR|DICOMDIR|All files (*.*)|*.*||");
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    AnswerWith({m_folder.PathOf(""), {"DICOMDIR"}, 1});
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::filesystem::path(static_cast<LPCSTR>(dialog.GetPathName())).filename(),
              "DICOMDIR");
    // A name that does not exist as typed still gets the extension.
    AnswerWith({m_folder.PathOf(""), {"a"}, 1});
    CFileDialog other(TRUE, "dcm", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFilter);
    other.m_ofn.lpstrFile = buffer.data();
    other.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ASSERT_EQ(other.DoModal(), IDOK);
    EXPECT_EQ(std::filesystem::path(static_cast<LPCSTR>(other.GetPathName())).filename(), "a.dcm");
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

// The dialog opens with the keyboard in the name box: a name typed at once
// goes there and Enter chooses it.
TEST_F(FileDialogTest, ANameTypedAtOnceGoesToTheNameBox)
{
    SetModalWindowsRun(true);
    for (const BOOL bOpen : {TRUE, FALSE})
    {
        CFileDialog dialog(bOpen, nullptr, nullptr, OFN_FILEMUSTEXIST, kFilter);
        const std::string folder = m_folder.PathOf("");
        dialog.m_ofn.lpstrInitialDir = folder.c_str();
        int nFocusId = 0;
        m_harness.Script()
            .Do([&] { nFocusId = ::GetDlgCtrlID(::GetFocus()); })
            .KeyPress('B')
            .KeyPress(VK_OEM_PERIOD)
            .KeyPress('D')
            .KeyPress('C')
            .KeyPress('M')
            .KeyPress(VK_RETURN);
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(nFocusId, edt1);
        EXPECT_EQ(std::filesystem::path(static_cast<LPCSTR>(dialog.GetPathName())),
                  std::filesystem::path(m_folder.PathOf("b.dcm")).lexically_normal());
    }
    SetModalWindowsRun(false);
}

// A typed name that is missing is told over the running dialog, which stays
// for another name.
TEST_F(FileDialogTest, MissingFileIsToldAndTheDialogStaysForAnotherName)
{
    SetModalWindowsRun(true);
    std::vector<ModalRequest> boxes;
    SetModalAnswerHook(
        [&boxes](const ModalRequest& request) -> std::optional<INT_PTR>
        {
            if (request.kind != enModalKind::MessageBox)
                return std::nullopt;
            boxes.push_back(request);
            return IDOK;
        });
    CFileDialog dialog(TRUE, "dcm", nullptr, OFN_FILEMUSTEXIST, kFilter);
    const std::string folder = m_folder.PathOf("");
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    HWND hDlg = nullptr;
    bool bKept = false;
    m_harness.Script()
        .Do(
            [&]
            {
                hDlg = ::FindWindowA("#32770", "Open");
                ::SetDlgItemTextA(hDlg, edt1, "missing");
            })
        .KeyPress(VK_RETURN)
        .Do(
            [&]
            {
                bKept = ::IsWindowVisible(hDlg) != FALSE;
                ::SetDlgItemTextA(hDlg, edt1, "a");
            })
        .KeyPress(VK_RETURN);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    SetModalWindowsRun(false);
    EXPECT_TRUE(bKept);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hOwner, hDlg);
    const std::filesystem::path missing =
        std::filesystem::path(m_folder.PathOf("missing.dcm")).lexically_normal();
    EXPECT_EQ(boxes[0].text, missing.string() + "\nFile not found.");
    EXPECT_EQ(std::filesystem::path(static_cast<LPCSTR>(dialog.GetPathName())),
              std::filesystem::path(m_folder.PathOf("a.dcm")).lexically_normal());
}

// A list item of the running dialog clicked once, or twice (a double
// click).
void ClickItem(CUiHarness& harness, HWND hDlg, int nList, int nItem, int nClicks = 1)
{
    const HWND hList = ::GetDlgItem(hDlg, nList);
    RECT rect{};
    ::SendMessageA(hList, LB_GETITEMRECT, static_cast<WPARAM>(nItem),
                   reinterpret_cast<LPARAM>(&rect));
    const POINT pt = CUiHarness::ScreenPoint(hList, rect.left + 5, (rect.top + rect.bottom) / 2);
    for (int i = 0; i < nClicks; ++i)
        harness.Click(enMouseButton::Left, pt);
}

POINT ButtonCentre(HWND hDlg, int nId)
{
    RECT rect{};
    ::GetClientRect(::GetDlgItem(hDlg, nId), &rect);
    return CUiHarness::ScreenPoint(::GetDlgItem(hDlg, nId), rect.right / 2, rect.bottom / 2);
}

// A list item clicked with a key held (VK_CONTROL, VK_SHIFT).
void ClickItemWith(CUiHarness& harness, HWND hDlg, UINT nKey, int nItem)
{
    harness.KeyDown(nKey);
    ClickItem(harness, hDlg, lst1, nItem);
    harness.KeyUp(nKey);
}

std::string EditText(HWND hDlg)
{
    char szText[256] = {};
    ::GetDlgItemTextA(hDlg, edt1, szText, sizeof(szText));
    return szText;
}

// Ctrl toggles a file, Shift selects the range from the last plain or Ctrl
// click; the edit quotes the picked names and OK returns them all.
TEST_F(FileDialogTest, OpenWithSeveralFilesPicksThemInTheListWithCtrlAndShift)
{
    for (const char* pszName : {"c.dcm", "d.dcm"})
        std::ofstream(m_folder.PathOf(pszName)) << "x";
    SetModalWindowsRun(true);
    std::vector<char> buffer(4096, '\0');
    CFileDialog dialog(TRUE, nullptr, nullptr,
                       OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, kFilter);
    const std::string folder = m_folder.PathOf("");
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    HWND hDlg = nullptr;
    std::vector<std::string> edits;
    const auto keepEdit = [&] { edits.push_back(EditText(hDlg)); };
    m_harness.Script()
        .Do(
            [&]
            {
                hDlg = ::FindWindowA("#32770", "Open");
                ClickItem(m_harness, hDlg, lst1, 0);
                ClickItemWith(m_harness, hDlg, VK_CONTROL, 2);
            })
        .Do(
            [&]
            {
                keepEdit();
                ClickItem(m_harness, hDlg, lst1, 1);
                ClickItemWith(m_harness, hDlg, VK_SHIFT, 3);
            })
        .Do(
            [&]
            {
                keepEdit();
                ClickItemWith(m_harness, hDlg, VK_CONTROL, 2);
            })
        .Do(
            [&]
            {
                keepEdit();
                if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
                    SaveWindowPicture(hDlg,
                                      (testing::TempDir() + "file-dialog-several.bmp").c_str());
                m_harness.Click(enMouseButton::Left, ButtonCentre(hDlg, IDOK));
            });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(edits,
              (std::vector<std::string>{"\"a.dcm\" \"c.dcm\"", "\"b.dcm\" \"c.dcm\" \"d.dcm\"",
                                        "\"b.dcm\" \"d.dcm\""}));
    // The buffer holds the folder, then each name, then an empty one.
    const std::string shown =
        std::filesystem::path(m_folder.PathOf("")).lexically_normal().parent_path().string();
    const std::string expected = shown + std::string(1, '\0') + "b.dcm" + std::string(1, '\0') +
                                 "d.dcm" + std::string(2, '\0');
    EXPECT_EQ(std::string(buffer.data(), expected.size()), expected);
    SetModalWindowsRun(false);
}

// A plain open dialog keeps one file picked: Ctrl adds none.
TEST_F(FileDialogTest, OpenWithOneFileKeepsOnePickedInTheList)
{
    SetModalWindowsRun(true);
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST, kFilter);
    const std::string folder = m_folder.PathOf("");
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    HWND hDlg = nullptr;
    LRESULT nSelCount = 0;
    m_harness.Script()
        .Do(
            [&]
            {
                hDlg = ::FindWindowA("#32770", "Open");
                ClickItem(m_harness, hDlg, lst1, 0);
                ClickItemWith(m_harness, hDlg, VK_CONTROL, 1);
            })
        .Do(
            [&]
            {
                nSelCount = ::SendDlgItemMessageA(hDlg, lst1, LB_GETSELCOUNT, 0, 0);
                m_harness.Click(enMouseButton::Left, ButtonCentre(hDlg, IDOK));
            });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(nSelCount, LB_ERR);
    EXPECT_EQ(std::filesystem::path(static_cast<LPCSTR>(dialog.GetPathName())),
              std::filesystem::path(m_folder.PathOf("b.dcm")).lexically_normal());
    SetModalWindowsRun(false);
}

// A folder chooser made of the open dialog: the name and type controls go,
// OK reads "Select" and takes the folder shown, by a procedure put over the
// dialog's own.
class CFolderPicker : public CFileDialog
{
public:
    CFolderPicker() : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "All|*.*||") {}

    CString strChosen;
    std::vector<std::string> notices;

protected:
    void OnInitDone() override
    {
        notices.emplace_back("init done");
        for (const int nId : {edt1, cmb1, stc2, stc3})
            HideControl(nId);
        SetControlText(IDOK, "Select");
        tPicker = this;
        tPreviousProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            ::GetParent(m_hWnd), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogProc)));
    }
    void OnFolderChange() override
    {
        notices.push_back(
            "folder " +
            std::filesystem::path(static_cast<LPCSTR>(GetFolderPath())).filename().string());
    }

private:
    static LRESULT DialogProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        if (nMsg == WM_COMMAND && LOWORD(wParam) == IDOK)
        {
            tPicker->strChosen = tPicker->GetFolderPath();
            ::EndDialog(hDlg, IDOK);
            return 0;
        }
        return ::CallWindowProcA(tPreviousProc, hDlg, nMsg, wParam, lParam);
    }

    static inline thread_local CFolderPicker* tPicker = nullptr;
    static inline thread_local WNDPROC tPreviousProc = nullptr;
};

TEST_F(FileDialogTest, FolderChooserHidesTheNameControlsAndTakesTheFolderShownOnOk)
{
    SetModalWindowsRun(true);
    CFolderPicker picker;
    const std::string folder = m_folder.PathOf("");
    picker.m_ofn.lpstrInitialDir = folder.c_str();
    std::vector<bool> visible;
    std::string okText;
    m_harness.Script()
        .Do(
            [&]
            {
                const HWND hDlg = ::FindWindowA("#32770", "Open");
                for (const int nId : {edt1, cmb1, stc2, stc3, lst1, lst2})
                    visible.push_back(::IsWindowVisible(::GetDlgItem(hDlg, nId)) != FALSE);
                char szText[16] = {};
                ::GetDlgItemTextA(hDlg, IDOK, szText, sizeof(szText));
                okText = szText;
                // "..", then the sub-folder.
                ClickItem(m_harness, hDlg, lst2, 1, 2);
            })
        .Do(
            [&]
            {
                const HWND hDlg = ::FindWindowA("#32770", "Open");
                if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
                    SaveWindowPicture(hDlg, (testing::TempDir() + "folder-chooser.bmp").c_str());
                m_harness.Click(enMouseButton::Left, ButtonCentre(hDlg, IDOK));
            });
    EXPECT_EQ(picker.DoModal(), IDOK);
    EXPECT_EQ(visible, (std::vector<bool>{false, false, false, false, true, true}));
    EXPECT_EQ(okText, "Select");
    EXPECT_EQ(std::filesystem::path(static_cast<LPCSTR>(picker.strChosen)),
              std::filesystem::path(m_folder.PathOf("series")).lexically_normal());
    const std::string base =
        std::filesystem::path(folder).lexically_normal().parent_path().filename().string();
    EXPECT_EQ(picker.notices,
              (std::vector<std::string>{"init done", "folder " + base, "folder series"}));
    EXPECT_EQ(picker.m_hWnd, nullptr) << "the hook window is gone with the dialog";
    SetModalWindowsRun(false);
}

// The hook of a caller that calls GetOpenFileNameA itself: what it hears
// and what it asks of the dialog.
std::vector<std::string> gHeard;

UINT_PTR RecordingHook(HWND hWnd, UINT nMsg, WPARAM, LPARAM lParam)
{
    if (nMsg == WM_INITDIALOG)
    {
        const auto* pOfn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        gHeard.push_back("init " + std::to_string(pOfn->lCustData));
        return FALSE;
    }
    if (nMsg != WM_NOTIFY)
        return FALSE;
    const auto* pNotice = reinterpret_cast<const OFNOTIFYA*>(lParam);
    const HWND hDlg = ::GetParent(hWnd);
    char szSpec[MAX_PATH] = {};
    ::SendMessageA(hDlg, CDM_GETSPEC, sizeof(szSpec), reinterpret_cast<LPARAM>(szSpec));
    switch (pNotice->hdr.code)
    {
    case CDN_INITDONE:
        gHeard.emplace_back("init done");
        return FALSE;
    case CDN_SELCHANGE:
        gHeard.push_back(std::string("selection ") + szSpec);
        return FALSE;
    case CDN_TYPECHANGE:
        gHeard.emplace_back("type");
        return FALSE;
    case CDN_FILEOK:
    {
        char szPath[MAX_PATH] = {};
        const LRESULT nNeeded =
            ::SendMessageA(hDlg, CDM_GETFILEPATH, 4, reinterpret_cast<LPARAM>(szPath));
        gHeard.push_back(std::string("ok ") + szSpec + " needs " +
                         std::to_string(nNeeded > static_cast<LRESULT>(std::strlen(szSpec)) + 1));
        // The first choice is refused.
        const bool bRefuse = std::string(szSpec) == "a.dcm";
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, bRefuse ? 1 : 0);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

TEST_F(FileDialogTest, HookHearsTheDialogAndMayRefuseAChoice)
{
    SetModalWindowsRun(true);
    gHeard.clear();
    const std::string folder = m_folder.PathOf("");
    char szFile[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFilter = "DICOM\0*.dcm\0Text\0*.txt\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof(szFile);
    ofn.lpstrInitialDir = folder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_FILEMUSTEXIST;
    ofn.lpfnHook = RecordingHook;
    ofn.lCustData = 42;
    HWND hDlg = nullptr;
    m_harness.Script()
        .Do(
            [&]
            {
                hDlg = ::FindWindowA("#32770", "Open");
                ClickItem(m_harness, hDlg, lst1, 0);
            })
        .KeyPress(VK_RETURN)
        .Do([&] { ::SetDlgItemTextA(hDlg, edt1, "b.dcm"); })
        .KeyPress(VK_RETURN);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(gHeard, (std::vector<std::string>{"init 42", "init done", "selection a.dcm",
                                                "ok a.dcm needs 1", "ok b.dcm needs 1"}));
    EXPECT_EQ(std::filesystem::path(szFile),
              std::filesystem::path(m_folder.PathOf("b.dcm")).lexically_normal());
    SetModalWindowsRun(false);
}

// A dialog object that hears the file picked, the filter changed and OK,
// refusing the first name it is given.
class CCheckingDialog : public CFileDialog
{
public:
    CCheckingDialog() : CFileDialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST, kFilter) {}

    std::vector<std::string> heard;

protected:
    void OnFileNameChange() override { heard.push_back("name " + Name()); }
    void OnTypeChange() override { heard.emplace_back("type"); }
    BOOL OnFileNameOK() override
    {
        heard.push_back("ok " + Name());
        return heard.size() < 4;
    }

private:
    std::string Name() const
    {
        return std::filesystem::path(static_cast<LPCSTR>(GetPathName())).filename().string();
    }
};

TEST_F(FileDialogTest, DialogObjectHearsThePickedFileTheFilterAndOk)
{
    SetModalWindowsRun(true);
    CCheckingDialog dialog;
    const std::string folder = m_folder.PathOf("");
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    HWND hDlg = nullptr;
    m_harness.Script()
        .Do(
            [&]
            {
                hDlg = ::FindWindowA("#32770", "Open");
                ClickItem(m_harness, hDlg, lst1, 1);
            })
        .KeyPress(VK_RETURN)
        .Do(
            [&]
            {
                const HWND hCombo = ::GetDlgItem(hDlg, cmb1);
                ::SendMessageA(hCombo, CB_SETCURSEL, 1, 0);
                ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(hCombo));
                ::SetDlgItemTextA(hDlg, edt1, "a.dcm");
            })
        .KeyPress(VK_RETURN);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.heard,
              (std::vector<std::string>{"name b.dcm", "ok b.dcm", "type", "ok a.dcm"}));
    EXPECT_EQ(std::string(dialog.GetFileName()), "a.dcm");
    SetModalWindowsRun(false);
}
} // namespace

// The DICOMDIR browser: every DICOMDIR of the corpus, walked row by row by
// scripted clicks, shows the records dcmdump lists (the references of
// tools/make_dicomdir_references.py) and prepares one handle per image
// file of the chosen subtree; View, Review, double click, Enter and Escape
// with a stand-in for the frame that owns the dialog.
#include "DICOMDIRView.h"
#include "../Dicom/High/DicomDirReferenceLines.h"
#include "AppTestSupport.h"
#include "DICOMDataSet.h"
#include "DICOMFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

struct RecordNode
{
    std::string type;
    std::string key;
    std::vector<RecordNode> children;
};

// The reference trees by file, rebuilt from their pre-order lines.
std::map<std::string, std::vector<RecordNode>> ReferenceTrees()
{
    std::map<std::string, std::vector<RecordNode>> trees;
    for (const RecordLine& line : ReferenceLines)
    {
        std::vector<RecordNode>& top = trees[line.file];
        if (line.depth < 0)
            continue;
        std::vector<RecordNode>* level = &top;
        for (int depth = 0; depth < line.depth; ++depth)
            level = &level->back().children;
        level->push_back({line.type, line.key, {}});
    }
    return trees;
}

// The file IDs a choice of the record hands over: a patient or study
// brings every image below it, a series (or other record) its own
// children, an image itself.
void CollectFileIDs(const RecordNode& node, std::vector<std::string>& ids)
{
    if (node.type == "PATIENT" || node.type == "STUDY")
    {
        for (const RecordNode& child : node.children)
            CollectFileIDs(child, ids);
    }
    else if (node.type == "IMAGE")
    {
        ids.push_back(node.key);
    }
    else
    {
        for (const RecordNode& child : node.children)
            ids.push_back(child.key);
    }
}

std::string AsPath(std::string fileID)
{
    std::replace(fileID.begin(), fileID.end(), '\\', '/');
    return fileID;
}

// The owner of the dialog, as the frame stands to it: it records what the
// dialog hands over when told of a selection.
class CFrameDouble : public CWnd
{
public:
    CDICOMDIRView* m_pView = nullptr;
    int m_nSelections = 0;
    bool m_bReview = false;
    std::vector<std::string> m_paths;
    std::vector<int> m_transactions;

protected:
    afx_msg LRESULT OnDicomDirSelection(WPARAM, LPARAM)
    {
        ++m_nSelections;
        m_bReview = m_pView->IsReview();
        m_paths.clear();
        m_transactions.clear();
        for (const Corvane& holder : m_pView->GetHolders())
        {
            m_paths.emplace_back(holder.GetFileName());
            m_transactions.push_back(holder.GetTransactionID());
        }
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFrameDouble, CWnd)
ON_MESSAGE(WM_DICOMDIR_SELECTION, OnDicomDirSelection)
END_MESSAGE_MAP()

constexpr CDICOMDIRView::enLevel kLevels[] = {CDICOMDIRView::enPatient, CDICOMDIRView::enStudy,
                                              CDICOMDIRView::enSeries, CDICOMDIRView::enImage};
// The record type each list is made for, and the column of its key.
constexpr const char* kLevelTypes[] = {"PATIENT", "STUDY", "SERIES", "IMAGE"};
constexpr int kKeyColumns[] = {2, 5, 8, -1};

class DICOMDIRViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::is_directory(DirTestFolder))
            GTEST_SKIP() << "corpus folder not found";
        ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE,
                                     CRect(0, 0, 200, 100), nullptr, 0));
        m_frame.m_pView = &m_view;
        ASSERT_TRUE(m_view.CreateView(&m_frame));
        m_view.ShowWindow(SW_SHOW);
    }

    // Dispatches what is ready as the program's loop does: the dialog takes
    // its keys in the pre-translation walk.
    void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (CWnd::WalkPreTranslateTree(nullptr, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    void ClickAt(HWND hWnd, POINT ptClient, bool bDouble = false)
    {
        // Apart in time, so that separate clicks never make a double click.
        m_ui.AdvanceClock(1000);
        const POINT pt = CUiHarness::ScreenPoint(hWnd, ptClient.x, ptClient.y);
        m_ui.Click(enMouseButton::Left, pt);
        if (bDouble)
            m_ui.Click(enMouseButton::Left, pt);
        Pump();
    }

    void ClickRow(CDICOMDIRView::enLevel level, int nRow, bool bDouble = false)
    {
        CColumnSortList& list = m_view.GetList(level);
        list.SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRow), FALSE);
        RECT rc{};
        ASSERT_TRUE(list.GetItemRect(nRow, &rc, LVIR_BOUNDS));
        ClickAt(list.m_hWnd, {rc.left + 10, (rc.top + rc.bottom) / 2}, bDouble);
    }

    void ClickButton(UINT nID)
    {
        CWnd* pButton = m_view.GetDlgItem(static_cast<int>(nID));
        ASSERT_NE(pButton, nullptr);
        ClickAt(pButton->m_hWnd, {5, 5});
    }

    // The list's own click notification on a row, without the input path:
    // the walk over every corpus file stays quick.
    void NotifyRowClick(CDICOMDIRView::enLevel level, int nRow)
    {
        CColumnSortList& list = m_view.GetList(level);
        list.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.SetSelectionMark(nRow);
        NMITEMACTIVATE notify{};
        notify.hdr = {list.m_hWnd, static_cast<UINT_PTR>(list.GetDlgCtrlID()), NM_CLICK};
        notify.iItem = nRow;
        m_view.SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    }

    std::vector<std::string> HolderPaths() const
    {
        std::vector<std::string> paths;
        for (const Corvane& holder : m_view.GetHolders())
            paths.emplace_back(holder.GetFileName());
        return paths;
    }

    std::vector<std::string> ExpectedPaths(const RecordNode& node) const
    {
        std::vector<std::string> ids;
        CollectFileIDs(node, ids);
        std::vector<std::string> paths;
        for (const std::string& id : ids)
            paths.push_back(m_view.GetFolder() + AsPath(id));
        return paths;
    }

    // Each row of the level: its record's key and, once clicked, the
    // handles of its subtree; then the rows of the level below it.
    void CheckLevel(int nLevel, const std::vector<RecordNode>& nodes, const std::string& where)
    {
        const CDICOMDIRView::enLevel level = kLevels[nLevel];
        CColumnSortList& list = m_view.GetList(level);
        ASSERT_EQ(list.GetItemCount(), static_cast<int>(nodes.size())) << where;
        for (int i = 0; i < list.GetItemCount(); ++i)
        {
            const RecordNode& node = nodes[static_cast<std::size_t>(i)];
            const std::string at = where + "/" + std::to_string(i);
            EXPECT_EQ(list.GetRowValue(i), i) << at;
            if (kKeyColumns[nLevel] >= 0 && node.type == kLevelTypes[nLevel])
            {
                EXPECT_EQ(std::string(list.GetItemText(i, kKeyColumns[nLevel])), node.key) << at;
            }
            if (m_bScripted)
                ClickRow(level, i);
            else
                NotifyRowClick(level, i);
            EXPECT_EQ(m_view.GetChosen(level), i) << at;
            std::vector<std::string> paths = HolderPaths();
            std::vector<std::string> expected = ExpectedPaths(node);
            std::sort(paths.begin(), paths.end());
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(paths, expected) << at;
            if (nLevel + 1 < CDICOMDIRView::enLevels)
                CheckLevel(nLevel + 1, node.children, at);
        }
    }

    bool m_bScripted = true;
    CFailOnBlockHarness m_ui;
    CFrameDouble m_frame;
    CDICOMDIRView m_view;
};

TEST_F(DICOMDIRViewTest, EveryCorpusDirectoryFillsTheListsAsThePeerListsIt)
{
    m_bScripted = false;
    for (const auto& [file, tree] : ReferenceTrees())
    {
        const fs::path path = DirTestFolder / file;
        SCOPED_TRACE(file);
        const int nLoaded = m_view.LoadDicomDir(path.string().c_str());
        if (tree.empty())
        {
            // Nothing to show, whether or not the file counts as read.
            EXPECT_EQ(m_view.GetList(CDICOMDIRView::enPatient).GetItemCount(), 0);
            continue;
        }
        ASSERT_EQ(nLoaded, 1);
        EXPECT_EQ(m_view.GetFolder(), path.parent_path().string() + "/");
        CheckLevel(0, tree, file);
    }
    EXPECT_EQ(m_frame.m_nSelections, 0);
}

TEST_F(DICOMDIRViewTest, TheKeyboardChoosesARowAsAClickDoesAndAClickChoosesOnce)
{
    const std::string file = "DICOMDIR";
    ASSERT_EQ(m_view.LoadDicomDir((DirTestFolder / file).string().c_str()), 1);
    const std::vector<RecordNode> patients = ReferenceTrees()[file];
    ASSERT_GE(patients.size(), 2u);
    ClickRow(CDICOMDIRView::enPatient, 0);
    ASSERT_FALSE(m_view.GetHolders().empty());
    const long nClicked = m_view.GetHolders().front().GetTransactionID();
    // A click on another row collects the selection once.
    ClickRow(CDICOMDIRView::enPatient, 1);
    ASSERT_FALSE(m_view.GetHolders().empty());
    EXPECT_EQ(m_view.GetHolders().front().GetTransactionID(), nClicked + 1);
    ClickRow(CDICOMDIRView::enPatient, 0);
    m_ui.KeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(m_view.GetChosen(CDICOMDIRView::enPatient), 1);
    EXPECT_EQ(m_view.GetList(CDICOMDIRView::enStudy).GetItemCount(),
              static_cast<int>(patients[1].children.size()));
    std::vector<std::string> paths = HolderPaths();
    std::vector<std::string> expected = ExpectedPaths(patients[1]);
    std::sort(paths.begin(), paths.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected);
}

TEST_F(DICOMDIRViewTest, MouseClicksWalkADirectoryOfFiftyImages)
{
    const std::string file = "TINY_ALPHA/DICOMDIR";
    ASSERT_EQ(m_view.LoadDicomDir((DirTestFolder / file).string().c_str()), 1);
    CheckLevel(0, ReferenceTrees()[file], file);
    EXPECT_EQ(m_frame.m_nSelections, 0);
    KeepPicture(m_view.m_hWnd, "DicomDirBrowser");
}
} // namespace

namespace
{
// A folder the library's own writer indexes: a CT series whose instance
// numbers are 10, 2 and 1, and a CR series of one image, all of one
// patient and study.
class WrittenDICOMDIRTest : public DICOMDIRViewTest
{
protected:
    void SetUp() override
    {
        DICOMDIRViewTest::SetUp();
        if (IsSkipped())
            return;
        m_folder = fs::temp_directory_path() /
                   ("pelivorun-dicomdir-" +
                    std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                    std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(m_folder / "CT");
        fs::create_directories(m_folder / "CR");
        const fs::path source = fs::path(SUITE_CORPUS_DIR) / "pydicom/test_files/CT_small.dcm";
        const struct
        {
            const char* name;
            const char* modality;
            const char* number;
            const char* series;
        } files[] = {{"CT/IMG10", "CT", "10", "1.2.826.0.1.3680043.10.99.1"},
                     {"CT/IMG2", "CT", "2", "1.2.826.0.1.3680043.10.99.1"},
                     {"CT/IMG1", "CT", "1", "1.2.826.0.1.3680043.10.99.1"},
                     {"CR/IMG1", "CR", "1", "1.2.826.0.1.3680043.10.99.2"}};
        int nInstance = 0;
        for (const auto& file : files)
        {
            DICOMFile image;
            ASSERT_EQ(image.ReadFile(source.string().c_str()), 1);
            image.Add(0x0008, 0x0060, file.modality);
            image.Add(0x0020, 0x0013, file.number);
            image.Add(0x0020, 0x000E, file.series);
            const std::string uid = "1.2.826.0.1.3680043.10.99.3." + std::to_string(++nInstance);
            image.Add(0x0008, 0x0018, uid.c_str());
            image.Add(0x0002, 0x0003, uid.c_str());
            ASSERT_EQ(image.WriteFile((m_folder / file.name).string().c_str(), 1), 1);
        }
        DicomDir dir;
        dir.SetIcons(0);
        ASSERT_NE(dir.CreateDicomDir(m_folder.string().c_str(), "WRITTEN", nullptr), 0);
        ASSERT_EQ(m_view.LoadDicomDir((m_folder / "DICOMDIR").string().c_str()), 1);
    }

    void TearDown() override
    {
        std::error_code ec;
        if (!m_folder.empty())
            fs::remove_all(m_folder, ec);
    }

    // The row of the list whose column shows the text.
    int RowShowing(CDICOMDIRView::enLevel level, int nColumn, const char* pszText)
    {
        CColumnSortList& list = m_view.GetList(level);
        for (int i = 0; i < list.GetItemCount(); ++i)
            if (std::string(list.GetItemText(i, nColumn)) == pszText)
                return i;
        return -1;
    }

    void ChooseSeries(const char* pszModality)
    {
        ClickRow(CDICOMDIRView::enPatient, 0);
        ClickRow(CDICOMDIRView::enStudy, 0);
        const int nRow = RowShowing(CDICOMDIRView::enSeries, 3, pszModality);
        ASSERT_GE(nRow, 0);
        ClickRow(CDICOMDIRView::enSeries, nRow);
    }

    std::string PathOf(const char* name) const { return (m_folder / name).string(); }

    fs::path m_folder;
};

TEST_F(WrittenDICOMDIRTest, ListsShowTheFilesTheWriterIndexed)
{
    EXPECT_EQ(m_view.GetList(CDICOMDIRView::enPatient).GetItemCount(), 1);
    EXPECT_EQ(std::string(m_view.GetList(CDICOMDIRView::enPatient).GetItemText(0, 2)), "1CT1");
    ClickRow(CDICOMDIRView::enPatient, 0);
    // Every image of the patient, each series in instance order.
    std::vector<std::string> paths = HolderPaths();
    EXPECT_EQ(paths.size(), 4U);
    ClickRow(CDICOMDIRView::enStudy, 0);
    EXPECT_EQ(m_view.GetList(CDICOMDIRView::enSeries).GetItemCount(), 2);
    ChooseSeries("CT");
    EXPECT_EQ(HolderPaths(),
              (std::vector<std::string>{PathOf("CT/IMG1"), PathOf("CT/IMG2"), PathOf("CT/IMG10")}));
    CColumnSortList& images = m_view.GetList(CDICOMDIRView::enImage);
    ASSERT_EQ(images.GetItemCount(), 3);
    // The image list sorted by instance number, then a click: the row still
    // names its own record.
    images.SortByColumn(1);
    EXPECT_EQ(std::string(images.GetItemText(2, 1)), "10");
    ClickRow(CDICOMDIRView::enImage, 2);
    EXPECT_EQ(HolderPaths(), std::vector<std::string>{PathOf("CT/IMG10")});
    const DICOMDataSet* pInfo = m_view.GetHolders().front().GetImageInfoDDS();
    ASSERT_NE(pInfo, nullptr);
    EXPECT_EQ(std::string(pInfo->GetLettra(0x0010, 0x0020)), "1CT1");
    EXPECT_EQ(std::string(pInfo->GetLettra(0x0020, 0x0013)), "10");
    EXPECT_EQ(std::string(pInfo->GetLettra(0x0008, 0x0018)), "1.2.826.0.1.3680043.10.99.3.1");
}

TEST_F(WrittenDICOMDIRTest, GroupAndScopeFollowTheModality)
{
    const struct
    {
        const char* modality;
        Corvane::enGroupBy group;
        Corvane::enScope scope;
    } cases[] = {{"CT", Corvane::enGroupBySeries, Corvane::enScopeView},
                 {"CR", Corvane::enGroupByStudy, Corvane::enScopeImage}};
    int nLastTransaction = 0;
    for (const auto& c : cases)
    {
        ChooseSeries(c.modality);
        ASSERT_FALSE(m_view.GetHolders().empty());
        const int nTransaction = m_view.GetHolders().front().GetTransactionID();
        EXPECT_GT(nTransaction, nLastTransaction);
        nLastTransaction = nTransaction;
        for (const Corvane& holder : m_view.GetHolders())
        {
            EXPECT_EQ(holder.GetGroup(), c.group) << c.modality;
            EXPECT_EQ(holder.GetScope(), c.scope) << c.modality;
            EXPECT_EQ(holder.GetTransactionID(), nTransaction);
        }
    }
}

TEST_F(WrittenDICOMDIRTest, ViewReviewAndDoubleClickHandTheChoiceToTheFrame)
{
    EXPECT_FALSE(m_view.GetDlgItem(IDC_VIEW_SELECTION)->IsWindowVisible());
    ChooseSeries("CT");
    EXPECT_TRUE(m_view.GetDlgItem(IDC_VIEW_SELECTION)->IsWindowVisible());
    EXPECT_TRUE(m_view.GetDlgItem(IDC_REVIEW_SELECTION)->IsWindowVisible());
    const std::vector<std::string> ct = {PathOf("CT/IMG1"), PathOf("CT/IMG2"), PathOf("CT/IMG10")};

    ClickButton(IDC_REVIEW_SELECTION);
    EXPECT_EQ(m_frame.m_nSelections, 1);
    EXPECT_TRUE(m_frame.m_bReview);
    EXPECT_EQ(m_frame.m_paths, ct);
    EXPECT_FALSE(m_view.IsWindowVisible());

    // Shown again, the dialog kept its lists and choice.
    m_view.ShowWindow(SW_SHOW);
    EXPECT_EQ(m_view.GetChosen(CDICOMDIRView::enSeries),
              m_view.GetList(CDICOMDIRView::enSeries)
                  .GetRowValue(RowShowing(CDICOMDIRView::enSeries, 3, "CT")));
    ClickButton(IDC_VIEW_SELECTION);
    EXPECT_EQ(m_frame.m_nSelections, 2);
    EXPECT_FALSE(m_frame.m_bReview);
    EXPECT_EQ(m_frame.m_paths, ct);

    // A double click on a row chooses it and views it at once.
    m_view.ShowWindow(SW_SHOW);
    m_view.GetList(CDICOMDIRView::enImage).SortByColumn(1);
    ClickRow(CDICOMDIRView::enImage, 0, true);
    EXPECT_EQ(m_frame.m_nSelections, 3);
    EXPECT_FALSE(m_frame.m_bReview);
    EXPECT_EQ(m_frame.m_paths, std::vector<std::string>{PathOf("CT/IMG1")});
    EXPECT_FALSE(m_view.IsWindowVisible());
}

TEST_F(WrittenDICOMDIRTest, EnterAndEscapePutTheDialogAwayWithoutAHandOver)
{
    ChooseSeries("CR");
    for (const UINT nKey : {UINT(VK_RETURN), UINT(VK_ESCAPE)})
    {
        m_view.ShowWindow(SW_SHOW);
        m_view.GetList(CDICOMDIRView::enSeries).SetFocus();
        m_ui.KeyPress(nKey);
        Pump();
        EXPECT_FALSE(m_view.IsWindowVisible()) << nKey;
    }
    EXPECT_EQ(m_frame.m_nSelections, 0);
    EXPECT_EQ(m_view.GetChosen(CDICOMDIRView::enSeries),
              m_view.GetList(CDICOMDIRView::enSeries)
                  .GetRowValue(RowShowing(CDICOMDIRView::enSeries, 3, "CR")));
}

TEST_F(WrittenDICOMDIRTest, AFileThatIsNoDirectoryLeavesTheDialogEmpty)
{
    ChooseSeries("CT");
    EXPECT_EQ(m_view.LoadDicomDir(PathOf("CT/IMG1").c_str()), 0);
    for (const CDICOMDIRView::enLevel level : kLevels)
    {
        EXPECT_EQ(m_view.GetList(level).GetItemCount(), 0);
        EXPECT_EQ(m_view.GetChosen(level), -1);
    }
    EXPECT_TRUE(m_view.GetHolders().empty());
    EXPECT_FALSE(m_view.GetDlgItem(IDC_VIEW_SELECTION)->IsWindowVisible());
    char szCaption[64] = {};
    ::GetDlgItemTextA(m_view.m_hWnd, IDC_PATIENT_CAPTION, szCaption, sizeof(szCaption));
    EXPECT_STREQ(szCaption, "Patients List (0):");
}
} // namespace

// The DICOM dump dialog: its list set up from the column specification,
// the rows of corpus files compared element by element with what dcmdump
// lists for them (references made by tools/make_dump_references.py),
// sequences nested between marker rows, values cut as the library's value
// text cuts them, the caption, the list following the dialog's size, and
// the modal run.
#include "DicomDumpDialog.h"
#include "../../platform/FailOnBlockHarness.h"
#include "DICOMImage.h"
#include "LogTestSupport.h"
#include "ModalAnswers.h"
#include "PictureDump.h"
#include "VR.h"
#include "VRCode.h"
#include "VeltaroLibrary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

struct DumpReference
{
    const char* file;
    const char* tag;
    const char* vr;
    int length;
    const char* name;
    const char* value;
};

const DumpReference References[] = {
#include "DumpReferences.inc"
};

struct Row
{
    std::string tag;
    std::string length;
    std::string vr;
    std::string description;
    std::string value;
    DWORD_PTR data;
};

std::string CorpusFile(const std::string& name)
{
    return (std::filesystem::path(SUITE_CORPUS_DIR) / name).string();
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
    {
        parts.push_back(part);
    }
    return parts;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::stringstream stream(text);
    for (std::string word; stream >> word;)
    {
        words.push_back(word);
    }
    return words;
}

std::string TrimRight(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
    {
        text.pop_back();
    }
    return text;
}

// The first count entries of the peer's backslash list.
std::vector<std::string> FirstOf(const std::string& list, std::size_t count)
{
    std::vector<std::string> parts = Split(list, '\\');
    if (parts.size() > count)
    {
        parts.resize(count);
    }
    return parts;
}

// The dialog's value text beside the peer's for one element, by the rules
// of the library's value text: text up to 256 bytes (512 for LT and UT),
// up to 11 numbers or bytes, 6 doubles.
void ExpectValue(const DumpReference& ref, const Row& row)
{
    const std::string vr = ref.vr;
    const std::string value = ref.value;
    if (vr == "SQ")
    {
        EXPECT_EQ(row.value, "Sequence Item");
        return;
    }
    static const std::set<std::string> texts = {"AE", "AS", "CS", "DA", "DS", "DT", "IS",
                                                "LO", "PN", "SH", "ST", "TM", "UI"};
    if (texts.count(vr) != 0 || vr == "LT" || vr == "UT")
    {
        const std::size_t limit = vr == "LT" || vr == "UT" ? 512 : 256;
        EXPECT_EQ(TrimRight(row.value), TrimRight(value.substr(0, limit)));
        return;
    }
    if (vr == "US" || vr == "SS" || vr == "UL" || vr == "SL")
    {
        std::vector<std::string> numbers;
        for (const std::string& number : FirstOf(value, 11))
        {
            numbers.push_back(std::to_string(std::atol(number.c_str())));
        }
        EXPECT_EQ(Words(row.value), value.empty() ? std::vector<std::string>{} : numbers);
        return;
    }
    if (vr == "FL" || vr == "FD")
    {
        const std::vector<std::string> expected = FirstOf(value, vr == "FL" ? 11 : 6);
        const std::vector<std::string> shown = Words(row.value);
        ASSERT_EQ(shown.size(), value.empty() ? 0 : expected.size());
        for (std::size_t i = 0; i < shown.size(); ++i)
        {
            const double peer = std::atof(expected[i].c_str());
            EXPECT_NEAR(std::atof(shown[i].c_str()), peer, 1e-6 + std::fabs(peer) * 1e-6);
        }
        return;
    }
    if (vr == "OB" || vr == "OW")
    {
        EXPECT_EQ(Words(row.value),
                  value.empty() ? std::vector<std::string>{} : FirstOf(value, 11));
        return;
    }
    if (vr == "??" || vr == "UN")
    {
        // Without a code of its own: short printable values as text, the
        // rest as the first 16 bytes.
        std::string bytes;
        for (const std::string& hex : FirstOf(value, 16))
        {
            bytes += static_cast<char>(std::strtol(hex.c_str(), nullptr, 16));
        }
        bool printable = true;
        for (char c : bytes)
        {
            printable = printable && (c == 0 || (c >= 32 && c <= 125));
        }
        if (ref.length > 4 && ref.length <= 16 && printable)
        {
            EXPECT_EQ(row.value, bytes.substr(0, bytes.find('\0')));
        }
        return;
    }
    ADD_FAILURE() << "no rule for " << vr;
}

// The dictionaries agree on the public elements; group lengths and private
// elements each names its own way (the peer by private creator).
void ExpectName(const DumpReference& ref, const Row& row)
{
    const std::string tag = ref.tag;
    const bool isPrivate = std::strtol(tag.substr(1, 4).c_str(), nullptr, 16) % 2 != 0;
    if (isPrivate || tag.ends_with(",0000)"))
    {
        EXPECT_FALSE(row.description.empty());
        return;
    }
    std::string name = ref.name;
    if (name.starts_with("RETIRED_"))
    {
        name = name.substr(8);
    }
    EXPECT_EQ(row.description, name == "Unknown Tag & Data" ? "Unknown type" : name);
}

// The rows in the peer's order: the meta information first. The dialog
// lists it where its group falls among the others.
std::vector<Row> MetaFirst(const std::vector<Row>& rows)
{
    std::vector<Row> meta;
    std::vector<Row> rest;
    int depth = 0;
    for (const Row& row : rows)
    {
        depth += row.tag.starts_with("SQ <<<") ? 1 : row.tag == "SQ >>>" ? -1 : 0;
        (depth == 0 && row.tag.starts_with(" (0002,") ? meta : rest).push_back(row);
    }
    meta.insert(meta.end(), rest.begin(), rest.end());
    return meta;
}

class DicomDumpDialogTest : public QuillonLogTest
{
protected:
    void SetUp() override
    {
        VeltaroInitialize();
        m_pParent = new CFrameWnd;
        ASSERT_TRUE(m_pParent->Create(nullptr, "Viewer", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      CRect(0, 0, 1000, 700)));
    }
    void TearDown() override
    {
        m_pParent->DestroyWindow();
        VeltaroUninitialize();
        QuillonLogTest::TearDown();
    }

    // The dialog, modeless, on the file.
    void Show(DicomDumpDialog& dialog)
    {
        ASSERT_TRUE(dialog.Create(DicomDumpDialog::IDD, m_pParent));
        m_harness.PumpPending();
    }

    static std::vector<Row> Rows(DicomDumpDialog& dialog)
    {
        CListCtrl& list = dialog.GetList();
        std::vector<Row> rows;
        for (int i = 0; i < list.GetItemCount(); ++i)
        {
            rows.push_back(
                {std::string(list.GetItemText(i, 0)), std::string(list.GetItemText(i, 1)),
                 std::string(list.GetItemText(i, 2)), std::string(list.GetItemText(i, 3)),
                 std::string(list.GetItemText(i, 4)), list.GetItemData(i)});
        }
        return rows;
    }

    CFailOnBlockHarness m_harness;
    CFrameWnd* m_pParent = nullptr;
};

TEST_F(DicomDumpDialogTest, ListsEveryElementOfCorpusFilesAsThePeerDoes)
{
    std::vector<std::string> files;
    for (const DumpReference& ref : References)
    {
        if (files.empty() || files.back() != ref.file)
        {
            files.push_back(ref.file);
        }
    }
    for (const std::string& file : files)
    {
        SCOPED_TRACE(file);
        DicomDumpDialog dialog(m_pParent);
        ASSERT_NE(dialog.m_DicomFile.ReadFile(CorpusFile(file).c_str()), 0);
        Show(dialog);
        const std::vector<Row> rows = MetaFirst(Rows(dialog));
        std::size_t next = 0;
        for (const DumpReference& ref : References)
        {
            if (ref.file != file)
            {
                continue;
            }
            SCOPED_TRACE(ref.tag);
            const bool marker = ref.tag[0] == 'S';
            // The set lists a computed length for every group; the file
            // need not hold one.
            while (next < rows.size() && !marker && rows[next].tag.ends_with(",0000)") &&
                   rows[next].tag != std::string(" ") + ref.tag)
            {
                ++next;
            }
            ASSERT_LT(next, rows.size());
            const Row& row = rows[next++];
            if (marker)
            {
                EXPECT_EQ(row.tag, ref.tag);
                EXPECT_EQ(row.data, 0u);
                continue;
            }
            EXPECT_EQ(row.tag, std::string(" ") + ref.tag);
            EXPECT_NE(row.data, 0u);
            if (ref.length >= 0)
            {
                EXPECT_EQ(row.length, std::to_string(ref.length));
            }
            ExpectName(ref, row);
            // An implicit private element has neither a code of its own
            // nor one in the dictionary; the peer infers one.
            const std::string vr = ref.vr;
            if (vr == "??" || (vr == "SQ" && row.vr.empty() && row.description == "Unknown type"))
            {
                EXPECT_TRUE(row.vr.empty()) << row.vr;
                EXPECT_TRUE(vr == "??" || row.value.empty()) << row.value;
            }
            else
            {
                EXPECT_EQ(row.vr, vr);
            }
            if (vr != "SQ" || !row.vr.empty())
            {
                ExpectValue(ref, row);
            }
        }
        EXPECT_EQ(next, rows.size());
        dialog.DestroyWindow();
    }
}
} // namespace

namespace
{

// A data set of the kinds the dialog must list: a sequence of two items,
// an empty sequence, a private element, and texts longer than the value
// text keeps.
void FillFixture(DICOMFile& file)
{
    file.SetTransferSyntax(UID("1.2.840.10008.1.2.1"));
    file.Add(0x0008, 0x0060, "CT");
    for (const char* sop : {"1.2.3.1", "1.2.3.2"})
    {
        DICOMDataSet item;
        item.Add(0x0008, 0x1155, UID(sop));
        item.Add(0x0020, 0x0013, "7");
        file.Add(0x0008, 0x1140, item);
    }
    file.Add(0x0008, 0x1115);
    file.GetVR(0x0008, 0x1115)->SetTypeCode(VRCode::SQ);
    file.GetVR(0x0008, 0x1115)->AddSQArray();
    file.Add(0x0099, 0x1001, "private");
    file.Add(0x0010, 0x0010, std::string(300, 'N').c_str());
    file.Add(0x0020, 0x4000, std::string(600, 'C').c_str());
}

int RowOf(const std::vector<Row>& rows, const std::string& tag)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
    {
        if (rows[i].tag == tag)
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TEST_F(DicomDumpDialogTest, NestsItemsBetweenMarkersAndCutsLongValues)
{
    DicomDumpDialog dialog(m_pParent);
    FillFixture(dialog.m_DicomFile);
    Show(dialog);
    // The set lists a group length first in every group.
    std::vector<Row> rows;
    for (const Row& row : Rows(dialog))
    {
        if (!row.tag.ends_with(",0000)"))
        {
            rows.push_back(row);
        }
    }

    const int sequence = RowOf(rows, " (0008,1140)");
    ASSERT_GE(sequence, 0);
    ASSERT_LT(sequence + 8, static_cast<int>(rows.size()));
    const std::vector<std::string> expected = {" (0008,1140)", "SQ <<< 1 / 2", " (0008,1155)",
                                               " (0020,0013)", "SQ >>>",       "SQ <<< 2 / 2",
                                               " (0008,1155)", " (0020,0013)", "SQ >>>"};
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(rows[sequence + i].tag, expected[i]) << i;
    }
    EXPECT_EQ(rows[sequence].vr, "SQ");
    EXPECT_EQ(rows[sequence].value, "Sequence Item");
    EXPECT_EQ(rows[sequence + 2].value, "1.2.3.1");
    EXPECT_EQ(rows[sequence + 6].value, "1.2.3.2");
    EXPECT_EQ(rows[sequence + 1].data, 0u) << "marker rows show no element";
    EXPECT_EQ(reinterpret_cast<VR*>(rows[sequence].data)->GetTag(), 0x00081140u);

    const int empty = RowOf(rows, " (0008,1115)");
    ASSERT_GE(empty, 0);
    EXPECT_EQ(rows[empty].vr, "SQ");
    EXPECT_EQ(rows[empty + 1].tag.substr(0, 2), " (") << "no marker rows for no items";

    const int hidden = RowOf(rows, " (0099,1001)");
    ASSERT_GE(hidden, 0);
    EXPECT_EQ(rows[hidden].description, "Unknown type");
    EXPECT_EQ(rows[hidden].value, "private ") << "padded to even";

    const int name = RowOf(rows, " (0010,0010)");
    ASSERT_GE(name, 0);
    EXPECT_EQ(rows[name].length, "300");
    EXPECT_EQ(rows[name].value, std::string(256, 'N'));
    EXPECT_EQ(rows[name].description, "PatientName");
    const int comments = RowOf(rows, " (0020,4000)");
    ASSERT_GE(comments, 0);
    EXPECT_EQ(rows[comments].vr, "LT");
    EXPECT_EQ(rows[comments].value, std::string(512, 'C'));

    const int meta = RowOf(rows, " (0002,0010)");
    ASSERT_GE(meta, 0) << "the meta information is listed";
    EXPECT_EQ(rows[meta].value, "1.2.840.10008.1.2.1");
}

TEST_F(DicomDumpDialogTest, SetsUpItsListFromTheColumnSpecification)
{
    DicomDumpDialog dialog(m_pParent);
    FillFixture(dialog.m_DicomFile);
    Show(dialog);
    CListCtrl& list = dialog.GetList();
    EXPECT_EQ(list.GetDlgCtrlID(), int(DicomDumpDialog::ListId));
    TEXTMETRICA metrics{};
    {
        CClientDC dc(&dialog);
        CFont* previous = dc.SelectObject(dialog.GetFont());
        dc.GetTextMetrics(&metrics);
        dc.SelectObject(previous);
    }
    ASSERT_GT(metrics.tmAveCharWidth, 0);
    const char* headings[] = {"TAG", "Length", "VR", "Description", "Value"};
    const int widths[] = {14, 6, 6, 36, 60};
    for (int i = 0; i < 5; ++i)
    {
        char text[32] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof(text);
        ASSERT_TRUE(list.SendMessage(LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, headings[i]);
        EXPECT_EQ(column.cx, widths[i] * metrics.tmAveCharWidth);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    const DWORD style = list.GetStyle();
    EXPECT_EQ(style & LVS_TYPEMASK, DWORD(LVS_REPORT));
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    EXPECT_EQ(list.GetExtendedStyle() & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
              DWORD(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
    EXPECT_EQ(list.SendMessage(LVM_GETBKCOLOR), LRESULT(DicomDumpDialog::ListColor));
    EXPECT_EQ(list.SendMessage(LVM_GETTEXTBKCOLOR), LRESULT(DicomDumpDialog::ListColor));
}

TEST_F(DicomDumpDialogTest, CaptionNamesTheFileAndTheListFollowsTheDialogSize)
{
    {
        DicomDumpDialog unnamed(m_pParent);
        FillFixture(unnamed.m_DicomFile);
        Show(unnamed);
        CString caption;
        unnamed.GetWindowText(caption);
        EXPECT_EQ(caption, CString("DICOM Dump"));
        unnamed.DestroyWindow();
    }
    DicomDumpDialog dialog(m_pParent);
    const std::string path = CorpusFile("pydicom/test_files/CT_small.dcm");
    ASSERT_NE(dialog.m_DicomFile.ReadFile(path.c_str()), 0);
    Show(dialog);
    CString caption;
    dialog.GetWindowText(caption);
    EXPECT_EQ(std::string(caption), "Dicom Dump [" + path + "]");

    dialog.SetWindowPos(nullptr, 0, 0, 700, 420, SWP_NOMOVE | SWP_NOZORDER);
    m_harness.PumpPending();
    CRect client;
    dialog.GetClientRect(&client);
    CRect list;
    dialog.GetList().GetWindowRect(&list);
    dialog.ScreenToClient(&list);
    EXPECT_EQ(list, CRect(4, 4, client.right - 4, client.bottom - 4));
}

TEST_F(DicomDumpDialogTest, RunsModallyUntilClosed)
{
    SetModalWindowsRun(true);
    DicomDumpDialog dialog(m_pParent);
    ASSERT_NE(dialog.m_DicomFile.ReadFile(CorpusFile("pydicom/test_files/rtplan.dcm").c_str()), 0);
    int rows = 0;
    m_harness.Script()
        .Do(
            [&]
            {
                rows = dialog.GetList().GetItemCount();
                DumpPicture(dialog.m_hWnd, "dicom-dump");
            })
        .KeyPress(VK_ESCAPE);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    SetModalWindowsRun(false);
    EXPECT_GT(rows, 60);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}
} // namespace

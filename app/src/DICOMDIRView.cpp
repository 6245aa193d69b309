#include "DICOMDIRView.h"

#include "AfxWinApp.h"
#include "DICOMDataSet.h"
#include "DICOMImage.h"
#include "LoadTransaction.h"
#include "PelivoFileDialogs.h"
#include "ReferencedFile.h"
#include "ResourceRegistry.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

namespace
{
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kList = kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
constexpr DialogItemTemplate kItems[] = {
    {"Static", "Patients List", IDC_PATIENT_CAPTION, kChild, 0, 14, 7, 195, 8},
    {WC_LISTVIEWA, "", IDC_PATIENT_LIST, kList | LVS_SINGLESEL, 0, 7, 16, 424, 98},
    {"Static", "Studies List", IDC_STUDY_CAPTION, kChild, 0, 14, 116, 195, 8},
    {WC_LISTVIEWA, "", IDC_STUDY_LIST, kList | LVS_SINGLESEL, 0, 7, 128, 424, 102},
    {"Static", "Series List", IDC_SERIES_CAPTION, kChild, 0, 14, 232, 195, 8},
    {WC_LISTVIEWA, "", IDC_SERIES_LIST, kList | LVS_SINGLESEL, 0, 7, 241, 424, 52},
    {"Static", "Images List", IDC_IMAGE_CAPTION, kChild, 0, 14, 295, 195, 8},
    {WC_LISTVIEWA, "", IDC_IMAGE_LIST, kList, 0, 7, 304, 424, 52},
    {"Button", "Open DICOMDIR...", IDC_OPEN_DICOMDIR, kChild | WS_TABSTOP, 0, 14, 369, 79, 14},
    {"Button", "View", IDC_VIEW_SELECTION, kChild | WS_TABSTOP, 0, 298, 369, 60, 14},
    {"Button", "Review", IDC_REVIEW_SELECTION, kChild | WS_TABSTOP, 0, 221, 369, 60, 14},
};
constexpr DialogTemplate kDialog{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_CENTER,
                                 0,
                                 0,
                                 0,
                                 438,
                                 390,
                                 "DICOMDIR information list",
                                 "MS Shell Dlg",
                                 8,
                                 kItems};
const ResourceDialogEntry kDialogs[] = {{MAKEINTRESOURCE(IDD_DICOMDIR_VIEW), &kDialog}};
const ResourceRegistrar kRegistrar({.dialogs = kDialogs});

struct ColumnInfo
{
    const char* pszTitle;
    std::uint16_t nGroup;
    std::uint16_t nElement;
    int nWidth;
};

constexpr ColumnInfo kPatientColumns[] = {{"Patient Name", 0x0010, 0x0010, 150},
                                          {"PatientID", 0x0010, 0x0020, 150},
                                          {"Sex", 0x0010, 0x0040, 50},
                                          {"PatientBirthDate", 0x0010, 0x0030, 100}};
constexpr ColumnInfo kStudyColumns[] = {{"StudyDate", 0x0008, 0x0020, 80},
                                        {"StudyTime", 0x0008, 0x0030, 80},
                                        {"AccessionNumber", 0x0008, 0x0050, 120},
                                        {"StudyDescription", 0x0008, 0x1030, 100},
                                        {"StudyInstanceUID", 0x0020, 0x000D, 100}};
constexpr ColumnInfo kSeriesColumns[] = {
    {"SeriesDate", 0x0008, 0x0021, 80},   {"SeriesTime", 0x0008, 0x0031, 80},
    {"Modality", 0x0008, 0x0060, 80},     {"StationName", 0x0008, 0x1010, 80},
    {"OperatorName", 0x0008, 0x1070, 80}, {"BodyPartExamined", 0x0018, 0x0015, 100},
    {"SeriesNumber", 0x0020, 0x0011, 50}, {"SeriesInstanceUID", 0x0020, 0x000E, 100}};
constexpr ColumnInfo kImageColumns[] = {
    {"InstanceNumber", 0x0020, 0x0013, 50}, {"ImageType", 0x0008, 0x0008, 100},
    {"ContentDate", 0x0008, 0x0023, 80},    {"ContentTime", 0x0008, 0x0033, 80},
    {"ImageComments", 0x0020, 0x4000, 100}, {"Rows", 0x0028, 0x0010, 50},
    {"Columns", 0x0028, 0x0011, 50}};

const std::span<const ColumnInfo> kColumns[CDICOMDIRView::enLevels] = {
    kPatientColumns, kStudyColumns, kSeriesColumns, kImageColumns};
constexpr UINT kListIds[CDICOMDIRView::enLevels] = {IDC_PATIENT_LIST, IDC_STUDY_LIST,
                                                    IDC_SERIES_LIST, IDC_IMAGE_LIST};
constexpr UINT kCaptionIds[CDICOMDIRView::enLevels] = {IDC_PATIENT_CAPTION, IDC_STUDY_CAPTION,
                                                       IDC_SERIES_CAPTION, IDC_IMAGE_CAPTION};
constexpr const char* kCaptionFormats[CDICOMDIRView::enLevels] = {
    "Patients List (%d):", "Studies List (%d):", "Series List (%d):", "Images List (%d):"};

// The elements each level's record puts into an image's information.
struct CopiedTag
{
    std::uint16_t nGroup;
    std::uint16_t nElement;
};
constexpr CopiedTag kPatientFields[] = {{0x0010, 0x0010}, {0x0010, 0x0020}};
constexpr CopiedTag kStudyFields[] = {
    {0x0020, 0x000D}, {0x0008, 0x0050}, {0x0008, 0x0020}, {0x0008, 0x0030}, {0x0020, 0x0010}};
constexpr CopiedTag kSeriesFields[] = {{0x0020, 0x000E}, {0x0008, 0x0060}, {0x0020, 0x0011}};

// A record replaces what an earlier record of its level put there; what it
// lacks is taken away, so no sibling's value stays behind.
void CopyFields(const DICOMVRSet& record, std::span<const CopiedTag> fields, DICOMDataSet& info)
{
    for (const CopiedTag& tag : fields)
    {
        const unsigned int nTag = (unsigned(tag.nGroup) << 16) | tag.nElement;
        info.Delete(tag.nGroup, tag.nElement);
        record.CopyTo(info, nTag, nTag);
    }
}

void CopyImageFields(const DICOMVRSet& record, DICOMDataSet& info)
{
    info.Delete(0x0008, 0x0018);
    if (record.IsExist(0x0004, 0x1511))
        info.Add(0x0008, 0x0018, record.GetLettra(0x0004, 0x1511));
    CopyFields(record, std::array<CopiedTag, 1>{{{0x0020, 0x0013}}}, info);
}

Lettra TrimmedText(const DICOMVRSet& record, std::uint16_t nGroup, std::uint16_t nElement)
{
    Lettra text = record.GetLettra(nGroup, nElement);
    text.TrimLeft();
    text.TrimRight();
    return text;
}

int InstanceNumberOf(const DICOMVRSet* record)
{
    return std::atoi(TrimmedText(*record, 0x0020, 0x0013));
}

struct GroupAndScope
{
    Corvane::enGroupBy enGroup;
    Corvane::enScope enScope;
};

GroupAndScope GroupAndScopeOf(const Lettra& modality)
{
    const std::string text(static_cast<const char*>(modality));
    if (text == "DX" || text == "CR" || text == "MG" || text == "OT")
        return {Corvane::enGroupByStudy, Corvane::enScopeImage};
    if (text == "CT" || text == "MR" || text == "PT" || text == "XA")
        return {Corvane::enGroupBySeries, Corvane::enScopeView};
    return {Corvane::enGroupBySeries, Corvane::enScopeImage};
}
} // namespace

BEGIN_MESSAGE_MAP(CDICOMDIRView, CDialog)
ON_NOTIFY(NM_CLICK, IDC_PATIENT_LIST, OnClickPatients)
ON_NOTIFY(NM_CLICK, IDC_STUDY_LIST, OnClickStudies)
ON_NOTIFY(NM_CLICK, IDC_SERIES_LIST, OnClickSeries)
ON_NOTIFY(NM_CLICK, IDC_IMAGE_LIST, OnClickImages)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_PATIENT_LIST, OnSelectPatients)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_STUDY_LIST, OnSelectStudies)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_SERIES_LIST, OnSelectSeries)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_IMAGE_LIST, OnSelectImages)
ON_NOTIFY(NM_DBLCLK, IDC_PATIENT_LIST, OnDblClkList)
ON_NOTIFY(NM_DBLCLK, IDC_STUDY_LIST, OnDblClkList)
ON_NOTIFY(NM_DBLCLK, IDC_SERIES_LIST, OnDblClkList)
ON_NOTIFY(NM_DBLCLK, IDC_IMAGE_LIST, OnDblClkList)
ON_BN_CLICKED(IDC_OPEN_DICOMDIR, OnOpenDicomDir)
ON_BN_CLICKED(IDC_VIEW_SELECTION, OnView)
ON_BN_CLICKED(IDC_REVIEW_SELECTION, OnReview)
END_MESSAGE_MAP()

CDICOMDIRView::CDICOMDIRView() : CDialog(IDD_DICOMDIR_VIEW) {}

CDICOMDIRView::~CDICOMDIRView()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CDICOMDIRView::CreateView(CWnd* pOwner)
{
    return Create(IDD_DICOMDIR_VIEW, pOwner);
}

void CDICOMDIRView::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int level = 0; level < enLevels; ++level)
        DDX_Control(pDX, static_cast<int>(kListIds[level]), m_lists[level]);
}

BOOL CDICOMDIRView::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int level = 0; level < enLevels; ++level)
    {
        CColumnSortList& list = m_lists[level];
        list.InsertColumn(0, "Index", LVCFMT_LEFT, 50);
        int nColumn = 1;
        for (const ColumnInfo& column : kColumns[level])
            list.InsertColumn(nColumn++, column.pszTitle, LVCFMT_LEFT, column.nWidth);
        list.SetColumnCount(nColumn);
        list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    }
    ShowSendButtons(false);
    UpdateCaptions();
    return TRUE;
}

// Enter and Escape put the dialog away; it keeps its lists for next time.
void CDICOMDIRView::OnOK()
{
    ShowWindow(SW_HIDE);
}

void CDICOMDIRView::OnCancel()
{
    ShowWindow(SW_HIDE);
}

void CDICOMDIRView::ShowSendButtons(bool bShow)
{
    for (const UINT nID : {IDC_VIEW_SELECTION, IDC_REVIEW_SELECTION})
        if (CWnd* pButton = GetDlgItem(static_cast<int>(nID)))
            pButton->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CDICOMDIRView::UpdateCaptions()
{
    for (int level = 0; level < enLevels; ++level)
    {
        char szCaption[64];
        std::snprintf(szCaption, sizeof(szCaption), kCaptionFormats[level],
                      m_lists[level].GetItemCount());
        ::SetDlgItemTextA(m_hWnd, static_cast<int>(kCaptionIds[level]), szCaption);
    }
}

void CDICOMDIRView::ResetChoice()
{
    std::fill(std::begin(m_chosen), std::end(m_chosen), -1);
    m_nChosenBySelection = -1;
    for (CColumnSortList& list : m_lists)
        list.DeleteAllRows();
    ShowSendButtons(false);
    m_holders.clear();
    UpdateCaptions();
}

int CDICOMDIRView::LoadDicomDir(const char* path)
{
    CWaitCursor wait;
    ResetChoice();
    DicomDir empty;
    m_dir = empty;
    if (path == nullptr || m_dir.ReadDicomDir(path) != 1)
        return 0;
    if (CWinApp* pApp = AfxGetApp())
        pApp->AddToRecentFileList(path);
    const std::string full(path);
    const std::size_t cut = full.find_last_of("/\\");
    m_folder = cut == std::string::npos ? std::string("./") : full.substr(0, cut + 1);
    FillList(enPatient, DicomDir::Iterator(m_dir));
    UpdateCaptions();
    return 1;
}

void CDICOMDIRView::FillList(enLevel level, DicomDir::Iterator records)
{
    m_lists[level].DeleteAllRows();
    for (int nPosition = 0; records; ++records, ++nPosition)
        AddRecordRow(level, nPosition, records.Current());
}

void CDICOMDIRView::AddRecordRow(enLevel level, int nPosition, const DICOMVRSet& record)
{
    std::vector<CString> texts;
    char szNumber[16];
    std::snprintf(szNumber, sizeof(szNumber), "%d", nPosition);
    texts.emplace_back(szNumber);
    for (const ColumnInfo& column : kColumns[level])
    {
        const std::string title(column.pszTitle);
        if (title == "Rows" || title == "Columns")
        {
            std::snprintf(szNumber, sizeof(szNumber), "%d",
                          record.GetUINT16(column.nGroup, column.nElement));
            texts.emplace_back(szNumber);
        }
        else
        {
            texts.emplace_back(
                static_cast<const char*>(record.GetLettra(column.nGroup, column.nElement)));
        }
    }
    CColumnSortList& list = m_lists[level];
    list.SetRowValue(list.AddRow(texts), nPosition);
}

bool CDICOMDIRView::SeekChosen(enLevel level, DicomDir::Iterator& records)
{
    records = DicomDir::Iterator(m_dir);
    for (int depth = 0; depth <= level; ++depth)
    {
        for (int i = 0; i < m_chosen[depth] && records; ++i)
            ++records;
        if (!records)
            return false;
        if (depth < level)
            records = DicomDir::Iterator(records);
    }
    return true;
}

void CDICOMDIRView::ChooseRow(enLevel level)
{
    CColumnSortList& list = m_lists[level];
    const int nMark = list.GetSelectionMark();
    if (nMark < 0)
    {
        ShowSendButtons(false);
        return;
    }
    ShowSendButtons(true);
    for (int lower = level; lower < enLevels; ++lower)
    {
        m_chosen[lower] = -1;
        if (lower > level)
            m_lists[lower].DeleteAllRows();
    }
    m_chosen[level] = list.GetRowValue(nMark);
    DicomDir::Iterator records(m_dir);
    if (level + 1 < enLevels && SeekChosen(level, records))
        FillList(static_cast<enLevel>(level + 1), DicomDir::Iterator(records));
    UpdateCaptions();
    CollectSelection();
}

// A row chosen by the keyboard must fill the lists below and the selection
// as a click does: otherwise View would hand over the row clicked last while
// another one shows selected.
void CDICOMDIRView::ChooseSelectedRow(enLevel level, const NMHDR* pNMHDR)
{
    const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    const bool bNewlySelected = (pChange->uChanged & LVIF_STATE) != 0 &&
                                (pChange->uNewState & LVIS_SELECTED) != 0 &&
                                (pChange->uOldState & LVIS_SELECTED) == 0;
    if (!bNewlySelected)
        return;
    m_nChosenBySelection = level;
    ChooseRow(level);
}

void CDICOMDIRView::ChooseClickedRow(enLevel level)
{
    const bool bChosen = m_nChosenBySelection == level;
    m_nChosenBySelection = -1;
    if (!bChosen)
        ChooseRow(level);
}

void CDICOMDIRView::OnClickPatients(NMHDR*, LRESULT* pResult)
{
    ChooseClickedRow(enPatient);
    *pResult = 0;
}

void CDICOMDIRView::OnClickStudies(NMHDR*, LRESULT* pResult)
{
    ChooseClickedRow(enStudy);
    *pResult = 0;
}

void CDICOMDIRView::OnClickSeries(NMHDR*, LRESULT* pResult)
{
    ChooseClickedRow(enSeries);
    *pResult = 0;
}

void CDICOMDIRView::OnClickImages(NMHDR*, LRESULT* pResult)
{
    ChooseClickedRow(enImage);
    *pResult = 0;
}

void CDICOMDIRView::OnSelectPatients(NMHDR* pNMHDR, LRESULT* pResult)
{
    ChooseSelectedRow(enPatient, pNMHDR);
    *pResult = 0;
}

void CDICOMDIRView::OnSelectStudies(NMHDR* pNMHDR, LRESULT* pResult)
{
    ChooseSelectedRow(enStudy, pNMHDR);
    *pResult = 0;
}

void CDICOMDIRView::OnSelectSeries(NMHDR* pNMHDR, LRESULT* pResult)
{
    ChooseSelectedRow(enSeries, pNMHDR);
    *pResult = 0;
}

void CDICOMDIRView::OnSelectImages(NMHDR* pNMHDR, LRESULT* pResult)
{
    ChooseSelectedRow(enImage, pNMHDR);
    *pResult = 0;
}

void CDICOMDIRView::CollectSelection()
{
    m_holders.clear();
    m_nTransaction = NextLoadTransaction();
    DICOMDataSet info;
    if (m_chosen[enPatient] < 0)
        return;
    // The lowest chosen record is walked whole; the ones above it only give
    // their fields.
    const std::span<const CopiedTag> fields[] = {kPatientFields, kStudyFields, kSeriesFields};
    DicomDir::Iterator records(m_dir);
    for (int level = enPatient; level < enLevels; ++level)
    {
        const bool bLowest = level + 1 == enLevels || m_chosen[level + 1] < 0;
        if (!SeekChosen(static_cast<enLevel>(level), records))
            return;
        if (bLowest)
        {
            WalkRecord(records.Current(), info);
            return;
        }
        CopyFields(records.Current(), fields[level], info);
    }
}

void CDICOMDIRView::WalkRecord(const DICOMVRSet& record, DICOMDataSet& info)
{
    const Lettra type = TrimmedText(record, 0x0004, 0x1430);
    const std::string kind(static_cast<const char*>(type));
    Array<DICOMVRSet*>* children = DicomDir::GetChildren(record);
    if (kind == "PATIENT" || kind == "STUDY")
    {
        CopyFields(record,
                   kind == "PATIENT" ? std::span<const CopiedTag>(kPatientFields)
                                     : std::span<const CopiedTag>(kStudyFields),
                   info);
        for (int i = 0; children != nullptr && i < children->GetCount(); ++i)
            WalkRecord(*children->GetAt(i), info);
        return;
    }
    if (kind == "IMAGE")
    {
        CopyImageFields(record, info);
        AddImageHolder(record, info);
        return;
    }
    // A series, or any other record: its children in instance order.
    CopyFields(record, kSeriesFields, info);
    std::vector<DICOMVRSet*> sorted;
    for (int i = 0; children != nullptr && i < children->GetCount(); ++i)
        sorted.push_back(children->GetAt(i));
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const DICOMVRSet* a, const DICOMVRSet* b)
                     { return InstanceNumberOf(a) < InstanceNumberOf(b); });
    for (const DICOMVRSet* child : sorted)
    {
        CopyImageFields(*child, info);
        AddImageHolder(*child, info);
    }
}

void CDICOMDIRView::AddImageHolder(const DICOMVRSet& record, const DICOMDataSet& info)
{
    const Lettra fileID = TrimmedText(record, 0x0004, 0x1500);
    if (fileID.IsEmpty())
        return;
    const std::string path = ResolveReferencedFile(m_folder, static_cast<const char*>(fileID));
    Corvane holder;
    holder.Attach(new DICOMImage(path.c_str()));
    holder.SetTransactionID(m_nTransaction);
    holder.SetImageInfoDDS(&info);
    const GroupAndScope kind = GroupAndScopeOf(info.GetLettra(0x0008, 0x0060));
    holder.SetGroup(kind.enGroup);
    holder.SetScope(kind.enScope);
    m_holders.push_back(holder);
}

void CDICOMDIRView::OnOpenDicomDir()
{
    CString strPath;
    if (AskDicomDirPath(this, true, strPath))
        LoadDicomDir(strPath);
}

void CDICOMDIRView::OnView()
{
    m_bReview = false;
    SendSelection();
}

void CDICOMDIRView::OnReview()
{
    m_bReview = true;
    SendSelection();
}

void CDICOMDIRView::OnDblClkList(NMHDR*, LRESULT* pResult)
{
    CollectSelection();
    m_bReview = false;
    SendSelection();
    *pResult = 0;
}

void CDICOMDIRView::SendSelection()
{
    if (m_holders.empty())
        return;
    ShowWindow(SW_HIDE);
    if (CWnd* pOwner = GetOwner())
        pOwner->SendMessage(WM_DICOMDIR_SELECTION, 0, 0);
}

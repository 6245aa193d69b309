// CDICOMDIRView: the modeless DICOMDIR browser. Four sortable lists show
// the patients, the studies of the chosen patient, the series of the chosen
// study and the images of the chosen series. Whatever level is chosen, the
// dialog turns the chosen subtree into one Corvane handle per image file;
// View, Review or a double click hides the dialog and sends
// WM_DICOMDIR_SELECTION to its owner, which reads the handles and whether
// they are to be reviewed (added to what is shown) or viewed.
#pragma once

#include "AfxDialog.h"
#include "ColumnSortList.h"
#include "Corvane.h"
#include "DicomDir.h"

#include <list>
#include <string>

class DICOMDataSet;

constexpr UINT IDD_DICOMDIR_VIEW = 130;
constexpr UINT IDC_PATIENT_LIST = 1001;
constexpr UINT IDC_STUDY_LIST = 1004;
constexpr UINT IDC_SERIES_LIST = 1006;
constexpr UINT IDC_IMAGE_LIST = 1008;
constexpr UINT IDC_PATIENT_CAPTION = 1002;
constexpr UINT IDC_STUDY_CAPTION = 1003;
constexpr UINT IDC_SERIES_CAPTION = 1005;
constexpr UINT IDC_IMAGE_CAPTION = 1007;
constexpr UINT IDC_OPEN_DICOMDIR = 1009;
constexpr UINT IDC_VIEW_SELECTION = 1010;
constexpr UINT IDC_REVIEW_SELECTION = 1011;
constexpr UINT WM_DICOMDIR_SELECTION = WM_USER + 10;

class CDICOMDIRView : public CDialog
{
public:
    enum enLevel
    {
        enPatient,
        enStudy,
        enSeries,
        enImage,
        enLevels
    };

    CDICOMDIRView();
    ~CDICOMDIRView() override;

    // The modeless window, owned by the frame.
    BOOL CreateView(CWnd* pOwner);
    // 1 when the file was read as a DICOMDIR; else the dialog stays empty.
    int LoadDicomDir(const char* path);

    CColumnSortList& GetList(enLevel level) { return m_lists[level]; }
    int GetChosen(enLevel level) const { return m_chosen[level]; }
    // The frame reads the handles while importing; they stay unchanged
    // until the next click.
    const std::list<Corvane>& GetHolders() const { return m_holders; }
    std::list<Corvane>& GetHolders() { return m_holders; }
    bool IsReview() const { return m_bReview; }
    const std::string& GetFolder() const { return m_folder; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnClickPatients(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnClickStudies(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnClickSeries(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnClickImages(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClkList(NMHDR* pNMHDR, LRESULT* pResult);
    // A row newly selected, by the keyboard as by the mouse.
    afx_msg void OnSelectPatients(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelectStudies(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelectSeries(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelectImages(NMHDR* pNMHDR, LRESULT* pResult);
    // Another DICOMDIR chosen in the file dialog.
    afx_msg void OnOpenDicomDir();
    afx_msg void OnView();
    afx_msg void OnReview();

    DECLARE_MESSAGE_MAP()

private:
    void ResetChoice();
    void ShowSendButtons(bool bShow);
    void UpdateCaptions();
    void ChooseRow(enLevel level);
    void ChooseClickedRow(enLevel level);
    void ChooseSelectedRow(enLevel level, const NMHDR* pNMHDR);
    void FillList(enLevel level, DicomDir::Iterator records);
    void AddRecordRow(enLevel level, int nPosition, const DICOMVRSet& record);
    // The records below the chosen ones, down to the level; false when a
    // chosen record is missing.
    bool SeekChosen(enLevel level, DicomDir::Iterator& records);
    void CollectSelection();
    void WalkRecord(const DICOMVRSet& record, DICOMDataSet& info);
    void AddImageHolder(const DICOMVRSet& record, const DICOMDataSet& info);
    void SendSelection();

    CColumnSortList m_lists[enLevels];
    DicomDir m_dir;
    std::string m_folder;
    int m_chosen[enLevels] = {-1, -1, -1, -1};
    // The level whose row the selection change of the current click already
    // chose, so that the click itself does not choose it again; -1 when none.
    int m_nChosenBySelection = -1;
    bool m_bReview = false;
    int m_nTransaction = 0;
    std::list<Corvane> m_holders;
};

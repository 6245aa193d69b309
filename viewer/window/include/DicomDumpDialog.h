// DicomDumpDialog: every element of one DICOM file, its meta information
// included, as the rows of a report list: tag, length, value
// representation, dictionary description and value. The items of a
// sequence follow the sequence's own row, each between a "SQ <<< k / n"
// row and a "SQ >>>" row, nested to any depth. The caller fills the file
// (m_DicomFile) before the dialog runs; the dialog lists a copy of it.
#pragma once

#include "AfxListCtrl.h"
#include "AfxWin.h"
#include "DICOMFile.h"
#include "QuillonExport.h"

#include <memory>

class DICOMImage;
class DICOMVRSet;
class VR;

class QUILLON_API DicomDumpDialog : public CDialog
{
public:
    static constexpr UINT IDD = 143;
    static constexpr UINT ListId = 260;
    // Lines of heading, TAB, width in average character widths.
    static constexpr const char* ColumnSpec =
        "TAG\t14\nLength\t6\nVR\t6\nDescription\t36\nValue\t60";
    static constexpr COLORREF ListColor = RGB(192, 192, 192);
    // The list's margin inside the client area, in pixels.
    static constexpr int ListMargin = 4;

    explicit DicomDumpDialog(CWnd* parent = nullptr);
    ~DicomDumpDialog() override;

    BOOL OnInitDialog() override;
    CListCtrl& GetList() { return m_List; }

    // The file to show.
    DICOMFile m_DicomFile;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void SetUpList();
    void FillList();
    void AddElements(const DICOMVRSet& set);
    void AddElement(VR* element);
    int AppendRow(const char* first);

    CListCtrl m_List;
    // The copy the rows show; each row's item data is one of its elements.
    std::unique_ptr<DICOMImage> m_pShown;
};

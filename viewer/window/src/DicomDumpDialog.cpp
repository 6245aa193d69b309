#include "DicomDumpDialog.h"

#include "DICOMImage.h"
#include "DICOMVRSet.h"
#include "DicomDictionary.h"
#include "Lettra.h"
#include "ResourceRegistry.h"
#include "VR.h"
#include "VRCode.h"
#include "WinResource.h"

namespace
{

constexpr DWORD ListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT;
constexpr DialogItemTemplate DumpItems[] = {
    {WC_LISTVIEWA, "", DicomDumpDialog::ListId, ListStyle, 0, 4, 4, 529, 233},
};
constexpr DialogTemplate DumpDialog{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                        DS_SETFONT | DS_MODALFRAME,
                                    0,
                                    0,
                                    0,
                                    537,
                                    241,
                                    "DICOM Dump",
                                    "MS Shell Dlg",
                                    9,
                                    DumpItems};
const ResourceDialogEntry Dialogs[] = {{MAKEINTRESOURCE(DicomDumpDialog::IDD), &DumpDialog}};
const ResourceRegistrar Registrar({.dialogs = Dialogs});

enum enColumn
{
    enColumnTag,
    enColumnLength,
    enColumnVR,
    enColumnDescription,
    enColumnValue
};

// The two letters of a VR code; empty for no code.
Lettra LettersOf(unsigned short code)
{
    const char letters[3] = {VRCode::FirstLetter(code), VRCode::SecondLetter(code), 0};
    return Lettra(letters);
}

} // namespace

BEGIN_MESSAGE_MAP(DicomDumpDialog, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

DicomDumpDialog::DicomDumpDialog(CWnd* parent) : CDialog(IDD, parent) {}

DicomDumpDialog::~DicomDumpDialog() = default;

BOOL DicomDumpDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpList();
    FillList();
    Lettra name(m_DicomFile.GetFileName() != nullptr ? m_DicomFile.GetFileName() : "");
    name.TrimLeft();
    name.TrimRight();
    if (!name.IsEmpty())
    {
        SetWindowText(Lettra("Dicom Dump [") + name + "]");
    }
    return TRUE;
}

void DicomDumpDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_List.m_hWnd == nullptr)
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    client.DeflateRect(ListMargin, ListMargin);
    m_List.MoveWindow(&client, TRUE);
}

void DicomDumpDialog::SetUpList()
{
    m_List.SubclassDlgItem(ListId, this);
    m_List.SetBkColor(ListColor);
    m_List.SetTextBkColor(ListColor);
    TEXTMETRICA metrics{};
    {
        CClientDC dc(this);
        CFont* previous = dc.SelectObject(GetFont());
        dc.GetTextMetrics(&metrics);
        dc.SelectObject(previous);
    }
    const Lettra spec(ColumnSpec);
    for (int i = 0;; ++i)
    {
        const Lettra column = spec.Element(i, '\n');
        if (column.IsEmpty())
        {
            break;
        }
        const int width = column.Element(1, '\t').Int() * metrics.tmAveCharWidth;
        m_List.InsertColumn(i, column.Element(0, '\t'), LVCFMT_LEFT, width, i);
    }
    m_List.ModifyStyle(LVS_SMALLICON,
                       LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER);
    m_List.SetExtendedStyle(m_List.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void DicomDumpDialog::FillList()
{
    m_List.DeleteAllItems();
    m_pShown = std::make_unique<DICOMImage>(m_DicomFile);
    // Group 0002 lives beside the data set, and a copy keeps only its
    // transfer syntax: it is taken from the file itself.
    m_DicomFile.GetMetaInfo(m_pShown.get());
    AddElements(*m_pShown);
}

void DicomDumpDialog::AddElements(const DICOMVRSet& set)
{
    VRSetIterator next(set);
    for (VR* element = next(); element != nullptr; element = next())
    {
        AddElement(element);
    }
}

void DicomDumpDialog::AddElement(VR* element)
{
    const unsigned short group = element->GetGroup();
    const unsigned short number = element->GetElement();
    Lettra text;
    text.Format(" (%04x,%04x)", group, number);
    const int row = AppendRow(text);
    Lettra description = DicomDictionary::GetDescription(group, number);
    if (description.IsEmpty())
    {
        description = "Unknown type";
    }
    m_List.SetItemText(row, enColumnDescription, description);
    const unsigned short code = element->GetTypeCode() != 0
                                    ? element->GetTypeCode()
                                    : DicomDictionary::Lookup(group, number);
    m_List.SetItemText(row, enColumnVR, LettersOf(code));
    text.Format("%d", static_cast<int>(element->GetLength()));
    m_List.SetItemText(row, enColumnLength, text);
    m_List.SetItemText(row, enColumnValue, element->ToStringOfData());
    m_List.SetItemData(row, reinterpret_cast<DWORD_PTR>(element));

    ArrayOfPtr<DICOMVRSet*>* items = element->GetSQArray();
    const int count = items != nullptr ? items->GetCount() : 0;
    int index = 0;
    for (auto* node = count > 0 ? items->GetHead() : nullptr; node != nullptr; node = node->next)
    {
        text.Format("SQ <<< %d / %d", ++index, count);
        AppendRow(text);
        AddElements(*node->item);
        AppendRow("SQ >>>");
    }
}

int DicomDumpDialog::AppendRow(const char* first)
{
    return m_List.InsertItem(m_List.GetItemCount(), first);
}

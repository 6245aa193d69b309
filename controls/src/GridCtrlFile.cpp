// The grid's comma-separated text file: the title row, then the rows.
#include "GridCtrl.h"

#include <vector>

namespace
{
// A line cut at every comma; an empty field between two commas and one
// after a trailing comma count.
std::vector<CString> FieldsOf(const CString& line)
{
    std::vector<CString> fields;
    int nStart = 0;
    for (;;)
    {
        const int nComma = line.Find(',', nStart);
        if (nComma < 0)
        {
            fields.push_back(line.Mid(nStart));
            return fields;
        }
        fields.push_back(line.Mid(nStart, nComma - nStart));
        nStart = nComma + 1;
    }
}
} // namespace

BOOL CGridCtrl::Save(LPCSTR filename)
{
    CStdioFile File;
    CFileException ex;
    if (!File.Open(filename, CFile::modeWrite | CFile::modeCreate | CFile::typeText, &ex))
    {
        ex.ReportError();
        return FALSE;
    }
    try
    {
        // The title row is row 0, written once; files of an older build
        // held it twice and load as they always did.
        for (int row = 0; row < m_nRows; ++row)
        {
            CString line;
            for (int col = 0; col < m_nCols; ++col)
            {
                line += GetItemText(row, col);
                line += col < m_nCols - 1 ? "," : "\n";
            }
            File.WriteString(line);
        }
        File.Close();
    }
    catch (CFileException* e)
    {
        e->Delete();
        File.Abort();
        AfxMessageBox("Unable to save grid list");
        return FALSE;
    }
    return TRUE;
}

BOOL CGridCtrl::Load(LPCSTR filename)
{
    CStdioFile File;
    CFileException ex;
    if (!File.Open(filename, CFile::modeRead | CFile::typeText, &ex))
    {
        ex.ReportError();
        return FALSE;
    }
    DeleteAllItems();
    try
    {
        CString line;
        if (File.ReadString(line))
            for (const CString& title : FieldsOf(line))
                InsertColumn(title, DT_CENTER | DT_VCENTER | DT_SINGLELINE, -1);
        while (File.ReadString(line))
        {
            const std::vector<CString> fields = FieldsOf(line);
            const int nRow = InsertRow(fields.front(), -1);
            for (size_t k = 1; k < fields.size() && int(k) < m_nCols; ++k)
                SetItemText(nRow, int(k), fields[k]);
        }
        for (int col = 0; col < m_nCols; ++col)
            AutoSizeColumn(col);
        File.Close();
    }
    catch (CFileException* e)
    {
        e->Delete();
        File.Abort();
        AfxMessageBox("Unable to load grid data");
        return FALSE;
    }
    return TRUE;
}

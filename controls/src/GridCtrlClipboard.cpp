// Text out of and into the grid: the clipboard commands, OLE drags of the
// selection and drops onto cells, all as CF_TEXT.
#include "GridCtrl.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
// The global block grows in these steps while the text is written.
constexpr SIZE_T kBlockStep = 4096;

// The text as one shareable, zero-filled global block with its NUL.
HGLOBAL BlockOf(const std::string& text)
{
    const SIZE_T nStepped = ((text.size() + 1 + kBlockStep - 1) / kBlockStep) * kBlockStep;
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, nStepped);
    if (hMem == nullptr)
        return nullptr;
    char* pBytes = static_cast<char*>(::GlobalLock(hMem));
    std::copy(text.begin(), text.end(), pBytes);
    ::GlobalUnlock(hMem);
    HGLOBAL hExact = ::GlobalReAlloc(hMem, text.size() + 1, GMEM_MOVEABLE | GMEM_ZEROINIT);
    return hExact != nullptr ? hExact : hMem;
}

std::string TextOf(COleDataObject* pDataObject)
{
    HGLOBAL hMem = pDataObject->GetGlobalData(CF_TEXT);
    if (hMem == nullptr)
        return {};
    const char* pText = static_cast<const char*>(::GlobalLock(hMem));
    const SIZE_T nSize = ::GlobalSize(hMem);
    std::string text(pText, std::find(pText, pText + nSize, '\0'));
    ::GlobalUnlock(hMem);
    ::GlobalFree(hMem);
    return text;
}

bool IsSeparator(char c)
{
    return c == '\t' || c == ',' || c == '\n';
}

std::string Trimmed(const std::string& token)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const auto first = std::find_if_not(token.begin(), token.end(), isSpace);
    const auto last = std::find_if_not(token.rbegin(), token.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

// A pasted line's fields: runs of separators count as one, so empty fields
// between two of them are skipped.
std::vector<std::string> TokensOf(const std::string& line)
{
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < line.size())
    {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        const size_t nStart = i;
        while (i < line.size() && !IsSeparator(line[i]))
            ++i;
        if (i > nStart)
            tokens.push_back(Trimmed(line.substr(nStart, i - nStart)));
    }
    return tokens;
}
} // namespace

COleDataSource* CGridCtrl::CopyTextFromGrid()
{
    const CCellRange Selection = GetSelectedCellRange();
    if (!IsValid(Selection))
        return nullptr;
    const HCURSOR hOld = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    std::string text;
    for (int row = Selection.GetMinRow(); row <= Selection.GetMaxRow(); ++row)
    {
        for (int col = Selection.GetMinCol(); col <= Selection.GetMaxCol(); ++col)
        {
            if ((GetItemState(row, col) & GVIS_SELECTED) != 0)
            {
                const CString cellText = GetItemText(row, col);
                text += cellText.IsEmpty() ? std::string(" ") : std::string(LPCSTR(cellText));
            }
            if (col != Selection.GetMaxCol())
                text += '\t';
        }
        if (row != Selection.GetMaxRow())
            text += '\n';
    }
    ::SetCursor(hOld);
    HGLOBAL hMem = BlockOf(text);
    if (hMem == nullptr)
        return nullptr;
    auto* pSource = new COleDataSource;
    pSource->CacheGlobalData(CF_TEXT, hMem);
    return pSource;
}

void CGridCtrl::StoreEditedText(int nRow, int nCol, const CString& text)
{
    SendMessageToParent(nRow, nCol, GVN_BEGINLABELEDIT);
    SetItemText(nRow, nCol, text);
    SetModified(TRUE, nRow, nCol);
    SendMessageToParent(nRow, nCol, GVN_ENDLABELEDIT);
}

void CGridCtrl::CutSelectedText()
{
    if (!IsEditable())
        return;
    const SelectionMap selected = m_SelectedCellMap;
    for (const auto& [key, cell] : selected)
    {
        (void)key;
        CGridCell* pCell = GetCell(cell.row, cell.col);
        if (pCell == nullptr || (pCell->state & GVIS_READONLY) != 0)
            continue;
        SendMessageToParent(cell.row, cell.col, GVN_BEGINLABELEDIT);
        EmptyCell(pCell, cell.row, cell.col);
        SetModified(TRUE, cell.row, cell.col);
        SendMessageToParent(cell.row, cell.col, GVN_ENDLABELEDIT);
    }
    Invalidate();
}

BOOL CGridCtrl::PasteTextToGrid(CCellID cell, COleDataObject* pDataObject)
{
    if (!IsValid(cell) || !IsCellEditable(cell) || pDataObject == nullptr ||
        !pDataObject->IsDataAvailable(CF_TEXT))
        return FALSE;
    const std::string text = TextOf(pDataObject);

    std::vector<std::string> lines;
    size_t nStart = 0;
    for (;;)
    {
        const size_t nEnd = text.find('\n', nStart);
        lines.push_back(text.substr(nStart, nEnd == std::string::npos ? nEnd : nEnd - nStart));
        if (nEnd == std::string::npos)
            break;
        nStart = nEnd + 1;
    }
    for (size_t j = 0; j < lines.size(); ++j)
    {
        std::vector<std::string> tokens = TokensOf(lines[j]);
        // An empty line inside the text empties the first cell of its row.
        if (tokens.empty() && j + 1 < lines.size())
            tokens.emplace_back();
        for (size_t k = 0; k < tokens.size(); ++k)
        {
            const int nRow = cell.row + int(j);
            const int nCol = cell.col + int(k);
            // Read-only cells keep their text, as cut, delete and editing
            // leave them.
            if (!IsValid(nRow, nCol) || !IsCellEditable(nRow, nCol))
                continue;
            StoreEditedText(nRow, nCol, tokens[k].c_str());
            SetItemState(nRow, nCol, GetItemState(nRow, nCol) & ~GVIS_SELECTED);
        }
    }
    Invalidate();
    return TRUE;
}

void CGridCtrl::OnEditCopy()
{
    COleDataSource* pSource = CopyTextFromGrid();
    if (pSource != nullptr)
        pSource->SetClipboard();
}

void CGridCtrl::OnEditCut()
{
    if (!IsEditable())
        return;
    COleDataSource* pSource = CopyTextFromGrid();
    if (pSource == nullptr)
        return;
    pSource->SetClipboard();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste()
{
    if (!IsEditable())
        return;
    CCellID cell = GetFocusCell();
    if (!IsValid(cell))
        cell = GetTopleftNonFixedCell();
    if (!IsValid(cell))
        return;
    COleDataObject obj;
    if (obj.AttachClipboard())
        PasteTextToGrid(cell, &obj);
}

void CGridCtrl::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectedCount() > 0 && IsValid(GetSelectedCellRange()));
}

void CGridCtrl::OnUpdateEditCut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsEditable() && GetSelectedCount() > 0 && IsValid(GetSelectedCellRange()));
}

void CGridCtrl::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    const CCellID cell = GetFocusCell();
    BOOL bCanPaste = IsValid(cell) && IsCellEditable(cell) && IsEditable();
    if (bCanPaste)
    {
        COleDataObject obj;
        bCanPaste = obj.AttachClipboard() && obj.IsDataAvailable(CF_TEXT);
    }
    pCmdUI->Enable(bCanPaste);
}

void CGridCtrl::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bEnableSelection);
}

// --- drag and drop ---------------------------------------------------------

CImageList* CGridCtrl::CreateDragImage(CPoint* pHotSpot)
{
    CRect rect;
    const CCellID cell = GetFocusCell();
    if (!GetCellRect(cell.row, cell.col, rect))
        return nullptr;
    rect.BottomRight() = CPoint(rect.Width(), rect.Height());
    rect.TopLeft() = CPoint(0, 0);
    if (pHotSpot != nullptr)
    {
        pHotSpot->x = rect.Width();
        pHotSpot->y = rect.Height();
    }
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return nullptr;

    auto* pList = new CImageList;
    if (!pList->Create(rect.Width(), rect.Height(), ILC_COLOR24 | ILC_MASK, 1, 1))
    {
        delete pList;
        ReleaseDC(pDC);
        return nullptr;
    }
    CDC MemDC;
    CBitmap bm;
    MemDC.CreateCompatibleDC(pDC);
    bm.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height());
    CBitmap* pOldBitmap = MemDC.SelectObject(&bm);
    MemDC.SelectObject(GetFont());
    DrawCell(&MemDC, cell.row, cell.col, rect, TRUE);
    MemDC.SelectObject(pOldBitmap);
    ReleaseDC(pDC);
    pList->Add(&bm, GetTextBkColor());
    bm.DeleteObject();
    return pList;
}

void CGridCtrl::OnBeginDrag()
{
    if (!m_bAllowDragAndDrop)
        return;
    COleDataSource* pSource = CopyTextFromGrid();
    if (pSource == nullptr)
        return;
    const CCellRange Selection = GetSelectedCellRange();
    SendMessageToParent(Selection.GetTopLeft().row, Selection.GetTopLeft().col, GVN_BEGINDRAG);
    m_MouseMode = MOUSE_DRAGGING;
    const DROPEFFECT dropEffect = pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    if ((dropEffect & DROPEFFECT_MOVE) != 0)
        CutSelectedText();
    // Only this object's reference to the data goes: a target still holding
    // the data keeps it.
    delete pSource;
}

void CGridCtrl::SetDropHighlight(const CCellID& cell, BOOL bOn)
{
    const UINT state = GetItemState(cell.row, cell.col);
    SetItemState(cell.row, cell.col, bOn ? state | GVIS_DROPHILITED : state & ~GVIS_DROPHILITED);
    RedrawCell(cell);
}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (!m_bAllowDragAndDrop || pDataObject == nullptr || !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    m_LastDragOverCell = GetCellFromPt(point, FALSE);
    if (!IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell))
        return DROPEFFECT_NONE;
    SetDropHighlight(m_LastDragOverCell, TRUE);
    return (dwKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (!m_bAllowDragAndDrop || !IsEditable() || pDataObject == nullptr ||
        !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    const CCellID cell = GetCellFromPt(point, FALSE);
    if (!IsValid(cell))
    {
        OnDragLeave();
        m_LastDragOverCell = CCellID(-1, -1);
        return DROPEFFECT_NONE;
    }
    if (!IsCellEditable(cell))
        return DROPEFFECT_NONE;
    if (cell != m_LastDragOverCell)
    {
        if (IsValid(m_LastDragOverCell))
            SetDropHighlight(m_LastDragOverCell, FALSE);
        m_LastDragOverCell = cell;
        SetDropHighlight(m_LastDragOverCell, TRUE);
    }
    return (dwKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CGridCtrl::OnDragLeave()
{
    if (IsValid(m_LastDragOverCell))
        SetDropHighlight(m_LastDragOverCell, FALSE);
}

BOOL CGridCtrl::OnDrop(COleDataObject* pDataObject, DROPEFFECT /*dropEffect*/, CPoint /*point*/)
{
    if (!m_bAllowDragAndDrop || !IsCellEditable(m_LastDragOverCell))
        return FALSE;
    m_MouseMode = MOUSE_NOTHING;
    OnDragLeave();
    return PasteTextToGrid(m_LastDragOverCell, pDataObject);
}

// Navigation, paths and editing of DMarkup.
#include "DMarkup.h"

#include "VeltaroLog.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace
{

bool IsWhite(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

} // namespace

// ---------------------------------------------------------------------------
// Cursor

void DMarkup::x_SetPos(int parent, int main, int child)
{
    m_iPosParent = parent;
    m_iPos = main;
    m_iPosChild = child;
    m_nNodeType = main ? enNodeElement : 0;
}

void DMarkup::ResetPos()
{
    x_SetPos(0, 0, 0);
}

void DMarkup::ResetMainPos()
{
    x_SetPos(m_iPosParent, 0, 0);
}

void DMarkup::ResetChildPos()
{
    x_SetPos(m_iPosParent, m_iPos, 0);
}

int DMarkup::x_FirstChildOf(int iPosParent) const
{
    if (iPosParent != 0 && !x_IsLive(iPosParent))
        return 0;
    return m_aPos[iPosParent].iElemChild;
}

int DMarkup::x_PrevSibling(int iPos) const
{
    int iPrev = 0;
    for (int i = x_FirstChildOf(m_aPos[iPos].iElemParent); i && i != iPos; i = m_aPos[i].iElemNext)
        iPrev = i;
    return iPrev;
}

int DMarkup::x_LastChild(int iPosParent) const
{
    int iLast = 0;
    for (int i = x_FirstChildOf(iPosParent); i; i = m_aPos[i].iElemNext)
        iLast = i;
    return iLast;
}

int DMarkup::x_Depth(int iPos) const
{
    int nDepth = 0;
    for (; x_IsLive(iPos); iPos = m_aPos[iPos].iElemParent)
        ++nDepth;
    return nDepth;
}

// The first element under iPosParent after iPosAfter (from the first child
// when iPosAfter is 0) whose tag name matches name.
int DMarkup::x_FindNextMatch(int iPosParent, int iPosAfter, const char* name) const
{
    if (iPosAfter && !x_IsLive(iPosAfter))
        return 0;
    int i = iPosAfter ? m_aPos[iPosAfter].iElemNext : x_FirstChildOf(iPosParent);
    for (; i; i = m_aPos[i].iElemNext)
    {
        TokenPos token = x_TokenAt(m_aPos[i].nStartL + 1);
        if (x_FindToken(token) && x_TokenMatch(token, name))
            return i;
    }
    return 0;
}

bool DMarkup::FindElem(const char* name)
{
    if (m_iPosFree <= 1)
        return false;
    const int iPos = x_FindNextMatch(m_iPosParent, m_iPos, name);
    if (!iPos)
        return false;
    x_SetPos(m_aPos[iPos].iElemParent, iPos, 0);
    return true;
}

bool DMarkup::FindChildElem(const char* name)
{
    if (!m_iPos && !FindElem(nullptr))
        return false;
    const int iPos = x_FindNextMatch(m_iPos, m_iPosChild, name);
    if (!iPos)
        return false;
    const int iMain = m_aPos[iPos].iElemParent;
    x_SetPos(m_aPos[iMain].iElemParent, iMain, iPos);
    return true;
}

bool DMarkup::IntoElem()
{
    if (!m_iPos || m_nNodeType != enNodeElement)
        return false;
    x_SetPos(m_iPos, m_iPosChild, 0);
    return true;
}

bool DMarkup::IntoElem(const char* name)
{
    ResetMainPos();
    if (!FindElem(name))
        return false;
    IntoElem();
    Next();
    return true;
}

bool DMarkup::OutOfElem()
{
    if (!x_IsLive(m_iPosParent))
        return false;
    x_SetPos(m_aPos[m_iPosParent].iElemParent, m_iPosParent, m_iPos);
    return true;
}

// Moving the main position forgets the child position, which only means
// something under the element it was found in.
bool DMarkup::Next()
{
    int iNext = 0;
    if (!m_iPos)
        iNext = x_FirstChildOf(m_iPosParent);
    else if (x_IsLive(m_iPos))
        iNext = m_aPos[m_iPos].iElemNext;
    x_SetPos(m_iPosParent, iNext, 0);
    return iNext != 0;
}

bool DMarkup::NextSib()
{
    const int iNext = x_IsLive(m_iPos) ? m_aPos[m_iPos].iElemNext : 0;
    x_SetPos(m_iPosParent, iNext, 0);
    return iNext != 0;
}

bool DMarkup::FirstSib()
{
    ResetMainPos();
    return Next();
}

void DMarkup::NextChild()
{
    ++m_iPosChild;
    m_nNodeType = m_iPos ? enNodeElement : 0;
}

bool DMarkup::HasChild() const
{
    return x_IsLive(m_iPos) && m_nNodeType == enNodeElement && m_aPos[m_iPos].iElemChild != 0;
}

void DMarkup::GetPos(SavedPos* pos) const
{
    if (!pos)
        return;
    pos->iPosParent = m_iPosParent;
    pos->iPos = m_iPos;
    pos->iPosChild = m_iPosChild;
}

void DMarkup::SetPos(const SavedPos* pos)
{
    if (pos)
        x_SetPos(pos->iPosParent, pos->iPos, pos->iPosChild);
}

// ---------------------------------------------------------------------------
// Paths

// A path that starts with "/" is taken from the top of the document. Returns
// the path without that "/", or null for no path.
const char* DMarkup::x_StartPath(const char* path)
{
    if (!path || *path != '/')
        return path;
    ResetPos();
    return path + 1;
}

bool DMarkup::GotoPath(const char* path)
{
    const char* rest = x_StartPath(path);
    if (!rest)
        return false;
    Lettra strRest(rest);
    strRest.Replace("//", "/");
    int iPosAfter = m_iPos;
    for (Lettra::Token token(strRest, true); token; token.Next())
    {
        const Lettra strName = token.Current();
        if (strName.IsEmpty())
            continue;
        const int iPos = x_FindNextMatch(m_iPosParent, iPosAfter, strName);
        if (!iPos)
        {
            _warning("Cannot find path : %s in file : %s", rest, m_strFileName.constBuffer());
            return false;
        }
        x_SetPos(iPos, 0, 0);
        iPosAfter = 0;
    }
    x_SetPos(m_iPosParent, x_FirstChildOf(m_iPosParent), 0);
    return true;
}

bool DMarkup::CreatePath(const char* path)
{
    const char* rest = x_StartPath(path);
    if (!rest)
        return false;
    const Lettra strRest(rest);
    for (Lettra::Token token(strRest, true); token; token.Next())
    {
        const Lettra strName = token.Current();
        if (strName.IsEmpty())
            break;
        if (!FindElem(strName) && !AddElem(strName))
            return false;
        IntoElem();
    }
    return true;
}

Lettra DMarkup::GetPath() const
{
    Lettra strPath;
    for (int i = m_iPos ? m_iPos : m_iPosParent; x_IsLive(i); i = m_aPos[i].iElemParent)
        strPath = x_GetTagName(i) + "/" + strPath;
    strPath = "/" + strPath;
    strPath.Replace("//", "/");
    return strPath;
}

// ---------------------------------------------------------------------------
// Values by name

Lettra DMarkup::GetData(const char* name)
{
    ResetMainPos();
    return FindElem(name) ? x_GetData(m_iPos) : Lettra();
}

Lettra DMarkup::GetData(const char* name, const char* fallback)
{
    ResetMainPos();
    return FindElem(name) ? x_GetData(m_iPos) : Lettra(fallback);
}

Lettra DMarkup::GetData(const char* name, int fallback)
{
    ResetMainPos();
    return FindElem(name) ? x_GetData(m_iPos) : Lettra(fallback);
}

bool DMarkup::SetItemData(const char* name, const char* data)
{
    RemoveElem(name);
    return AddElem(name, data);
}

bool DMarkup::RemoveElem(const char* name)
{
    for (int iPos = x_FindNextMatch(m_iPosParent, m_iPos, name); iPos;
         iPos = x_FindNextMatch(m_iPosParent, m_iPos, name))
    {
        x_SetPos(m_iPosParent, iPos, 0);
        RemoveElem();
    }
    return true;
}

// ---------------------------------------------------------------------------
// Adding elements and sub-documents

bool DMarkup::AddElem(const char* name, const char* data)
{
    return x_AddElem(name, data, false, false);
}

bool DMarkup::InsertElem(const char* name, const char* data)
{
    return x_AddElem(name, data, true, false);
}

bool DMarkup::AddChildElem(const char* name, const char* data)
{
    return x_AddElem(name, data, false, true);
}

bool DMarkup::InsertChildElem(const char* name, const char* data)
{
    return x_AddElem(name, data, true, true);
}

bool DMarkup::AddSubDoc(const char* xml)
{
    return x_AddSubDoc(xml, false, false);
}

bool DMarkup::InsertSubDoc(const char* xml)
{
    return x_AddSubDoc(xml, true, false);
}

bool DMarkup::AddChildSubDoc(const char* xml)
{
    return x_AddSubDoc(xml, false, true);
}

bool DMarkup::InsertChildSubDoc(const char* xml)
{
    return x_AddSubDoc(xml, true, true);
}

// Names are written into tags as they are, so they must be one name token:
// anything else would change how the document parses.
bool DMarkup::x_IsValidName(const char* name)
{
    if (!name || !*name)
        return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p)
    {
        if (*p < 0x20 || std::strchr(" <>=\\/?!\"'&", *p))
            return false;
    }
    return true;
}

// Where a new element goes: the parent it goes under and the element it goes
// next to (0: at the end, or at the start, of the parent's elements).
bool DMarkup::x_GetPlace(bool bChild, int& iPosParent, int& iPosRef) const
{
    if (bChild)
    {
        if (!x_IsLive(m_iPos))
            return false;
        iPosParent = m_iPos;
        iPosRef = m_iPosChild;
    }
    else
    {
        if (m_iPosParent && !x_IsLive(m_iPosParent))
            return false;
        iPosParent = m_iPosParent;
        iPosRef = m_iPos;
    }
    if (!x_IsLive(iPosRef) || m_aPos[iPosRef].iElemParent != iPosParent)
        iPosRef = 0;
    return true;
}

// A document without a root element may gain one only when everything in it
// is declarations, comments, document types and text: anything else would be
// read back as part of the new element.
bool DMarkup::x_IsPrologOnly()
{
    const char* szDoc = m_strDoc.constBuffer();
    const int nDocLen = m_strDoc.GetLength();
    for (int n = 0; n < nDocLen; ++n)
    {
        if (szDoc[n] != '<')
            continue;
        TokenPos token = x_TokenAt(n + 1);
        if (!x_FindToken(token) || !(x_TokenIs(token, '!') || x_TokenIs(token, '?')))
            return false;
        n = x_ParseNode(token.nL);
        if (n < 0)
            return false;
    }
    return true;
}

bool DMarkup::x_AddElem(const char* name, const char* data, bool bInsert, bool bChild)
{
    int iPosParent = 0;
    int iPosRef = 0;
    if (!x_IsValidName(name) || !x_GetPlace(bChild, iPosParent, iPosRef))
        return false;
    if (iPosParent == 0 && (m_aPos[0].iElemChild != 0 || !x_IsPrologOnly()))
        return false;
    if (x_Depth(iPosParent) + 1 > kMaxDepth)
        return false;

    const Lettra strData = x_Escape(x_TextToDoc(data), false);
    const int nName = static_cast<int>(std::strlen(name));
    ElemPos elem{};
    Lettra strText("<");
    strText += name;
    if (strData.IsEmpty())
    {
        strText += "/>\r\n";
        elem.nEndL = nName + 1;
        elem.nStartR = elem.nEndR = nName + 2;
    }
    else
    {
        strText += ">";
        strText += strData;
        strText += "</";
        strText += name;
        strText += ">\r\n";
        elem.nStartR = nName + 1;
        elem.nEndL = elem.nStartR + 1 + strData.GetLength();
        elem.nEndR = elem.nEndL + nName + 2;
    }
    return x_GoToAdded(bChild, iPosParent,
                       x_InsertRecords(iPosParent, iPosRef, bInsert, strText, &elem, 1));
}

bool DMarkup::x_AddSubDoc(const char* xml, bool bInsert, bool bChild)
{
    int iPosParent = 0;
    int iPosRef = 0;
    if (!x_GetPlace(bChild, iPosParent, iPosRef) || iPosParent == 0)
        return false;

    // Parse the text on its own first, so that a text that does not parse
    // leaves this document untouched, and a text whose element is not
    // complete cannot borrow end tags from this document.
    DMarkup sub;
    if (!sub.SetDoc(xml))
    {
        m_strError = sub.m_strError;
        return false;
    }
    const ElemPos& root = sub.m_aPos[sub.m_aPos[0].iElemChild];
    const char* szSub = sub.m_strDoc.constBuffer();
    int nEnd = root.nEndR + 1;
    while (nEnd < sub.m_strDoc.GetLength() && IsWhite(szSub[nEnd]))
        ++nEnd;
    int nSubDepth = 0;
    std::vector<ElemPos> aRel(sub.m_aPos.begin() + 1, sub.m_aPos.begin() + sub.m_iPosFree);
    for (int k = 0; k < static_cast<int>(aRel.size()); ++k)
    {
        x_MoveRecord(aRel[k], -root.nStartL, -1);
        nSubDepth = std::max(nSubDepth, sub.x_Depth(k + 1));
    }
    if (x_Depth(iPosParent) + nSubDepth > kMaxDepth)
        return false;
    const Lettra strText = sub.m_strDoc.Mid(root.nStartL, nEnd - root.nStartL);
    return x_GoToAdded(bChild, iPosParent,
                       x_InsertRecords(iPosParent, iPosRef, bInsert, strText, aRel.data(),
                                       static_cast<int>(aRel.size())));
}

// Puts the cursor on the element iPos just added under iPosParent: as the main
// element, or as the child when it was added as one. False when none was.
bool DMarkup::x_GoToAdded(bool bChild, int iPosParent, int iPos)
{
    if (!iPos)
        return false;
    if (bChild)
        x_SetPos(m_iPosParent, iPosParent, iPos);
    else
        x_SetPos(iPosParent, iPos, 0);
    return true;
}

// Splices text holding nRel elements into the document under iPosParent, next
// to iPosRef, and links their records. pRel holds the elements' records with
// offsets relative to the start of text and links as indexes into pRel (the
// first is the top element; 0 as a child or sibling means none). Returns the
// record of the top element, 0 when the document cannot grow.
int DMarkup::x_InsertRecords(int iPosParent, int iPosRef, bool bInsert, const Lettra& text,
                             const ElemPos* pRel, int nRel)
{
    const int nDocLen = m_strDoc.GetLength();
    const bool bParentEmpty = iPosParent != 0 && x_IsEmptyElem(iPosParent);
    int nBase = 0;
    if (bParentEmpty)
    {
        const int nContent = x_OpenEmptyElem(iPosParent, "\r\n" + text);
        if (nContent < 0)
            return 0;
        nBase = nContent + 2;
    }
    else
    {
        int nOffset = 0;
        if (iPosRef)
            nOffset = bInsert ? m_aPos[iPosRef].nStartL : m_aPos[iPosRef].nEndR + 1;
        else if (iPosParent == 0)
            nOffset = bInsert ? 0 : nDocLen;
        else
            nOffset = bInsert ? m_aPos[iPosParent].nStartR + 1 : m_aPos[iPosParent].nEndL;
        nOffset = x_SkipWhiteToTag(nOffset);
        if (!x_DocReplace(nOffset, 0, text, text.GetLength()))
            return 0;
        int iPosFirst = bInsert ? x_FirstChildOf(iPosParent) : 0;
        if (iPosRef)
            iPosFirst = bInsert ? iPosRef : m_aPos[iPosRef].iElemNext;
        x_Adjust(iPosFirst, iPosParent, nOffset, text.GetLength());
        nBase = nOffset;
    }

    const int iFirst = m_iPosFree;
    for (int k = 0; k < nRel; ++k)
        x_GetFreePos();
    for (int k = 0; k < nRel; ++k)
    {
        ElemPos elem = pRel[k];
        x_MoveRecord(elem, nBase, iFirst);
        elem.nReserved = 0;
        if (k == 0)
            elem.iElemParent = iPosParent;
        m_aPos[iFirst + k] = elem;
    }

    int iPrev = 0;
    int iNext = 0;
    if (iPosRef && bInsert)
    {
        iPrev = x_PrevSibling(iPosRef);
        iNext = iPosRef;
    }
    else if (iPosRef)
    {
        iPrev = iPosRef;
        iNext = m_aPos[iPosRef].iElemNext;
    }
    else if (bInsert)
    {
        iNext = x_FirstChildOf(iPosParent);
    }
    else
    {
        iPrev = x_LastChild(iPosParent);
    }
    m_aPos[iFirst].iElemNext = iNext;
    if (iPrev)
        m_aPos[iPrev].iElemNext = iFirst;
    else
        m_aPos[iPosParent].iElemChild = iFirst;
    return iFirst;
}

// Turns the empty element iPos ("<e/>") into a start tag, content and an end
// tag ("<e>", content, "</e>"). Returns the offset where the content begins,
// or -1 when the document cannot grow.
int DMarkup::x_OpenEmptyElem(int iPos, const Lettra& content)
{
    const int nSlash = m_aPos[iPos].nEndL;
    const int nClose = m_aPos[iPos].nStartR;
    // A "/" right before the new ">" would still read as an empty element.
    const bool bSpace = m_strDoc.constBuffer()[nSlash - 1] == '/';
    const Lettra strReplace = (bSpace ? " >" : ">") + content + "</" + x_GetTagName(iPos);
    if (!x_DocReplace(nSlash, 1, strReplace, strReplace.GetLength()))
        return -1;
    x_Adjust(iPos, m_aPos[iPos].iElemParent, nClose, strReplace.GetLength() - 1);
    m_aPos[iPos].nStartR = nSlash + (bSpace ? 1 : 0);
    m_aPos[iPos].nEndL = m_aPos[iPos].nStartR + 1 + content.GetLength();
    return m_aPos[iPos].nStartR + 1;
}

// Replaces nOld characters at nOffset with nNew characters of text. The
// document grows by half its length at a time, so that building a document
// element by element does not copy it for every element.
bool DMarkup::x_DocReplace(int nOffset, int nOld, const char* text, int nNew)
{
    const int nDocLen = m_strDoc.GetLength();
    const long long nNewLen = static_cast<long long>(nDocLen) - nOld + nNew;
    if (nNewLen > INT_MAX / 2)
        return false;
    if (nOld == 0 && nNew == 0)
        return true;
    int nCapacity = static_cast<int>(nNewLen);
    if (m_strDoc.GetAllocLength() < nCapacity)
        nCapacity = std::max(nCapacity, nDocLen + nDocLen / 2);
    char* buffer = m_strDoc.GetBuffer(nCapacity);
    std::memmove(buffer + nOffset + nNew, buffer + nOffset + nOld, nDocLen - nOffset - nOld);
    std::memcpy(buffer + nOffset, text, nNew);
    m_strDoc.ReleaseBuffer(static_cast<int>(nNewLen));
    return true;
}

// Moves by nShift those of the element's offsets that lie at or after nOffset.
void DMarkup::x_ShiftOffsets(ElemPos& elem, int nOffset, int nShift)
{
    if (elem.nStartL >= nOffset)
        elem.nStartL += nShift;
    if (elem.nStartR >= nOffset)
        elem.nStartR += nShift;
    if (elem.nEndL >= nOffset)
        elem.nEndL += nShift;
    if (elem.nEndR >= nOffset)
        elem.nEndR += nShift;
}

// Moves a record that came from another array: its offsets by nShift, its
// links (0 as a child or sibling meaning none) by iShift.
void DMarkup::x_MoveRecord(ElemPos& elem, int nShift, int iShift)
{
    elem.nStartL += nShift;
    elem.nStartR += nShift;
    elem.nEndL += nShift;
    elem.nEndR += nShift;
    elem.iElemParent += iShift;
    elem.iElemChild = elem.iElemChild ? elem.iElemChild + iShift : 0;
    elem.iElemNext = elem.iElemNext ? elem.iElemNext + iShift : 0;
}

// Moves by nShift the offsets at or after nOffset of iPos, of its following
// siblings and of all their descendants. Subtrees that end before nOffset
// are passed over whole.
void DMarkup::x_ShiftTree(int iPos, int nOffset, int nShift)
{
    if (!iPos)
        return;
    const int iPosStop = m_aPos[iPos].iElemParent;
    while (iPos != iPosStop)
    {
        ElemPos& elem = m_aPos[iPos];
        if (elem.nEndR >= nOffset)
        {
            x_ShiftOffsets(elem, nOffset, nShift);
            if (elem.iElemChild)
            {
                iPos = elem.iElemChild;
                continue;
            }
        }
        while (iPos != iPosStop && !m_aPos[iPos].iElemNext)
            iPos = m_aPos[iPos].iElemParent;
        if (iPos != iPosStop)
            iPos = m_aPos[iPos].iElemNext;
    }
}

// After a change of length nShift at nOffset inside the element iPosParent:
// moves the offsets behind the change, which belong to the elements at that
// level from iPosFirst on (with their descendants), to iPosParent and its
// ancestors, and to everything that follows them. Only the records behind
// the change are visited, so building a document at its end stays cheap.
void DMarkup::x_Adjust(int iPosFirst, int iPosParent, int nOffset, int nShift)
{
    x_ShiftTree(iPosFirst, nOffset, nShift);
    for (int iPos = iPosParent; iPos > 0; iPos = m_aPos[iPos].iElemParent)
    {
        x_ShiftOffsets(m_aPos[iPos], nOffset, nShift);
        x_ShiftTree(m_aPos[iPos].iElemNext, nOffset, nShift);
    }
}

// ---------------------------------------------------------------------------
// Attributes and data

bool DMarkup::SetAttrib(const char* name, const char* value)
{
    return m_nNodeType == enNodeElement && x_SetAttrib(m_iPos, name, value);
}

bool DMarkup::SetAttrib(const char* name, int value)
{
    return SetAttrib(name, Lettra(value));
}

bool DMarkup::AddAttrib(const char* name, const char* value)
{
    return SetAttrib(name, value);
}

bool DMarkup::AddAttrib(const char* name, int value)
{
    return SetAttrib(name, value);
}

bool DMarkup::SetChildAttrib(const char* name, const char* value)
{
    return m_nNodeType == enNodeElement && x_SetAttrib(m_iPosChild, name, value);
}

bool DMarkup::SetChildAttrib(const char* name, int value)
{
    return SetChildAttrib(name, Lettra(value));
}

bool DMarkup::AddChildAttrib(const char* name, const char* value)
{
    return SetChildAttrib(name, value);
}

bool DMarkup::AddChildAttrib(const char* name, int value)
{
    return SetChildAttrib(name, value);
}

bool DMarkup::x_SetAttrib(int iPos, const char* name, const char* value)
{
    if (!x_IsLive(iPos) || !x_IsValidName(name))
        return false;
    const Lettra strValue = x_Escape(x_TextToDoc(value), true);
    TokenPos token{};
    if (x_FindAttrib(iPos, name, 0, nullptr, &token))
    {
        const int nFrom = token.nL;
        const int nTo = token.nR + 1;
        if (!x_DocReplace(nFrom, nTo - nFrom, strValue, strValue.GetLength()))
            return false;
        x_Adjust(iPos, m_aPos[iPos].iElemParent, nTo, strValue.GetLength() - (nTo - nFrom));
        return true;
    }
    const Lettra strInsert = " " + Lettra(name) + "=\"" + strValue + "\"";
    const ElemPos& elem = m_aPos[iPos];
    const int nOffset = x_IsEmptyElem(iPos) ? elem.nEndL : elem.nStartR;
    if (!x_DocReplace(nOffset, 0, strInsert, strInsert.GetLength()))
        return false;
    x_Adjust(iPos, m_aPos[iPos].iElemParent, nOffset, strInsert.GetLength());
    return true;
}

bool DMarkup::SetData(const char* text, int cdata)
{
    return x_SetData(m_iPos, text, cdata);
}

bool DMarkup::SetChildData(const char* text, int cdata)
{
    return x_SetData(m_iPosChild, text, cdata);
}

bool DMarkup::x_SetData(int iPos, const char* text, int cdata)
{
    if (!x_IsLive(iPos) || m_aPos[iPos].iElemChild)
        return false;
    const Lettra strText = x_TextToDoc(text);
    Lettra strContent;
    if (cdata && strText.Find("]]>") < 0)
        strContent = "<![CDATA[" + strText + "]]>";
    else
        strContent = x_Escape(strText, false);
    const int nContent = strContent.GetLength();
    if (x_IsEmptyElem(iPos))
        return x_OpenEmptyElem(iPos, strContent) >= 0;
    const int nFrom = m_aPos[iPos].nStartR + 1;
    const int nTo = m_aPos[iPos].nEndL;
    if (!x_DocReplace(nFrom, nTo - nFrom, strContent, nContent))
        return false;
    x_Adjust(iPos, m_aPos[iPos].iElemParent, nTo, nContent - (nTo - nFrom));
    return true;
}

// ---------------------------------------------------------------------------
// Removing

bool DMarkup::RemoveElem()
{
    if (!x_IsLive(m_iPos) || m_nNodeType != enNodeElement)
        return false;
    x_SetPos(m_iPosParent, x_RemoveElem(m_iPos), 0);
    return true;
}

bool DMarkup::RemoveChildElem()
{
    if (!x_IsLive(m_iPosChild))
        return false;
    m_iPosChild = x_RemoveElem(m_iPosChild);
    return true;
}

bool DMarkup::RemoveAllChild()
{
    ResetMainPos();
    while (Next())
    {
        if (!HasChild())
            RemoveElem();
    }
    return true;
}

bool DMarkup::RemoveDescendant()
{
    ResetMainPos();
    while (Next())
        RemoveElem();
    return true;
}

// Takes the element, and the white space after it when an element or the end
// of the document follows, out of the document; returns its previous sibling.
int DMarkup::x_RemoveElem(int iPos)
{
    const ElemPos elem = m_aPos[iPos];
    const int nEnd = x_SkipWhiteToTag(elem.nEndR + 1);

    const int iPrev = x_PrevSibling(iPos);
    if (iPrev)
        m_aPos[iPrev].iElemNext = elem.iElemNext;
    else
        m_aPos[elem.iElemParent].iElemChild = elem.iElemNext;
    x_ReleaseSubtree(iPos);
    x_DocReplace(elem.nStartL, nEnd - elem.nStartL, "", 0);
    x_Adjust(elem.iElemNext, elem.iElemParent, nEnd, elem.nStartL - nEnd);
    return iPrev;
}

void DMarkup::x_ReleaseSubtree(int iPos)
{
    std::vector<int> aStack{iPos};
    while (!aStack.empty())
    {
        const int i = aStack.back();
        aStack.pop_back();
        for (int iChild = m_aPos[i].iElemChild; iChild; iChild = m_aPos[iChild].iElemNext)
            aStack.push_back(iChild);
        m_aPos[i].iElemParent = -1;
    }
}

// ---------------------------------------------------------------------------
// Walking

void DMarkup::ForEachNode(DMarkup* markup, int (*visit)(DMarkup*, unsigned long),
                          unsigned long data)
{
    if (!markup || !markup->FindChildElem(nullptr))
        return;
    const int iTop = markup->m_iPos;
    int iPos = markup->m_iPosChild;
    while (iPos && iPos != iTop && markup->x_IsLive(iPos))
    {
        markup->x_SetPos(markup->m_aPos[iPos].iElemParent, iPos, 0);
        if (visit)
            visit(markup, data);
        // The visitor may have edited the document; stop when the element it
        // was called on is gone.
        if (!markup->x_IsLive(iPos))
            break;
        int iNext = markup->m_aPos[iPos].iElemChild;
        while (!iNext && iPos && iPos != iTop)
        {
            iNext = markup->m_aPos[iPos].iElemNext;
            if (!iNext)
                iPos = markup->m_aPos[iPos].iElemParent;
        }
        iPos = iNext;
    }
    if (markup->x_IsLive(iTop))
        markup->x_SetPos(markup->m_aPos[iTop].iElemParent, iTop, 0);
}

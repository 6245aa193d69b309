// DMarkup: the XML document class of the DICOM library.
//
// The document is kept as one text. Beside it lies an array of element
// records holding character offsets into that text and the parent, first-child
// and next-sibling links between elements. A cursor of three record indexes
// (parent, main, child) moves over the records; edits change the text in place
// and move the offsets of the records behind the change, so the records always
// describe the text exactly as a fresh parse of it would.
#pragma once

#include "Lettra.h"
#include "VeltaroExport.h"

#include <cstdint>
#include <vector>

class VELTARO_API DMarkup
{
public:
    // A cursor position saved by GetPos and restored by SetPos.
    struct SavedPos
    {
        int iPosParent;
        int iPos;
        int iPosChild;
    };

    // Main node type of an element position.
    enum enNodeType
    {
        enNodeElement = 1,
    };

    // Code page value that turns every value conversion off.
    static constexpr uint32_t kNoConversion = 0xFFFFFFFFu;
    // Deepest element nesting the parser accepts.
    static constexpr int kMaxDepth = 1024;

    DMarkup();
    DMarkup(const char* text);
    DMarkup(const Lettra& text);
    DMarkup(const DMarkup& other);
    DMarkup& operator=(const DMarkup& other);
    virtual ~DMarkup();

    // Whole document.
    bool SetDoc(const char* text);
    bool SetDoc(const Lettra& text);
    bool Load(const char* path);
    bool Save(const char* path) const;
    bool Restart();
    virtual void Clear();
    bool IsWellFormed() const;
    Lettra GetError() const { return m_strError; }
    Lettra GetFileName() const { return m_strFileName; }
    Lettra GetDoc() const { return m_strDoc; }
    Lettra GetDeclaredEncoding() const { return m_strEncoding; }
    unsigned int SetCodePage(unsigned int codePage);

    // Reading the main, child or parent element.
    Lettra GetTagName() const;
    Lettra GetChildTagName() const;
    Lettra GetParentTagName() const;
    Lettra GetData() const;
    Lettra GetChildData() const;
    Lettra GetAttrib(const char* name) const;
    Lettra GetChildAttrib(const char* name) const;
    Lettra GetAttribName(int index) const;
    Lettra GetSubDoc() const;
    Lettra GetChildSubDoc() const;
    Lettra GetDocOfElem() const;
    bool GetOffsets(int& start, int& end) const;
    bool GetOffsets(int& startOpen, int& startClose, int& endOpen, int& endClose) const;

    // Cursor moves.
    void ResetPos();
    void ResetMainPos();
    void ResetChildPos();
    bool FindElem(const char* name = nullptr);
    bool FindChildElem(const char* name = nullptr);
    bool IntoElem();
    bool IntoElem(const char* name);
    bool OutOfElem();
    bool Next();
    bool NextSib();
    bool FirstSib();
    void NextChild();
    bool HasChild() const;
    void GetPos(SavedPos* pos) const;
    void SetPos(const SavedPos* pos);

    // Paths.
    bool GotoPath(const char* path);
    bool CreatePath(const char* path);
    Lettra GetPath() const;

    // Values by name at the current level.
    Lettra GetData(const char* name);
    Lettra GetData(const char* name, const char* fallback);
    Lettra GetData(const char* name, int fallback);
    bool SetItemData(const char* name, const char* data);
    bool RemoveElem(const char* name);

    // Adding elements and sub-documents.
    bool AddElem(const char* name, const char* data = nullptr);
    bool InsertElem(const char* name, const char* data = nullptr);
    bool AddChildElem(const char* name, const char* data = nullptr);
    bool InsertChildElem(const char* name, const char* data = nullptr);
    bool AddSubDoc(const char* xml);
    bool InsertSubDoc(const char* xml);
    bool AddChildSubDoc(const char* xml);
    bool InsertChildSubDoc(const char* xml);

    // Attributes and data.
    bool SetAttrib(const char* name, const char* value);
    bool SetAttrib(const char* name, int value);
    bool AddAttrib(const char* name, const char* value);
    bool AddAttrib(const char* name, int value);
    bool SetChildAttrib(const char* name, const char* value);
    bool SetChildAttrib(const char* name, int value);
    bool AddChildAttrib(const char* name, const char* value);
    bool AddChildAttrib(const char* name, int value);
    bool SetData(const char* text, int cdata = 0);
    bool SetChildData(const char* text, int cdata = 0);

    // Removing.
    bool RemoveElem();
    bool RemoveChildElem();
    bool RemoveAllChild();
    bool RemoveDescendant();

    // Depth-first walk over the elements below the main element.
    static void ForEachNode(DMarkup* markup, int (*visit)(DMarkup*, unsigned long),
                            unsigned long data);

protected:
    // One element: offsets into the document and links to other records.
    struct ElemPos
    {
        int32_t nStartL;     // "<" of the start tag
        int32_t nStartR;     // ">" of the start tag
        int32_t nEndL;       // "<" of the end tag ("/" of an empty element)
        int32_t nEndR;       // ">" of the end tag (start-tag close of an empty element)
        int32_t nReserved;   // always 0
        int32_t iElemParent; // 0: the document; -1: released record
        int32_t iElemChild;  // first child, 0 when none
        int32_t iElemNext;   // next sibling, 0 when none
    };

    // Scanner state over a range of the document.
    struct TokenPos
    {
        int nL;            // first offset of the current token
        int nR;            // last offset of the current token
        int nNext;         // where the next scan begins
        const char* szDoc; // text being scanned
        int nDocLen;       // scanning stops here
        bool bIsString;    // the token was quoted
    };

    void x_SetPos(int parent, int main, int child);

private:
    enum enStartResult
    {
        enStartError,
        enStartEndTag,
        enStartEmpty,
        enStartOpen
    };

    // Paths.
    const char* x_StartPath(const char* path);

    // Parsing.
    bool x_ParseDoc();
    int x_ParseElem(int iPosParent);
    enStartResult x_ParseStartTag(int iPosParent, int& iPos);
    bool x_ParseEndTag(int iPos);
    int x_ParseNode(int nOffset);
    void x_ReadDeclaredEncoding(int nFrom, int nTo);
    int x_GetFreePos();
    bool x_SetError(const char* text, int iPos = 0);

    // Scanning and matching.
    TokenPos x_TokenAt(int nOffset, int nLimit = -1) const;
    static bool x_FindToken(TokenPos& token);
    bool x_TokenIs(const TokenPos& token, char ch) const;
    bool x_TokenMatch(const TokenPos& token, const char* name) const;
    Lettra x_TokenText(const TokenPos& token) const;
    bool x_FindAttrib(int iPos, const char* name, int index, TokenPos* pName,
                      TokenPos* pValue) const;

    // Reading records.
    bool x_IsLive(int iPos) const;
    bool x_IsEmptyElem(int iPos) const;
    Lettra x_GetTagName(int iPos) const;
    Lettra x_GetData(int iPos) const;
    Lettra x_GetAttrib(int iPos, const char* name) const;
    int x_SkipWhiteToTag(int nOffset) const;
    Lettra x_GetSubDoc(int iPos) const;
    int x_FindNextMatch(int iPosParent, int iPosAfter, const char* name) const;
    int x_FirstChildOf(int iPosParent) const;
    int x_Depth(int iPos) const;
    int x_PrevSibling(int iPos) const;
    int x_LastChild(int iPosParent) const;

    // Code page and entities.
    Lettra x_TextToDoc(const char* text) const;
    Lettra x_TextFromDoc(Lettra text) const;
    static Lettra x_Escape(const char* text, bool bAttrib);
    Lettra x_Unescape(int nFrom, int nTo) const;

    // Editing.
    bool x_GetPlace(bool bChild, int& iPosParent, int& iPosRef) const;
    bool x_IsPrologOnly();
    int x_OpenEmptyElem(int iPos, const Lettra& content);
    bool x_DocReplace(int nOffset, int nOld, const char* text, int nNew);
    static void x_ShiftOffsets(ElemPos& elem, int nOffset, int nShift);
    static void x_MoveRecord(ElemPos& elem, int nShift, int iShift);
    void x_ShiftTree(int iPos, int nOffset, int nShift);
    void x_Adjust(int iPosFirst, int iPosParent, int nOffset, int nShift);
    int x_InsertRecords(int iPosParent, int iPosRef, bool bInsert, const Lettra& text,
                        const ElemPos* pRel, int nRel);
    bool x_AddElem(const char* name, const char* data, bool bInsert, bool bChild);
    bool x_AddSubDoc(const char* xml, bool bInsert, bool bChild);
    bool x_GoToAdded(bool bChild, int iPosParent, int iPos);
    bool x_SetAttrib(int iPos, const char* name, const char* value);
    bool x_SetData(int iPos, const char* text, int cdata);
    int x_RemoveElem(int iPos);
    void x_ReleaseSubtree(int iPos);
    static bool x_IsValidName(const char* name);

    uint32_t m_nCodePage;
    int m_iPosParent;
    int m_iPos;
    int m_iPosChild;
    int m_iPosFree;
    int m_nNodeType;
    std::vector<ElemPos> m_aPos;
    Lettra m_strEncoding;
    Lettra m_strDoc;
    Lettra m_strError;
    Lettra m_strFileName;
};

// Document model, parsing, reading and loading of DMarkup. Navigation, paths
// and editing are in DMarkupEdit.cpp.
#include "DMarkup.h"

#include "WinFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace
{

constexpr uint32_t kUtf8 = 65001;

bool IsWhite(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

// Characters that end a name token and form a token of their own.
bool IsSpecial(char ch)
{
    return ch == '<' || ch == '>' || ch == '=' || ch == '\\' || ch == '/' || ch == '?' || ch == '!';
}

// Offset of the first occurrence of pattern in [from, to), or -1.
int FindIn(const char* text, int from, int to, const char* pattern)
{
    const int nPattern = static_cast<int>(std::strlen(pattern));
    for (int n = from; n + nPattern <= to; ++n)
    {
        if (std::memcmp(text + n, pattern, nPattern) == 0)
            return n;
    }
    return -1;
}

int FindChar(const char* text, int from, int to, char ch)
{
    if (from >= to)
        return -1;
    const void* found = std::memchr(text + from, ch, to - from);
    return found ? static_cast<int>(static_cast<const char*>(found) - text) : -1;
}

bool EqualNoCase(const char* text, int length, const char* word)
{
    for (int i = 0; i < length; ++i)
    {
        char a = text[i];
        char b = word[i];
        if (b == '\0')
            return false;
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (a != b)
            return false;
    }
    return word[length] == '\0';
}

struct Entity
{
    const char* text;
    char ch;
};

constexpr Entity kEntities[] = {
    {"&lt;", '<'}, {"&amp;", '&'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'},
};

} // namespace

DMarkup::DMarkup()
    : m_nCodePage(kUtf8), m_iPosParent(0), m_iPos(0), m_iPosChild(0), m_iPosFree(1), m_nNodeType(0),
      m_aPos(8)
{
}

DMarkup::DMarkup(const char* text) : DMarkup()
{
    SetDoc(text);
}

DMarkup::DMarkup(const Lettra& text) : DMarkup()
{
    SetDoc(text);
}

DMarkup::DMarkup(const DMarkup& other) : DMarkup()
{
    *this = other;
}

DMarkup& DMarkup::operator=(const DMarkup& other)
{
    if (this == &other)
        return *this;
    m_iPosParent = other.m_iPosParent;
    m_iPos = other.m_iPos;
    m_iPosChild = other.m_iPosChild;
    m_iPosFree = other.m_iPosFree;
    m_nNodeType = other.m_nNodeType;
    m_aPos = other.m_aPos;
    m_strDoc = other.m_strDoc;
    return *this;
}

DMarkup::~DMarkup() = default;

bool DMarkup::SetDoc(const char* text)
{
    return SetDoc(Lettra(text));
}

bool DMarkup::SetDoc(const Lettra& text)
{
    m_nCodePage = kUtf8;
    m_strDoc = text;
    return x_ParseDoc();
}

bool DMarkup::Load(const char* path)
{
    m_strFileName = path;
    if (!path)
        return false;
    std::FILE* file = _fsopen(path, "rb", _SH_DENYWR);
    if (!file)
        return false;
    Lettra text;
    bool bRead = std::fseek(file, 0, SEEK_END) == 0;
    const long nSize = bRead ? std::ftell(file) : -1;
    bRead = bRead && nSize >= 0 && nSize < INT_MAX / 2 && std::fseek(file, 0, SEEK_SET) == 0;
    if (bRead && nSize > 0)
    {
        char* buffer = text.GetBuffer(static_cast<int>(nSize));
        bRead = std::fread(buffer, 1, nSize, file) == static_cast<size_t>(nSize);
        text.ReleaseBuffer(bRead ? static_cast<int>(nSize) : 0);
    }
    std::fclose(file);
    if (!bRead)
        return false;
    return SetDoc(text);
}

bool DMarkup::Save(const char* path) const
{
    if (!path)
        return false;
    std::FILE* file = _fsopen(path, "wb", _SH_DENYWR);
    if (!file)
        return false;
    const size_t nLength = m_strDoc.GetLength();
    const bool bWritten = std::fwrite(m_strDoc.constBuffer(), 1, nLength, file) == nLength;
    return std::fclose(file) == 0 && bWritten;
}

bool DMarkup::Restart()
{
    return x_ParseDoc();
}

void DMarkup::Clear()
{
    m_strDoc.Empty();
    m_strEncoding.Empty();
    m_aPos.assign(8, ElemPos{});
    m_iPosFree = 1;
    ResetPos();
}

bool DMarkup::IsWellFormed() const
{
    return m_iPosFree > 1 && m_aPos[0].iElemChild != 0;
}

unsigned int DMarkup::SetCodePage(unsigned int codePage)
{
    const unsigned int nPrevious = m_nCodePage;
    m_nCodePage = codePage;
    return nPrevious;
}

// ---------------------------------------------------------------------------
// Parsing

bool DMarkup::x_SetError(const char* text, int iPos)
{
    if (iPos > 0)
        m_strError.Format(text, x_GetTagName(iPos).constBuffer());
    else
        m_strError = text;
    return false;
}

int DMarkup::x_GetFreePos()
{
    const int nCount = static_cast<int>(m_aPos.size());
    if (m_iPosFree >= nCount)
        m_aPos.resize(nCount + nCount / 2 + 1);
    const int iPos = m_iPosFree++;
    m_aPos[iPos] = ElemPos{};
    return iPos;
}

bool DMarkup::x_ParseDoc()
{
    ResetPos();
    m_strError.Empty();
    const int nLength = m_strDoc.GetLength();
    m_aPos.assign(nLength / 32 + 8, ElemPos{});
    m_iPosFree = 1;
    const int iRoot = nLength > 0 ? x_ParseElem(0) : -1;
    if (iRoot > 0)
    {
        m_aPos[0] = ElemPos{};
        m_aPos[0].iElemChild = iRoot;
        return true;
    }
    if (nLength == 0)
        x_SetError("Element tag not found");
    else if (iRoot == 0)
        x_SetError("Unexpected end tag");
    m_aPos[0] = ElemPos{};
    m_iPosFree = 1;
    return false;
}

// Parses one element (with everything inside it) at the scan position of
// iPosParent, kept in the parent's end-tag-open field while it is parsed.
// Returns the new record, 0 when the parent's end tag comes first, or -1.
// The element stack is explicit so that deep documents cannot exhaust the
// call stack.
int DMarkup::x_ParseElem(int iPosParent)
{
    const int iPosFreeAtStart = m_iPosFree;
    std::vector<int> aOpen;      // elements whose children are being parsed
    std::vector<int> aLastChild; // last child linked under each open element
    int iParent = iPosParent;
    for (;;)
    {
        int iPos = 0;
        const enStartResult result = x_ParseStartTag(iParent, iPos);
        bool bFailed = result == enStartError;
        const bool bNewElem = result == enStartOpen || result == enStartEmpty;
        if (bNewElem && static_cast<int>(aOpen.size()) >= kMaxDepth)
        {
            x_SetError("Element nesting too deep at %s", iPos);
            bFailed = true;
        }
        else if (result == enStartOpen)
        {
            aOpen.push_back(iPos);
            aLastChild.push_back(0);
            iParent = iPos;
            continue;
        }
        if (result == enStartEndTag)
        {
            if (aOpen.empty())
                return 0;
            iPos = aOpen.back();
            bFailed = !x_ParseEndTag(iPos);
            aOpen.pop_back();
            aLastChild.pop_back();
        }
        if (bFailed)
        {
            m_iPosFree = iPosFreeAtStart;
            return -1;
        }
        if (aOpen.empty())
            return iPos;
        // Link the finished element under the innermost open one and continue
        // scanning after it.
        iParent = aOpen.back();
        ElemPos& parent = m_aPos[iParent];
        if (aLastChild.back() == 0)
            parent.iElemChild = iPos;
        else
            m_aPos[aLastChild.back()].iElemNext = iPos;
        aLastChild.back() = iPos;
        parent.nEndL = m_aPos[iPos].nEndR + 1;
    }
}

DMarkup::enStartResult DMarkup::x_ParseStartTag(int iPosParent, int& iPos)
{
    const char* szDoc = m_strDoc.constBuffer();
    const int nDocLen = m_strDoc.GetLength();
    int nScan = m_aPos[iPosParent].nEndL;
    for (;;)
    {
        const int nOpen = FindChar(szDoc, nScan, nDocLen, '<');
        if (nOpen < 0)
        {
            // Inside an element, running out of text means its end tag is
            // missing, which the element itself reports.
            if (iPosParent != 0)
                return enStartEndTag;
            x_SetError("Element tag not found");
            return enStartError;
        }
        m_aPos[iPosParent].nEndL = nOpen;
        TokenPos token = x_TokenAt(nOpen + 1);
        if (!x_FindToken(token))
        {
            x_SetError("Abrupt end within tag");
            return enStartError;
        }
        if (token.bIsString)
        {
            x_SetError("Tag starts with quote");
            return enStartError;
        }
        if (x_TokenIs(token, '!') || x_TokenIs(token, '?'))
        {
            const int nNodeEnd = x_ParseNode(token.nL);
            if (nNodeEnd < 0)
            {
                x_SetError("Invalid node");
                return enStartError;
            }
            nScan = nNodeEnd + 1;
            continue;
        }
        if (x_TokenIs(token, '/'))
            return enStartEndTag;
        if (IsSpecial(szDoc[token.nL]))
        {
            x_SetError("Invalid tag name");
            return enStartError;
        }

        iPos = x_GetFreePos();
        ElemPos elem{};
        elem.nStartL = nOpen;
        elem.iElemParent = iPosParent;
        // The start tag ends at the first ">" outside quoted values.
        while (x_FindToken(token) && !(x_TokenIs(token, '>')))
        {
        }
        if (!x_TokenIs(token, '>'))
        {
            x_SetError("End of tag not found");
            return enStartError;
        }
        elem.nStartR = token.nL;
        if (szDoc[token.nL - 1] == '/')
        {
            elem.nEndL = elem.nStartR - 1;
            elem.nEndR = elem.nStartR;
            m_aPos[iPos] = elem;
            return enStartEmpty;
        }
        elem.nEndL = elem.nStartR + 1;
        m_aPos[iPos] = elem;
        return enStartOpen;
    }
}

bool DMarkup::x_ParseEndTag(int iPos)
{
    const char* szDoc = m_strDoc.constBuffer();
    const int nOpen = FindChar(szDoc, m_aPos[iPos].nEndL, m_strDoc.GetLength(), '<');
    if (nOpen < 0)
        return x_SetError("End tag of %s element not found", iPos);
    TokenPos token = x_TokenAt(nOpen + 1);
    if (!x_FindToken(token) || !x_TokenIs(token, '/'))
        return x_SetError("Expecting end tag of element %s", iPos);
    if (!x_FindToken(token))
        return x_SetError("End tag not completed for element %s", iPos);
    // The end tag's name must be the start tag's name, byte for byte.
    TokenPos name = x_TokenAt(m_aPos[iPos].nStartL + 1);
    x_FindToken(name);
    const int nName = name.nR - name.nL + 1;
    if (token.bIsString || token.nR - token.nL + 1 != nName ||
        std::memcmp(szDoc + token.nL, szDoc + name.nL, nName) != 0)
        return x_SetError("End tag does not correspond to %s", iPos);
    while (x_FindToken(token))
    {
        if (x_TokenIs(token, '>'))
        {
            m_aPos[iPos].nEndL = nOpen;
            m_aPos[iPos].nEndR = token.nL;
            return true;
        }
    }
    return x_SetError("End tag not completed for element %s", iPos);
}

// Recognises the instruction, comment, CDATA section or document type whose
// "!" or "?" is at nOffset; returns the offset of its last character, or -1
// when it is not terminated.
int DMarkup::x_ParseNode(int nOffset)
{
    const char* szDoc = m_strDoc.constBuffer();
    const int nDocLen = m_strDoc.GetLength();
    if (szDoc[nOffset] == '?')
    {
        const int nEnd = FindIn(szDoc, nOffset + 1, nDocLen, "?>");
        if (nEnd < 0)
            return -1;
        x_ReadDeclaredEncoding(nOffset + 1, nEnd);
        return nEnd + 1;
    }
    if (FindIn(szDoc, nOffset, std::min(nOffset + 3, nDocLen), "!--") == nOffset)
    {
        const int nEnd = FindIn(szDoc, nOffset + 3, nDocLen, "-->");
        return nEnd < 0 ? -1 : nEnd + 2;
    }
    if (FindIn(szDoc, nOffset, std::min(nOffset + 8, nDocLen), "![CDATA[") == nOffset)
    {
        const int nEnd = FindIn(szDoc, nOffset + 8, nDocLen, "]]>");
        return nEnd < 0 ? -1 : nEnd + 2;
    }
    // Document type: ends at the first ">" outside square brackets.
    int nBrackets = 0;
    for (int n = nOffset + 1; n < nDocLen; ++n)
    {
        if (szDoc[n] == '[')
            ++nBrackets;
        else if (szDoc[n] == ']' && nBrackets > 0)
            --nBrackets;
        else if (szDoc[n] == '>' && nBrackets == 0)
            return n;
    }
    return -1;
}

void DMarkup::x_ReadDeclaredEncoding(int nFrom, int nTo)
{
    TokenPos token = x_TokenAt(nFrom, nTo);
    while (x_FindToken(token))
    {
        if (token.bIsString ||
            !EqualNoCase(token.szDoc + token.nL, token.nR - token.nL + 1, "encoding"))
            continue;
        if (x_FindToken(token) && x_TokenIs(token, '=') && x_FindToken(token))
            m_strEncoding = x_TokenText(token);
        return;
    }
}

// ---------------------------------------------------------------------------
// Scanning

DMarkup::TokenPos DMarkup::x_TokenAt(int nOffset, int nLimit) const
{
    TokenPos token{};
    token.szDoc = m_strDoc.constBuffer();
    token.nDocLen = nLimit < 0 ? m_strDoc.GetLength() : nLimit;
    token.nNext = nOffset;
    token.nL = nOffset;
    token.nR = nOffset - 1;
    return token;
}

bool DMarkup::x_FindToken(TokenPos& token)
{
    const char* szDoc = token.szDoc;
    int n = token.nNext;
    while (n < token.nDocLen && IsWhite(szDoc[n]))
        ++n;
    token.bIsString = false;
    if (n >= token.nDocLen)
    {
        token.nL = n;
        token.nR = n - 1;
        token.nNext = n;
        return false;
    }
    const char ch = szDoc[n];
    if (ch == '"' || ch == '\'')
    {
        token.bIsString = true;
        token.nL = n + 1;
        const int nQuote = FindChar(szDoc, n + 1, token.nDocLen, ch);
        token.nR = (nQuote < 0 ? token.nDocLen : nQuote) - 1;
        token.nNext = nQuote < 0 ? token.nDocLen : nQuote + 1;
        return true;
    }
    token.nL = n;
    if (IsSpecial(ch))
    {
        token.nR = n;
        token.nNext = n + 1;
        return true;
    }
    while (n < token.nDocLen && !IsWhite(szDoc[n]) && !IsSpecial(szDoc[n]))
        ++n;
    token.nR = n - 1;
    token.nNext = n;
    return true;
}

bool DMarkup::x_TokenIs(const TokenPos& token, char ch) const
{
    return !token.bIsString && token.nL == token.nR && token.nL < token.nDocLen &&
           token.szDoc[token.nL] == ch;
}

// A token matches a given name when it equals the name's first characters and
// the name ends there or goes on with a blank, "=", "/" or "[".
bool DMarkup::x_TokenMatch(const TokenPos& token, const char* name) const
{
    if (!name || !*name)
        return true;
    const int nLength = token.nR - token.nL + 1;
    if (nLength <= 0 || std::strncmp(token.szDoc + token.nL, name, nLength) != 0)
        return false;
    if (std::memchr(token.szDoc + token.nL, '\0', nLength))
        return false;
    const char next = name[nLength];
    return next == '\0' || next == ' ' || next == '=' || next == '/' || next == '[';
}

Lettra DMarkup::x_TokenText(const TokenPos& token) const
{
    const int nLength = token.nR - token.nL + 1;
    return nLength > 0 ? Lettra(token.szDoc + token.nL, nLength) : Lettra();
}

// ---------------------------------------------------------------------------
// Reading

bool DMarkup::x_IsLive(int iPos) const
{
    return iPos > 0 && iPos < m_iPosFree && m_aPos[iPos].iElemParent >= 0;
}

bool DMarkup::x_IsEmptyElem(int iPos) const
{
    return m_aPos[iPos].nStartR == m_aPos[iPos].nEndL + 1;
}

Lettra DMarkup::x_GetTagName(int iPos) const
{
    if (!x_IsLive(iPos))
        return Lettra();
    TokenPos token = x_TokenAt(m_aPos[iPos].nStartL + 1);
    x_FindToken(token);
    return x_TokenText(token);
}

Lettra DMarkup::GetTagName() const
{
    return x_GetTagName(m_iPos);
}

Lettra DMarkup::GetChildTagName() const
{
    return x_GetTagName(m_iPosChild);
}

Lettra DMarkup::GetParentTagName() const
{
    return x_GetTagName(m_iPosParent);
}

Lettra DMarkup::x_GetData(int iPos) const
{
    if (!x_IsLive(iPos) || m_aPos[iPos].iElemChild || x_IsEmptyElem(iPos))
        return Lettra();
    const ElemPos& elem = m_aPos[iPos];
    const char* szDoc = m_strDoc.constBuffer();
    int n = elem.nStartR + 1;
    while (n < elem.nEndL && IsWhite(szDoc[n]))
        ++n;
    if (FindIn(szDoc, n, elem.nEndL, "<![CDATA[") == n)
    {
        const int nEnd = FindIn(szDoc, n + 9, elem.nEndL, "]]>");
        if (nEnd >= 0)
            return x_TextFromDoc(m_strDoc.Mid(n + 9, nEnd - n - 9));
    }
    return x_TextFromDoc(x_Unescape(elem.nStartR + 1, elem.nEndL));
}

Lettra DMarkup::GetData() const
{
    return x_GetData(m_iPos);
}

Lettra DMarkup::GetChildData() const
{
    return x_GetData(m_iPosChild);
}

// Finds the attribute matching name (or, for a null name, attribute number
// index) in the start tag of iPos: a name token, "=" and a quoted value.
bool DMarkup::x_FindAttrib(int iPos, const char* name, int index, TokenPos* pName,
                           TokenPos* pValue) const
{
    const ElemPos& elem = m_aPos[iPos];
    TokenPos token = x_TokenAt(elem.nStartL + 1, elem.nStartR + 1);
    x_FindToken(token); // the tag name
    int nAttrib = 0;
    bool bHaveToken = x_FindToken(token);
    while (bHaveToken && !x_TokenIs(token, '/') && !x_TokenIs(token, '>'))
    {
        const TokenPos nameToken = token;
        const bool bName = !token.bIsString && !IsSpecial(token.szDoc[token.nL]);
        bHaveToken = x_FindToken(token);
        if (!bName || !bHaveToken || !x_TokenIs(token, '='))
            continue;
        bHaveToken = x_FindToken(token);
        if (!bHaveToken || !token.bIsString)
            continue;
        if (name ? x_TokenMatch(nameToken, name) : nAttrib == index)
        {
            if (pName)
                *pName = nameToken;
            if (pValue)
                *pValue = token;
            return true;
        }
        ++nAttrib;
        bHaveToken = x_FindToken(token);
    }
    return false;
}

Lettra DMarkup::x_GetAttrib(int iPos, const char* name) const
{
    TokenPos value{};
    if (!x_IsLive(iPos) || !x_FindAttrib(iPos, name ? name : "", 0, nullptr, &value))
        return Lettra();
    return x_TextFromDoc(x_Unescape(value.nL, value.nR + 1));
}

Lettra DMarkup::GetAttrib(const char* name) const
{
    return m_nNodeType == enNodeElement ? x_GetAttrib(m_iPos, name) : Lettra();
}

Lettra DMarkup::GetChildAttrib(const char* name) const
{
    return m_nNodeType == enNodeElement ? x_GetAttrib(m_iPosChild, name) : Lettra();
}

Lettra DMarkup::GetAttribName(int index) const
{
    if (!x_IsLive(m_iPos) || index < 0)
        return Lettra();
    TokenPos nameToken{};
    if (!x_FindAttrib(m_iPos, nullptr, index, &nameToken, nullptr))
        return Lettra();
    return x_TokenText(nameToken);
}

// The white space at nOffset goes with the element before it when an element
// or the end of the document follows; returns the offset after it then, and
// nOffset when text follows.
int DMarkup::x_SkipWhiteToTag(int nOffset) const
{
    const char* szDoc = m_strDoc.constBuffer();
    const int nDocLen = m_strDoc.GetLength();
    int n = nOffset;
    while (n < nDocLen && IsWhite(szDoc[n]))
        ++n;
    return n == nDocLen || szDoc[n] == '<' ? n : nOffset;
}

Lettra DMarkup::x_GetSubDoc(int iPos) const
{
    if (!x_IsLive(iPos))
        return Lettra();
    const ElemPos& elem = m_aPos[iPos];
    const int nEnd = x_SkipWhiteToTag(elem.nEndR + 1);
    return m_strDoc.Mid(elem.nStartL, nEnd - elem.nStartL);
}

Lettra DMarkup::GetSubDoc() const
{
    return x_GetSubDoc(m_iPos);
}

Lettra DMarkup::GetChildSubDoc() const
{
    return x_GetSubDoc(m_iPosChild);
}

Lettra DMarkup::GetDocOfElem() const
{
    if (!x_IsLive(m_iPos))
        return Lettra();
    const ElemPos& elem = m_aPos[m_iPos];
    return m_strDoc.Mid(elem.nStartL, elem.nEndR - elem.nStartL + 1);
}

bool DMarkup::GetOffsets(int& start, int& end) const
{
    int startClose = 0;
    int endOpen = 0;
    return GetOffsets(start, startClose, endOpen, end);
}

bool DMarkup::GetOffsets(int& startOpen, int& startClose, int& endOpen, int& endClose) const
{
    if (!x_IsLive(m_iPos))
    {
        startOpen = startClose = endOpen = endClose = 0;
        return false;
    }
    const ElemPos& elem = m_aPos[m_iPos];
    startOpen = elem.nStartL;
    startClose = elem.nStartR;
    endOpen = elem.nEndL;
    endClose = elem.nEndR;
    return true;
}

// ---------------------------------------------------------------------------
// Code page and entities

Lettra DMarkup::x_TextToDoc(const char* text) const
{
    Lettra strText(text);
    if (m_nCodePage != kNoConversion && !strText.IsEmpty())
        strText.ToCharacterSet(m_nCodePage);
    return strText;
}

Lettra DMarkup::x_TextFromDoc(Lettra text) const
{
    if (m_nCodePage != kNoConversion && !text.IsEmpty())
        text.FromCharacterSet(m_nCodePage);
    return text;
}

Lettra DMarkup::x_Escape(const char* text, bool bAttrib)
{
    if (!text || !*text)
        return Lettra();
    int nLength = 0;
    for (const char* p = text; *p; ++p)
    {
        int nAdd = 1;
        for (const Entity& entity : kEntities)
        {
            const bool bApplies = bAttrib || (entity.ch != '\'' && entity.ch != '"');
            if (*p == entity.ch && bApplies)
                nAdd = static_cast<int>(std::strlen(entity.text));
        }
        nLength += nAdd;
    }
    Lettra strOut;
    char* out = strOut.GetBuffer(nLength);
    for (const char* p = text; *p; ++p)
    {
        const char* replacement = nullptr;
        for (const Entity& entity : kEntities)
        {
            const bool bApplies = bAttrib || (entity.ch != '\'' && entity.ch != '"');
            if (*p == entity.ch && bApplies)
                replacement = entity.text;
        }
        if (replacement)
        {
            const size_t n = std::strlen(replacement);
            std::memcpy(out, replacement, n);
            out += n;
        }
        else
        {
            *out++ = *p;
        }
    }
    strOut.ReleaseBuffer(nLength);
    return strOut;
}

// The text of [nFrom, nTo) with the five predefined entities replaced by their
// characters; any other "&" stays as it is.
Lettra DMarkup::x_Unescape(int nFrom, int nTo) const
{
    if (nTo <= nFrom)
        return Lettra();
    const char* szDoc = m_strDoc.constBuffer();
    if (!std::memchr(szDoc + nFrom, '&', nTo - nFrom))
        return m_strDoc.Mid(nFrom, nTo - nFrom);
    Lettra strOut;
    char* out = strOut.GetBuffer(nTo - nFrom);
    int nOut = 0;
    for (int n = nFrom; n < nTo;)
    {
        const Entity* pFound = nullptr;
        if (szDoc[n] == '&')
        {
            for (const Entity& entity : kEntities)
            {
                const int nEntity = static_cast<int>(std::strlen(entity.text));
                if (n + nEntity <= nTo && std::memcmp(szDoc + n, entity.text, nEntity) == 0)
                    pFound = &entity;
            }
        }
        if (pFound)
        {
            out[nOut++] = pFound->ch;
            n += static_cast<int>(std::strlen(pFound->text));
        }
        else
        {
            out[nOut++] = szDoc[n++];
        }
    }
    strOut.ReleaseBuffer(nOut);
    return strOut;
}

// The MFC collections the suite names: arrays (CDWordArray, CUIntArray,
// CPtrArray, CStringArray), lists (CObList, CPtrList, CStringList) walked
// with POSITION values, and hash maps (CMapPtrToPtr, CMapWordToPtr). An
// index or position outside the collection throws CInvalidArgException.
#pragma once

#include "AfxException.h"
#include "AfxObject.h"
#include "AfxString.h"

#include <algorithm>
#include <utility>
#include <vector>

struct __POSITION
{
};
using POSITION = __POSITION*;

// Element storage of the array classes.
template <class TYPE, class ARG_TYPE> class AfxArray : public CObject
{
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    // nGrowBy is accepted for compatibility; storage grows geometrically.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        if (nNewSize < 0)
            AfxThrowInvalidArgException();
        m_data.resize(static_cast<size_t>(nNewSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    TYPE GetAt(INT_PTR nIndex) const { return m_data[CheckedIndex(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[CheckedIndex(nIndex)] = newElement; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_data[CheckedIndex(nIndex)]; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[CheckedIndex(nIndex)]; }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            AfxThrowInvalidArgException();
        if (nIndex >= GetSize())
            m_data.resize(static_cast<size_t>(nIndex) + 1);
        m_data[static_cast<size_t>(nIndex)] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_data.push_back(newElement);
        return GetUpperBound();
    }
    INT_PTR Append(const AfxArray& src)
    {
        const INT_PTR nOldSize = GetSize();
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return nOldSize;
    }
    void Copy(const AfxArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }

    // Inserting past the end first grows the array to the index.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0)
            AfxThrowInvalidArgException();
        if (nIndex > GetSize())
            m_data.resize(static_cast<size_t>(nIndex));
        m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), TYPE(newElement));
    }
    void InsertAt(INT_PTR nStartIndex, const AfxArray* pNewArray)
    {
        if (pNewArray == nullptr || nStartIndex < 0)
            AfxThrowInvalidArgException();
        const std::vector<TYPE> source = pNewArray->m_data;
        if (nStartIndex > GetSize())
            m_data.resize(static_cast<size_t>(nStartIndex));
        m_data.insert(m_data.begin() + nStartIndex, source.begin(), source.end());
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize())
            AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

protected:
    AfxArray() = default;

private:
    size_t CheckedIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetSize())
            AfxThrowInvalidArgException();
        return static_cast<size_t>(nIndex);
    }

    std::vector<TYPE> m_data;
};

class PLATFORMUI_API CDWordArray : public AfxArray<DWORD, DWORD>
{
    DECLARE_DYNAMIC(CDWordArray)
public:
    CDWordArray() = default;
};

class PLATFORMUI_API CUIntArray : public AfxArray<UINT, UINT>
{
    DECLARE_DYNAMIC(CUIntArray)
public:
    CUIntArray() = default;
};

class PLATFORMUI_API CPtrArray : public AfxArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
public:
    CPtrArray() = default;
};

class PLATFORMUI_API CStringArray : public AfxArray<CString, const CString&>
{
    DECLARE_DYNAMIC(CStringArray)
public:
    CStringArray() = default;
};

// A doubly linked list; a POSITION names one node and stays valid until
// that node is removed.
template <class TYPE, class ARG_TYPE> class AfxList : public CObject
{
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    ~AfxList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return Checked(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return Checked(m_pNodeHead)->data; }
    TYPE& GetTail() { return Checked(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return Checked(m_pNodeTail)->data; }

    TYPE RemoveHead()
    {
        CNode* pNode = Checked(m_pNodeHead);
        TYPE value = std::move(pNode->data);
        Unlink(pNode);
        return value;
    }
    TYPE RemoveTail()
    {
        CNode* pNode = Checked(m_pNodeTail);
        TYPE value = std::move(pNode->data);
        Unlink(pNode);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
    void AddHead(const AfxList* pNewList)
    {
        if (pNewList == nullptr)
            AfxThrowInvalidArgException();
        const std::vector<TYPE> values = pNewList->Values();
        for (auto it = values.rbegin(); it != values.rend(); ++it)
            AddHead(*it);
    }
    void AddTail(const AfxList* pNewList)
    {
        if (pNewList == nullptr)
            AfxThrowInvalidArgException();
        for (const TYPE& value : pNewList->Values())
            AddTail(value);
    }
    void RemoveAll()
    {
        while (m_pNodeHead != nullptr)
            Unlink(m_pNodeHead);
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* pNode = Checked(FromPosition(rPosition));
        rPosition = ToPosition(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* pNode = Checked(FromPosition(rPosition));
        rPosition = ToPosition(pNode->pNext);
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* pNode = Checked(FromPosition(rPosition));
        rPosition = ToPosition(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* pNode = Checked(FromPosition(rPosition));
        rPosition = ToPosition(pNode->pPrev);
        return pNode->data;
    }
    TYPE& GetAt(POSITION position) { return Checked(FromPosition(position))->data; }
    const TYPE& GetAt(POSITION position) const { return Checked(FromPosition(position))->data; }
    void SetAt(POSITION position, ARG_TYPE newElement)
    {
        Checked(FromPosition(position))->data = newElement;
    }
    void RemoveAt(POSITION position) { Unlink(Checked(FromPosition(position))); }

    // A NULL position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CNode* pNext = FromPosition(position);
        CNode* pPrev = pNext != nullptr ? pNext->pPrev : nullptr;
        if (pNext == nullptr)
            pNext = m_pNodeHead;
        return Link(pPrev, pNext, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CNode* pPrev = FromPosition(position);
        CNode* pNext = pPrev != nullptr ? pPrev->pNext : nullptr;
        if (pPrev == nullptr)
            pPrev = m_pNodeTail;
        return Link(pPrev, pNext, newElement);
    }

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* pNode = startAfter != nullptr ? FromPosition(startAfter)->pNext : m_pNodeHead;
        for (; pNode != nullptr; pNode = pNode->pNext)
        {
            if (pNode->data == searchValue)
                return ToPosition(pNode);
        }
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* pNode = m_pNodeHead;
        while (nIndex-- > 0)
            pNode = pNode->pNext;
        return ToPosition(pNode);
    }

    AfxList(const AfxList&) = delete;
    AfxList& operator=(const AfxList&) = delete;

protected:
    // The block size is accepted for compatibility; nodes come one by one.
    explicit AfxList(INT_PTR nBlockSize) { (void)nBlockSize; }

private:
    static POSITION ToPosition(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static CNode* FromPosition(POSITION position) { return reinterpret_cast<CNode*>(position); }
    static CNode* Checked(CNode* pNode)
    {
        if (pNode == nullptr)
            AfxThrowInvalidArgException();
        return pNode;
    }

    POSITION Link(CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
    {
        CNode* pNode = new CNode{pNext, pPrev, TYPE(newElement)};
        (pPrev != nullptr ? pPrev->pNext : m_pNodeHead) = pNode;
        (pNext != nullptr ? pNext->pPrev : m_pNodeTail) = pNode;
        ++m_nCount;
        return ToPosition(pNode);
    }
    void Unlink(CNode* pNode)
    {
        (pNode->pPrev != nullptr ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
        (pNode->pNext != nullptr ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
        --m_nCount;
        delete pNode;
    }
    std::vector<TYPE> Values() const
    {
        std::vector<TYPE> values;
        for (CNode* pNode = m_pNodeHead; pNode != nullptr; pNode = pNode->pNext)
            values.push_back(pNode->data);
        return values;
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
};

class PLATFORMUI_API CObList : public AfxList<CObject*, CObject*>
{
    DECLARE_DYNAMIC(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : AfxList(nBlockSize) {}
};

class PLATFORMUI_API CPtrList : public AfxList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : AfxList(nBlockSize) {}
};

class PLATFORMUI_API CStringList : public AfxList<CString, const CString&>
{
    DECLARE_DYNAMIC(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : AfxList(nBlockSize) {}
};

// A chained hash table; GetNextAssoc walks it bucket by bucket, so the
// order depends on the keys and the table size only.
template <class KEY, class VALUE> class AfxMap : public CObject
{
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    ~AfxMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    // Re-hashes the entries already present.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE)
    {
        (void)bAllocNow;
        if (nHashSize == 0)
            AfxThrowInvalidArgException();
        std::vector<CAssoc*> entries;
        for (CAssoc* pHead : m_buckets)
            for (CAssoc* pAssoc = pHead; pAssoc != nullptr; pAssoc = pAssoc->pNext)
                entries.push_back(pAssoc);
        m_nHashTableSize = nHashSize;
        m_buckets.assign(nHashSize, nullptr);
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        {
            CAssoc* pAssoc = *it;
            pAssoc->nHashValue = HashKey(pAssoc->key) % nHashSize;
            pAssoc->pNext = m_buckets[pAssoc->nHashValue];
            m_buckets[pAssoc->nHashValue] = pAssoc;
        }
    }

    BOOL Lookup(KEY key, VALUE& rValue) const
    {
        const CAssoc* pAssoc = Find(key);
        if (pAssoc == nullptr)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }
    VALUE& operator[](KEY key)
    {
        if (CAssoc* pAssoc = Find(key))
            return pAssoc->value;
        if (m_buckets.empty())
            m_buckets.assign(m_nHashTableSize, nullptr);
        const UINT nHash = HashKey(key) % m_nHashTableSize;
        m_buckets[nHash] = new CAssoc{m_buckets[nHash], nHash, key, VALUE()};
        ++m_nCount;
        return m_buckets[nHash]->value;
    }
    void SetAt(KEY key, VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        for (CAssoc** ppAssoc = &m_buckets[HashKey(key) % m_nHashTableSize]; *ppAssoc != nullptr;
             ppAssoc = &(*ppAssoc)->pNext)
        {
            if ((*ppAssoc)->key == key)
            {
                CAssoc* pRemoved = *ppAssoc;
                *ppAssoc = pRemoved->pNext;
                delete pRemoved;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (CAssoc*& pHead : m_buckets)
        {
            while (pHead != nullptr)
                delete std::exchange(pHead, pHead->pNext);
        }
        m_buckets.clear();
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return ToPosition(FirstFrom(0)); }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
        if (pAssoc == nullptr)
            AfxThrowInvalidArgException();
        rKey = pAssoc->key;
        rValue = pAssoc->value;
        rNextPosition = ToPosition(pAssoc->pNext != nullptr ? pAssoc->pNext
                                                            : FirstFrom(pAssoc->nHashValue + 1));
    }

    AfxMap(const AfxMap&) = delete;
    AfxMap& operator=(const AfxMap&) = delete;

protected:
    explicit AfxMap(INT_PTR nBlockSize) { (void)nBlockSize; }
    virtual UINT HashKey(KEY key) const = 0;

private:
    static POSITION ToPosition(CAssoc* pAssoc) { return reinterpret_cast<POSITION>(pAssoc); }

    CAssoc* Find(KEY key) const
    {
        if (m_buckets.empty())
            return nullptr;
        for (CAssoc* pAssoc = m_buckets[HashKey(key) % m_nHashTableSize]; pAssoc != nullptr;
             pAssoc = pAssoc->pNext)
        {
            if (pAssoc->key == key)
                return pAssoc;
        }
        return nullptr;
    }
    CAssoc* FirstFrom(UINT nBucket) const
    {
        for (; nBucket < m_buckets.size(); ++nBucket)
        {
            if (m_buckets[nBucket] != nullptr)
                return m_buckets[nBucket];
        }
        return nullptr;
    }

    std::vector<CAssoc*> m_buckets;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
};

class PLATFORMUI_API CMapPtrToPtr : public AfxMap<void*, void*>
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : AfxMap(nBlockSize) {}
    ~CMapPtrToPtr() override;

protected:
    UINT HashKey(void* key) const override;
};

class PLATFORMUI_API CMapWordToPtr : public AfxMap<WORD, void*>
{
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : AfxMap(nBlockSize) {}
    ~CMapWordToPtr() override;

protected:
    UINT HashKey(WORD key) const override;
};

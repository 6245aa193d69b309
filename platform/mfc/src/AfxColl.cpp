#include "AfxColl.h"

IMPLEMENT_DYNAMIC(CDWordArray, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)
IMPLEMENT_DYNAMIC(CObList, CObject)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CStringList, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)

CMapPtrToPtr::~CMapPtrToPtr() = default;

UINT CMapPtrToPtr::HashKey(void* key) const
{
    // Heap blocks are aligned: the low bits carry no information.
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
}

CMapWordToPtr::~CMapWordToPtr() = default;

UINT CMapWordToPtr::HashKey(WORD key) const
{
    return key;
}

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxObject.h"

#include <cstring>
#include <new>
#include <vector>

namespace
{
// Serialisable classes by registration order; FromName searches it.
std::vector<CRuntimeClass*>& SerialClasses()
{
    static std::vector<CRuntimeClass*> classes;
    return classes;
}

// Longest class name an archive may name; longer records are damage.
constexpr WORD kMaxClassNameLength = 64;
} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF,
                                             nullptr, nullptr};

CRuntimeClass* CObject::GetThisClass()
{
    return const_cast<CRuntimeClass*>(&CObject::classCObject);
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return CObject::GetThisClass();
}

CObject::~CObject() = default;

void CObject::Serialize(CArchive&) {}

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext&) const {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

CObject* CRuntimeClass::CreateObject() const
{
    if (m_pfnCreateObject == nullptr)
        return nullptr;
    try
    {
        return m_pfnCreateObject();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
    }
    return nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    if (pBaseClass == nullptr)
        return FALSE;
    for (const CRuntimeClass* pClass = this; pClass != nullptr;
         pClass = pClass->m_pfnGetBaseClass != nullptr ? pClass->m_pfnGetBaseClass() : nullptr)
    {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (lpszClassName == nullptr)
        return nullptr;
    for (CRuntimeClass* pClass : SerialClasses())
    {
        if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0)
            return pClass;
    }
    return nullptr;
}

void CRuntimeClass::Store(CArchive& ar) const
{
    const WORD nLength = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << nLength;
    ar.Write(m_lpszClassName, nLength);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema = 0;
    WORD nLength = 0;
    ar >> wSchema >> nLength;
    if (nLength == 0 || nLength > kMaxClassNameLength)
        return nullptr;
    char szClassName[kMaxClassNameLength + 1] = {};
    if (ar.Read(szClassName, nLength) != nLength)
        return nullptr;
    if (pwSchemaNum != nullptr)
        *pwSchemaNum = wSchema;
    return FromName(szClassName);
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    SerialClasses().push_back(pNewClass);
}

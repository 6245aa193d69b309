// CObject and its run-time class records: class names, the base-class chain,
// dynamic creation and the serialisation schema of each class.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

class CObject;
class CArchive;

// Diagnostics sink of CObject::Dump; the suite's classes only pass it on.
class PLATFORMUI_API CDumpContext
{
};

struct PLATFORMUI_API CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF for classes that cannot be serialised
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* (*m_pfnGetBaseClass)();

    // NULL for a class without dynamic creation or when construction fails.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Serialisable classes only (IMPLEMENT_SERIAL registers them by name).
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    void Store(CArchive& ar) const;
    static CRuntimeClass* Load(CArchive& ar, UINT* pwSchemaNum);
};

class PLATFORMUI_API CObject
{
public:
    static const CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();

    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() = default;
};

// Registers a serialisable class so that archives can create it by name.
struct PLATFORMUI_API AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

// The object as a T when it is one (or derives from one), else null.
template <class T> T* AfxDynamicDownCast(CObject* pObject)
{
    return pObject != nullptr && pObject->IsKindOf(RUNTIME_CLASS(T)) ? static_cast<T*>(pObject)
                                                                     : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) AfxDynamicDownCast<class_name>(object)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    static CRuntimeClass* GetThisClass();                                                          \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                                 \
    DECLARE_DYNCREATE(class_name)                                                                  \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                       \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, static_cast<int>(sizeof(class_name)), wSchema, pfnNew,                        \
        &base_class_name::GetThisClass};                                                           \
    CRuntimeClass* class_name::GetThisClass()                                                      \
    {                                                                                              \
        return const_cast<CRuntimeClass*>(&class_name::class##class_name);                         \
    }                                                                                              \
    CRuntimeClass* class_name::GetRuntimeClass() const                                             \
    {                                                                                              \
        return class_name::GetThisClass();                                                         \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject()                                                            \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                     \
    CObject* class_name::CreateObject()                                                            \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)         \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));                      \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                                           \
    {                                                                                              \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                  \
        return ar;                                                                                 \
    }

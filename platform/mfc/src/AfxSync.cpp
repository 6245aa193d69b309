#include "AfxSync.h"

#include <chrono>
#include <thread>

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)

CSyncObject::~CSyncObject() = default;

CMutex::CMutex(BOOL bInitiallyOwn)
{
    if (bInitiallyOwn)
        Lock();
}

CMutex::~CMutex()
{
    // A mutex destroyed while held is released with it.
    while (Unlock())
    {
    }
}

BOOL CMutex::Lock(DWORD dwTimeout)
{
    if (dwTimeout == INFINITE)
        m_mutex.lock();
    else if (!m_mutex.try_lock_for(std::chrono::milliseconds(dwTimeout)))
        return FALSE;
    std::lock_guard<std::mutex> guard(m_ownerGuard);
    m_owner = std::this_thread::get_id();
    ++m_nRecursion;
    return TRUE;
}

BOOL CMutex::Unlock()
{
    {
        std::lock_guard<std::mutex> guard(m_ownerGuard);
        if (m_nRecursion == 0 || m_owner != std::this_thread::get_id())
            return FALSE;
        if (--m_nRecursion == 0)
            m_owner = std::thread::id();
    }
    m_mutex.unlock();
    return TRUE;
}

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock) : m_pObject(pObject)
{
    if (bInitialLock)
        Lock();
}

CSingleLock::~CSingleLock()
{
    Unlock();
}

BOOL CSingleLock::Lock(DWORD dwTimeout)
{
    if (m_pObject == nullptr)
        return FALSE;
    if (!m_bAcquired)
        m_bAcquired = m_pObject->Lock(dwTimeout);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (m_pObject != nullptr && m_bAcquired)
        m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}

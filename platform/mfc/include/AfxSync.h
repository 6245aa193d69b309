// CMutex and CSingleLock: an in-process lock that, like a Win32 mutex, the
// owning thread may take again (each Lock needs its Unlock).
#pragma once

#include "AfxObject.h"

#include <mutex>
#include <thread>

#ifndef INFINITE
#define INFINITE 0xFFFFFFFFUL
#endif

class PLATFORMUI_API CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)
public:
    ~CSyncObject() override;
    // FALSE when the timeout (milliseconds, INFINITE to wait for ever) ran out.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE) = 0;
    virtual BOOL Unlock() = 0;

protected:
    CSyncObject() = default;
};

class PLATFORMUI_API CMutex : public CSyncObject
{
    DECLARE_DYNAMIC(CMutex)
public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE);
    ~CMutex() override;

    BOOL Lock(DWORD dwTimeout = INFINITE) override;
    // FALSE when the calling thread does not hold the mutex.
    BOOL Unlock() override;

private:
    std::recursive_timed_mutex m_mutex;
    std::mutex m_ownerGuard;
    std::thread::id m_owner;
    int m_nRecursion = 0;
};

class PLATFORMUI_API CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeout = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};

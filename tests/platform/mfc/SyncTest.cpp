#include "AfxSync.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
BOOL LockFromOtherThread(CMutex& mutex, DWORD dwTimeout)
{
    BOOL bLocked = FALSE;
    std::thread other(
        [&]
        {
            bLocked = mutex.Lock(dwTimeout);
            if (bLocked)
                mutex.Unlock();
        });
    other.join();
    return bLocked;
}

TEST(CMutexTest, OwnerMayLockAgainOthersWait)
{
    CMutex mutex;
    ASSERT_TRUE(mutex.Lock());
    ASSERT_TRUE(mutex.Lock(0));
    EXPECT_FALSE(LockFromOtherThread(mutex, 10));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(LockFromOtherThread(mutex, 0));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_FALSE(mutex.Unlock());
    EXPECT_TRUE(LockFromOtherThread(mutex, 0));
}

TEST(CMutexTest, InitiallyOwnedMutexIsHeld)
{
    CMutex mutex(TRUE);
    EXPECT_FALSE(LockFromOtherThread(mutex, 0));
    EXPECT_TRUE(mutex.Unlock());
    EXPECT_TRUE(LockFromOtherThread(mutex, 0));
}

TEST(CMutexTest, SingleLockReleasesAtScopeEnd)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_TRUE(lock.Lock()); // already held: no second lock taken
        EXPECT_FALSE(LockFromOtherThread(mutex, 0));
    }
    EXPECT_TRUE(LockFromOtherThread(mutex, 0));

    CSingleLock lock(&mutex);
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(lock.Lock());
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(LockFromOtherThread(mutex, 0));
    CSingleLock empty(nullptr, TRUE);
    EXPECT_FALSE(empty.IsLocked());
}
} // namespace

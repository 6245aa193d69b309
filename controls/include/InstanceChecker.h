// Lets a program find out whether another instance of itself runs and bring
// that instance's main window to the front. The first instance publishes its
// main window in a small named shared block, "CInstanceChecker_MMF_"
// followed by the application name, that lives as long as that instance
// does (a crash included: a block nobody alive holds counts as absent).
#pragma once

#include "AfxObject.h"
#include "AfxSync.h"
#include "ZentiqExport.h"

class ZENTIQ_API CInstanceChecker : public CObject
{
    DECLARE_DYNAMIC(CInstanceChecker)

public:
    CInstanceChecker();
    ~CInstanceChecker() override;
    CInstanceChecker(const CInstanceChecker&) = delete;
    CInstanceChecker& operator=(const CInstanceChecker&) = delete;

    // Call once the main window exists. TRUE when another instance holds
    // the block; otherwise this process becomes the first instance, keeps
    // the block for the rest of its life and publishes its main window (0
    // when it has none yet).
    BOOL PreviousInstanceRunning();
    // After PreviousInstanceRunning returned TRUE: restores the other
    // instance's main window when minimised and brings its last active
    // popup to the foreground. Does nothing otherwise.
    void ActivatePreviousInstance();

protected:
    // The block of a previous instance, while opened by this object.
    HANDLE m_hPrevInstance = nullptr;
    // Orders the threads of this process that read or write the block.
    CMutex m_instanceDataMutex;
};

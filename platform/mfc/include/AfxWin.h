// The MFC window classes in one include, with the windowless ones.
#pragma once

#include "AfxCmdTarget.h"
#include "AfxCore.h"
#include "AfxFrame.h"
#include "AfxModuleState.h"
#include "AfxMsgMap.h"
#include "AfxWinApp.h"
#include "AfxWinDC.h"
#include "AfxWnd.h"

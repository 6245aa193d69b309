// The MFC window classes in one include, with the windowless ones.
#pragma once

#include "AfxBars.h"
#include "AfxCmdTarget.h"
#include "AfxControls.h"
#include "AfxCore.h"
#include "AfxDialog.h"
#include "AfxDocument.h"
#include "AfxFrame.h"
#include "AfxImageList.h"
#include "AfxMenu.h"
#include "AfxModuleState.h"
#include "AfxMsgMap.h"
#include "AfxProgressCtrl.h"
#include "AfxToolTipCtrl.h"
#include "AfxWinApp.h"
#include "AfxWinDC.h"
#include "AfxWnd.h"

// The windowing layer in one include.
#pragma once

#include "WinClipboard.h"
#include "WinControls.h"
#include "WinCursor.h"
#include "WinDialog.h"
#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinImageList.h"
#include "WinInput.h"
#include "WinMenu.h"
#include "WinMessageQueue.h"
#include "WinMessages.h"
#include "WinPaint.h"
#include "WinScrollBar.h"
#include "WinSysMetrics.h"
#include "WinUserDefs.h"
#include "WinWindow.h"

// The date picker common control "SysDateTimePick32": a date shown as
// year, month and day fields (yyyy-MM-dd) that the keys and, with
// DTS_UPDOWN, an up-down pair change field by field; with DTS_SHOWNONE a
// check box before the date stands for "no date". Dates keep to the range
// set, compared by day. Changes the user makes reach the parent as
// WM_NOTIFY DTN_DATETIMECHANGE; the drop-down month calendar is not offered.
#pragma once

#include "WinCommonControls.h"
#include "WinMessages.h"

#define DATETIMEPICK_CLASSA "SysDateTimePick32"

#define DTS_UPDOWN 0x0001
#define DTS_SHOWNONE 0x0002
#define DTS_SHORTDATEFORMAT 0x0000
#define DTS_LONGDATEFORMAT 0x0004

#define DTM_FIRST 0x1000
#define DTM_GETSYSTEMTIME (DTM_FIRST + 1)
#define DTM_SETSYSTEMTIME (DTM_FIRST + 2)
#define DTM_GETRANGE (DTM_FIRST + 3)
#define DTM_SETRANGE (DTM_FIRST + 4)

#define GDT_ERROR (-1)
#define GDT_VALID 0
#define GDT_NONE 1

#define GDTR_MIN 0x0001
#define GDTR_MAX 0x0002

#define DTN_FIRST (0U - 740U)
#define DTN_DATETIMECHANGE (DTN_FIRST - 19)

typedef struct tagNMDATETIMECHANGE
{
    NMHDR nmhdr;
    DWORD dwFlags; // GDT_VALID or GDT_NONE
    SYSTEMTIME st; // the date when dwFlags is GDT_VALID
} NMDATETIMECHANGE, *LPNMDATETIMECHANGE;

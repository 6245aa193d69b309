// The window that CreateWindowExA is making next belongs to this CWnd: it
// is attached before its first message. Inside PlatformUI only.
#pragma once

class CWnd;

void AfxHookWindowCreate(CWnd* pWnd);
void AfxUnhookWindowCreate();

// The DCs of a window: the client area (CClientDC), the whole window
// (CWindowDC) and the update region inside WM_PAINT (CPaintDC). Each
// releases its DC when it goes out of scope.
#pragma once

#include "AfxDC.h"
#include "PlatformUIExport.h"
#include "WinUser.h"

class CWnd;

class PLATFORMUI_API CClientDC : public CDC
{
public:
    // A null window gives the screen.
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class PLATFORMUI_API CWindowDC : public CDC
{
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};

class PLATFORMUI_API CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

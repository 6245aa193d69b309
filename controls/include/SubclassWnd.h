// Lets plain objects watch and answer the messages of a window. The first
// hook of a window replaces its window procedure; later hooks of the same
// window chain in front of it, the newest seeing every message first and
// passing it on (WindowProc of the base, or Default) to the next, the
// oldest to the original procedure. A window's destruction unhooks all of
// its hooks before the original procedure sees WM_NCDESTROY, and a hook
// object destroyed while still hooked unhooks itself.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

class ZENTIQ_API CSubclassWnd : public CObject
{
    DECLARE_DYNAMIC(CSubclassWnd)

public:
    CSubclassWnd() = default;
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Hooks this object onto the window; null unhooks it. Always TRUE.
    BOOL HookWindow(CWnd* pWnd);
    BOOL IsHooked() const { return m_hWndHooked != nullptr; }

    // Passes the message on to the next hook or the original procedure.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);

protected:
    // Passes the message being handled on.
    LRESULT Default();

    CWnd* m_pWndHooked = nullptr;
    WNDPROC m_pOldWndProc = nullptr;
    CSubclassWnd* m_pNext = nullptr;

private:
    void Hook(HWND hWnd);
    void Unhook();
    static LRESULT HookWndProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT Dispatch(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND m_hWndHooked = nullptr; // the handle, which outlives a temporary CWnd
};
